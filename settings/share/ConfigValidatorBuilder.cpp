#include "ConfigValidatorBuilder.h"

namespace settings_impl {

void ConfigValidatorBuilder::addType(const std::string& key, ConfigValue::Type type) {
    Registration& r = keys_[key];
    r.type = type;
    r.fixedValues.clear();
}

void ConfigValidatorBuilder::addDirname(const std::string& key, bool acceptAnything) {
    Registration& r = keys_[key];
    r.dirnameAcceptsAnything = acceptAnything;
    r.type.reset();
    r.fixedValues.clear();
}

void ConfigValidatorBuilder::addFixedValues(
    const std::string& key, const std::vector<FixedValueValidator::Entry>& entries) {
    Registration& r = keys_[key];
    r.fixedValues.insert(r.fixedValues.end(), entries.begin(), entries.end());
    r.type.reset();
    r.dirnameAcceptsAnything.reset();
}

std::unique_ptr<ConfigValidator> ConfigValidatorBuilder::build() const {
    ConfigValidator::Validators validators;
    for (const auto& k : keys_) {
        const Registration& r = k.second;
        if (r.dirnameAcceptsAnything) {
            validators[k.first] = std::make_shared<DirnameValidator>(*r.dirnameAcceptsAnything);
        } else if (r.type) {
            validators[k.first] = std::make_shared<TypeValidator>(*r.type);
        } else {
            auto fixed = std::make_shared<FixedValueValidator>();
            for (const auto& entry : r.fixedValues) fixed->add(entry);
            validators[k.first] = fixed;
        }
    }
    return std::make_unique<ConfigValidator>(std::move(validators), allowUnlistedKeys_);
}

} // namespace settings_impl
