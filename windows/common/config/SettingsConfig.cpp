#include "SettingsConfig.h"

#include "SettingsException.h"

namespace {

void check(int status) {
    if (status != settings::STATUS_OK) SETTINGS_THROW(status);
}

} // namespace

SettingsConfig::SettingsConfig(const settings_impl::ConfigValidator* validator,
                               const settings_impl::IKeyMapper* keyMapper)
    : api_(settingsApi()), validator_(validator), keyMapper_(keyMapper),
      handle_(api_.createConfig(), api_.destroyConfig) {
    if (!handle_) SETTINGS_THROW(settings::STATUS_INTERNAL_ERROR);
}

int SettingsConfig::loadString(const std::string& text) {
    return load([&](settings_impl::Context* config) {
        return api_.loadString(config, text.c_str(), validator_, keyMapper_, true,
                               keysWithoutValue_);
    });
}

int SettingsConfig::loadFile(const std::string& path) {
    return load([&](settings_impl::Context* config) {
        return api_.loadFile(config, path.c_str(), validator_, keyMapper_, true,
                             keysWithoutValue_);
    });
}

int SettingsConfig::load(const std::function<int(settings_impl::Context*)>& parse) {
    const Handle parsed(api_.createConfig(), api_.destroyConfig);
    if (!parsed) return settings::STATUS_INTERNAL_ERROR;
    const int status = parse(parsed.get());
    const unsigned* first = nullptr;
    size_t count = 0;
    check(api_.getErrorLines(parsed.get(), &first, &count));
    errorLine_ = count == 0 ? 0 : *first + 1;
    if (status != settings::STATUS_OK) return status;
    const std::vector<std::string> loaded = keysOf(api_, parsed.get());
    const int merged = api_.merge(handle_.get(), parsed.get());
    if (merged != settings::STATUS_OK) return merged;
    for (const std::string& key : loaded) layers_[key] = layer_;
    return settings::STATUS_OK;
}

std::string SettingsConfig::layerOf(const std::string& key) const {
    const auto found = layers_.find(key);
    return found == layers_.end() ? std::string() : found->second;
}

int SettingsConfig::textStatus(const std::string& key, const char** text) const {
    const int status = api_.getString(handle_.get(), key.c_str(), text);
    if (status != settings::STATUS_OK && status != settings::STATUS_NO_VALUE &&
        status != settings::STATUS_NO_SUCH_KEY) {
        SETTINGS_THROW(status);
    }
    return status;
}

bool SettingsConfig::has(const std::string& key) const {
    const char* text = nullptr;
    return textStatus(key, &text) != settings::STATUS_NO_SUCH_KEY;
}

bool SettingsConfig::hasValue(const std::string& key) const {
    const char* text = nullptr;
    return textStatus(key, &text) == settings::STATUS_OK;
}

std::string SettingsConfig::text(const std::string& key) const {
    const char* text = nullptr;
    check(api_.getString(handle_.get(), key.c_str(), &text));
    return text;
}

int SettingsConfig::integer(const std::string& key) const {
    int value = 0;
    check(api_.getInt(handle_.get(), key.c_str(), &value));
    return value;
}

int SettingsConfig::remove(const std::string& key) {
    const int status = api_.removeKey(handle_.get(), key.c_str());
    if (status == settings::STATUS_OK) layers_.erase(key);
    return status;
}

std::vector<std::string> SettingsConfig::keys() const {
    return keysOf(api_, handle_.get());
}

std::vector<std::string> SettingsConfig::keysOf(const settings_api& api,
                                                settings_impl::Context* config) {
    std::vector<std::string> result;
    check(api.forEach(
        config,
        [](settings_impl::Context*, size_t, size_t, const char* key, void* user) {
            static_cast<std::vector<std::string>*>(user)->push_back(key);
        },
        &result));
    return result;
}

bool SettingsConfig::empty() const {
    bool result = false;
    check(api_.isEmpty(handle_.get(), &result));
    return result;
}

bool SettingsConfig::equals(const SettingsConfig& other) const {
    bool result = false;
    check(api_.equals(handle_.get(), other.handle_.get(), &result));
    return result;
}

int SettingsConfig::save(const std::string& path) const {
    return api_.saveFile(handle_.get(), path.c_str());
}

std::string SettingsConfig::runtimeFilePath() const {
    const char* path = nullptr;
    check(api_.getDefaultPath(handle_.get(), &path));
    return path;
}
