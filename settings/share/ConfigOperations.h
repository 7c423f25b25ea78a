#pragma once

#include <memory>
#include <string>

#include "Config.h"

// Whole-configuration operations; each gives a new configuration.
namespace settings_impl {

// Every entry of both; an entry of newer replaces one of the same key.
std::unique_ptr<Config> mergeConfigs(const Config& older, const Config& newer);

// The same keys, each without value in both or with the same type and
// payload.
bool configsEqual(const Config& a, const Config& b);

// A copy without key; raises settings::NoSuchKeyError when key is absent.
std::unique_ptr<Config> withoutKey(const Config& config, const std::string& key);

} // namespace settings_impl
