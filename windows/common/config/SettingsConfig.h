#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SettingsApi.h"

// One configuration handle of the settings library, loaded through a
// validator and key mapper that the caller owns and may share. Loads and
// writes answer the library's status; queries raise settings::Exception
// with it.
class SettingsConfig {
public:
    // Raises settings::Exception 200 when the library cannot create it.
    SettingsConfig(const settings_impl::ConfigValidator* validator,
                   const settings_impl::IKeyMapper* keyMapper);

    // This load and every later one accept a key written without a value.
    void allowKeysWithoutValue() { keysWithoutValue_ = true; }
    bool keysWithoutValueAllowed() const { return keysWithoutValue_; }

    // Names the source of the loads that follow ("defaults", a file...).
    void setLayer(const std::string& layer) { layer_ = layer; }
    // The layer of the load that last set key; empty when none set it.
    std::string layerOf(const std::string& key) const;

    // A failed load leaves the configuration as it was.
    int loadString(const std::string& text);
    int loadFile(const std::string& path);
    // The 1-based line of the last load's parse error; 0 when it had none.
    unsigned errorLine() const { return errorLine_; }

    // Present, with or without a value.
    bool has(const std::string& key) const;
    bool hasValue(const std::string& key) const;
    // The value as written.
    std::string text(const std::string& key) const;
    int integer(const std::string& key) const;
    // 303 when the key is absent.
    int remove(const std::string& key);
    // Every key, in the library's order.
    std::vector<std::string> keys() const;

    bool empty() const;
    bool equals(const SettingsConfig& other) const;
    int save(const std::string& path) const;
    // The machine-wide runtime settings file.
    std::string runtimeFilePath() const;

private:
    typedef std::unique_ptr<settings_impl::Context, void (*)(settings_impl::Context*)> Handle;

    // The status of a text read: 0, 301 (no value) or 303 (absent).
    int textStatus(const std::string& key, const char** text) const;
    // Parses into a configuration of its own, then merges it in, so the keys
    // of this load are known.
    int load(const std::function<int(settings_impl::Context*)>& parse);
    static std::vector<std::string> keysOf(const settings_api& api, settings_impl::Context* config);

    const settings_api& api_;
    const settings_impl::ConfigValidator* validator_;
    const settings_impl::IKeyMapper* keyMapper_;
    Handle handle_;
    bool keysWithoutValue_ = false;
    unsigned errorLine_ = 0;
    std::string layer_;
    std::map<std::string, std::string> layers_;
};
