#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ConfigValue.h"
#include "IConfig.h"

namespace settings_impl {

// Keys in byte-wise order, each with a value or, for a key written alone,
// without one.
class Config : public IConfig {
public:
    typedef std::map<std::string, std::optional<ConfigValue>> Entries;

    int getType(const std::string& key) const override;
    bool hasValue(const std::string& key) const override;
    const std::string& getString(const std::string& key) const override;
    // Integer values give their number, raw text is converted; any other
    // type raises settings::NoValueError.
    int getInt(const std::string& key) const override;
    double getReal(const std::string& key) const override;
    bool getBool(const std::string& key) const override;
    std::string copyText(const std::string& key) const override;
    std::vector<std::string> keys() const override;

    // Stores or replaces one entry.
    void set(const std::string& key, const std::optional<ConfigValue>& value);
    const Entries& entries() const { return entries_; }
    bool contains(const std::string& key) const { return entries_.count(key) != 0; }

private:
    const std::optional<ConfigValue>& entry(const std::string& key) const;
    const ConfigValue& value(const std::string& key) const;

    Entries entries_;
};

} // namespace settings_impl
