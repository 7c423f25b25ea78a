#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ConfigValidator.h"
#include "ValueValidators.h"

namespace settings_impl {

// Collects per-key registrations. A fixed-value list replaces the key's
// type and folder check, a folder check replaces its type and fixed
// values, a type replaces its fixed values; left with a type and a folder
// check, the folder check wins.
class ConfigValidatorBuilder {
public:
    void addType(const std::string& key, ConfigValue::Type type);
    void addDirname(const std::string& key, bool acceptAnything);
    // Entries go in array order after those registered earlier.
    void addFixedValues(const std::string& key,
                        const std::vector<FixedValueValidator::Entry>& entries);
    void setAllowUnlistedKeys(bool allow) { allowUnlistedKeys_ = allow; }

    std::unique_ptr<ConfigValidator> build() const;

private:
    struct Registration {
        std::optional<ConfigValue::Type> type;
        std::optional<bool> dirnameAcceptsAnything;
        std::vector<FixedValueValidator::Entry> fixedValues;
    };

    std::map<std::string, Registration> keys_;
    bool allowUnlistedKeys_ = false;
};

} // namespace settings_impl
