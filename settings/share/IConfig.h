#pragma once

#include <string>
#include <vector>

namespace settings_impl {

// Read access to a parsed configuration. A missing key raises
// settings::NoSuchKeyError; reading a key stored without a value raises
// settings::NoValueError.
class IConfig {
public:
    virtual ~IConfig() = default;
    virtual int getType(const std::string& key) const = 0;
    virtual bool hasValue(const std::string& key) const = 0;
    // The value text as written; valid while the configuration lives.
    virtual const std::string& getString(const std::string& key) const = 0;
    virtual int getInt(const std::string& key) const = 0;
    virtual double getReal(const std::string& key) const = 0;
    virtual bool getBool(const std::string& key) const = 0;
    virtual std::string copyText(const std::string& key) const = 0;
    // Every key in byte-wise order.
    virtual std::vector<std::string> keys() const = 0;
};

} // namespace settings_impl
