#include <gtest/gtest.h>

#include "ConfigValidatorBuilder.h"
#include "SettingsException.h"

using namespace settings_impl;

namespace {

const FixedValueValidator::Entry kEnable = {"Enable", 1, FixedValueValidator::MATCH_CASE};

bool accepts(const ConfigValidator& v, const std::string& key, const std::string& text) {
    try {
        v.validate(key, text);
        return true;
    } catch (const ConfigValidator::Error&) {
        return false;
    } catch (const settings::Exception&) {
        return false;
    }
}

} // namespace

TEST(ConfigValidatorBuilder, UnlistedKeys) {
    ConfigValidatorBuilder b;
    b.addType("n", ConfigValue::INTEGER);
    EXPECT_THROW(b.build()->validate("other", std::string("1")), ConfigValidator::InavlidKeyError);
    b.setAllowUnlistedKeys(true);
    const auto raw = b.build()->validate("other", std::string("1"));
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type(), ConfigValue::RAW_TEXT);
    EXPECT_EQ(b.build()->validate("n", std::string("0x2"))->intValue(), 2);
}

TEST(ConfigValidatorBuilder, LaterRegistrationsReplaceEarlierOnes) {
    ConfigValidatorBuilder b;
    b.addType("fixedOverType", ConfigValue::INTEGER);
    b.addFixedValues("fixedOverType", {kEnable});
    b.addFixedValues("typeOverFixed", {kEnable});
    b.addType("typeOverFixed", ConfigValue::INTEGER);
    b.addDirname("fixedOverDir", false);
    b.addFixedValues("fixedOverDir", {kEnable});
    b.addFixedValues("dirOverFixed", {kEnable});
    b.addDirname("dirOverFixed", false);
    b.addDirname("dirWinsOverType", false);
    b.addType("dirWinsOverType", ConfigValue::INTEGER);
    b.addFixedValues("twoLists", {kEnable});
    b.addFixedValues("twoLists", {{"Disable", 0, 1}});
    const auto v = b.build();

    EXPECT_TRUE(accepts(*v, "fixedOverType", "Enable"));
    EXPECT_FALSE(accepts(*v, "fixedOverType", "1"));
    EXPECT_TRUE(accepts(*v, "typeOverFixed", "1"));
    EXPECT_FALSE(accepts(*v, "typeOverFixed", "Enable"));
    EXPECT_TRUE(accepts(*v, "fixedOverDir", "Enable"));
    EXPECT_FALSE(accepts(*v, "fixedOverDir", "C:\\x"));
    EXPECT_TRUE(accepts(*v, "dirOverFixed", "C:\\x"));
    EXPECT_FALSE(accepts(*v, "dirOverFixed", "Enable"));
    EXPECT_TRUE(accepts(*v, "dirWinsOverType", "C:\\x"));
    EXPECT_FALSE(accepts(*v, "dirWinsOverType", "1"));
    EXPECT_TRUE(accepts(*v, "twoLists", "Enable"));
    EXPECT_TRUE(accepts(*v, "twoLists", "Disable"));
}
