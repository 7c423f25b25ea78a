#include <gtest/gtest.h>

#include "SettingsStatusOf.h"
#include "ValueValidators.h"

using namespace settings_impl;

TEST(ValueValidators, TypeValidator) {
    EXPECT_FALSE(TypeValidator(ConfigValue::BOOLEAN).validate(std::nullopt));
    EXPECT_THROW(TypeValidator(ConfigValue::INTEGER).validate(std::nullopt),
                 ConfigValidator::InavlidValueError);
    const auto real = TypeValidator(ConfigValue::REAL).validate(std::string("1.25"));
    ASSERT_TRUE(real);
    EXPECT_EQ(real->type(), ConfigValue::REAL);
    EXPECT_DOUBLE_EQ(real->realValue(), 1.25);
    EXPECT_THROW(TypeValidator(ConfigValue::INTEGER).validate(std::string("x")),
                 settings::NotConvertibleError);
}

TEST(ValueValidators, DirnameValidator) {
    const DirnameValidator strict(false);
    const auto ok = strict.validate(std::string("C:\\Program Files\\Calyx"));
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->type(), ConfigValue::STRING);
    EXPECT_EQ(ok->text(), "C:\\Program Files\\Calyx");
    EXPECT_THROW(strict.validate(std::string("relative\\dir")), ConfigValidator::InavlidValueError);
    EXPECT_THROW(strict.validate(std::string("")), ConfigValidator::InavlidValueError);
    EXPECT_THROW(strict.validate(std::nullopt), ConfigValidator::InavlidValueError);
    EXPECT_EQ(settingsStatusOf([&] { strict.validate(std::string("C:\\a\\LPT1")); }), 311);
    EXPECT_EQ(DirnameValidator(true).validate(std::string("any ?thing"))->text(), "any ?thing");
    EXPECT_THROW(DirnameValidator(true).validate(std::nullopt), ConfigValidator::InavlidValueError);
}

TEST(ValueValidators, FixedValueValidator) {
    FixedValueValidator v;
    v.add({"Enable", 1, FixedValueValidator::MATCH_CASE});
    v.add({"Disable", 0, FixedValueValidator::MATCH_CASE});
    v.add({"L", 1, 0});
    v.add({"low", 1, FixedValueValidator::STORE_ENTRY_TEXT});
    v.add({"L", 7, FixedValueValidator::MATCH_CASE});

    const auto enable = v.validate(std::string("Enable"));
    ASSERT_TRUE(enable);
    EXPECT_EQ(enable->type(), ConfigValue::INTEGER);
    EXPECT_EQ(enable->intValue(), 1);
    EXPECT_THROW(v.validate(std::string("enable")), ConfigValidator::InavlidValueError);
    EXPECT_EQ(v.validate(std::string("L"))->intValue(), 7);
    EXPECT_THROW(v.validate(std::string("l")), ConfigValidator::InavlidValueError);
    EXPECT_EQ(v.validate(std::string("LOW"))->text(), "low");
    EXPECT_THROW(v.validate(std::nullopt), ConfigValidator::InavlidValueError);
}

TEST(ValueValidators, LaterEntriesAreTriedFirst) {
    FixedValueValidator v;
    v.add({"x", 1, 0});
    v.add({"X", 2, 0});
    const auto value = v.validate(std::string("x"));
    EXPECT_EQ(value->intValue(), 2);
    EXPECT_EQ(value->text(), "x");
}
