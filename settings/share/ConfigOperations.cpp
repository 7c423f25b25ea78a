#include "ConfigOperations.h"

#include "SettingsException.h"

namespace settings_impl {

std::unique_ptr<Config> mergeConfigs(const Config& older, const Config& newer) {
    auto result = std::make_unique<Config>(older);
    for (const auto& entry : newer.entries()) result->set(entry.first, entry.second);
    return result;
}

bool configsEqual(const Config& a, const Config& b) {
    if (a.entries().size() != b.entries().size()) return false;
    auto itA = a.entries().begin();
    auto itB = b.entries().begin();
    for (; itA != a.entries().end(); ++itA, ++itB) {
        if (itA->first != itB->first) return false;
        const auto& va = itA->second;
        const auto& vb = itB->second;
        if (va.has_value() != vb.has_value()) return false;
        if (va && !va->sameAs(*vb)) return false;
    }
    return true;
}

std::unique_ptr<Config> withoutKey(const Config& config, const std::string& key) {
    if (!config.contains(key)) JP_THROW(settings::NoSuchKeyError());
    auto result = std::make_unique<Config>();
    for (const auto& entry : config.entries()) {
        if (entry.first != key) result->set(entry.first, entry.second);
    }
    return result;
}

} // namespace settings_impl
