#pragma once

#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "ConfigValue.h"

namespace settings_impl {

// Turns the text of one key (none for a key written alone) into a value.
class IConfigValueValidator {
public:
    virtual ~IConfigValueValidator() = default;
    virtual std::optional<ConfigValue> validate(const std::optional<std::string>& text) const = 0;
};

// The per-key validators of one configuration, built by
// ConfigValidatorBuilder.
class ConfigValidator {
public:
    class Error : public std::exception {};
    class InavlidKeyError : public Error {
    public:
        const char* what() const noexcept override { return "Invalid key"; }
    };
    class InavlidValueError : public Error {
    public:
        const char* what() const noexcept override { return "Invalid value"; }
    };

    typedef std::map<std::string, std::shared_ptr<const IConfigValueValidator>> Validators;

    ConfigValidator(Validators validators, bool allowUnlistedKeys)
        : validators_(std::move(validators)), allowUnlistedKeys_(allowUnlistedKeys) {}

    // Applies the key's validator; an unlisted key is raw text when such
    // keys are allowed and raises InavlidKeyError otherwise.
    std::optional<ConfigValue> validate(const std::string& key,
                                        const std::optional<std::string>& text) const;

private:
    Validators validators_;
    bool allowUnlistedKeys_;
};

} // namespace settings_impl
