#include <gtest/gtest.h>

#include <functional>

#include "Config.h"
#include "SettingsException.h"

using namespace settings_impl;

namespace {

Config sample() {
    Config c;
    c.set("raw", ConfigValue::fromText(ConfigValue::RAW_TEXT, "0x10"));
    c.set("str", ConfigValue::fromText(ConfigValue::STRING, "12"));
    c.set("int", ConfigValue::fromText(ConfigValue::INTEGER, "-0x20"));
    c.set("bool", ConfigValue::fromText(ConfigValue::BOOLEAN, "yes"));
    c.set("real", ConfigValue::fromText(ConfigValue::REAL, "2.5"));
    c.set("fixed", ConfigValue::fixed(1, "Enable"));
    c.set("alone", std::nullopt);
    return c;
}

} // namespace

TEST(ConfigValue, KeepsTextAndConvertsByType) {
    const ConfigValue hex = ConfigValue::fromText(ConfigValue::INTEGER, "0x1F");
    EXPECT_EQ(hex.type(), ConfigValue::INTEGER);
    EXPECT_EQ(hex.intValue(), 31);
    EXPECT_EQ(hex.text(), "0x1F");
    EXPECT_THROW(ConfigValue::fromText(ConfigValue::INTEGER, "ten"), settings::NotConvertibleError);
    EXPECT_THROW(ConfigValue::fromText(ConfigValue::STRING, "\xFF"), settings::NotConvertibleError);
    EXPECT_THROW(ConfigValue::fixed(1, "\xC3"), settings::NotConvertibleError);
}

TEST(ConfigValue, SameAsComparesTypeThenPayload) {
    const auto i = [](const char* t) { return ConfigValue::fromText(ConfigValue::INTEGER, t); };
    EXPECT_TRUE(i("0x10").sameAs(i("16")));
    EXPECT_FALSE(i("16").sameAs(i("17")));
    EXPECT_TRUE(ConfigValue::fixed(1, "Enable").sameAs(i("1")));
    EXPECT_FALSE(i("1").sameAs(ConfigValue::fromText(ConfigValue::RAW_TEXT, "1")));
    EXPECT_FALSE(ConfigValue::fromText(ConfigValue::STRING, "a")
                     .sameAs(ConfigValue::fromText(ConfigValue::STRING, "A")));
    EXPECT_TRUE(ConfigValue::fromText(ConfigValue::BOOLEAN, "yes")
                    .sameAs(ConfigValue::fromText(ConfigValue::BOOLEAN, "1")));
    EXPECT_TRUE(ConfigValue::fromText(ConfigValue::REAL, "1.50")
                    .sameAs(ConfigValue::fromText(ConfigValue::REAL, "1.5")));
}

TEST(Config, ReadersFollowTheStoredType) {
    const Config c = sample();
    EXPECT_EQ(c.getInt("raw"), 16);
    EXPECT_TRUE(c.getBool("raw"));
    EXPECT_EQ(c.getInt("int"), -32);
    EXPECT_EQ(c.getInt("fixed"), 1);
    EXPECT_TRUE(c.getBool("bool"));
    EXPECT_DOUBLE_EQ(c.getReal("real"), 2.5);
    EXPECT_EQ(c.getString("int"), "-0x20");
    EXPECT_EQ(c.copyText("fixed"), "Enable");
    EXPECT_EQ(c.getType("str"), ConfigValue::STRING);
    EXPECT_TRUE(c.hasValue("str"));
    EXPECT_FALSE(c.hasValue("alone"));
}

TEST(Config, WrongTypeIsNoValue) {
    const Config c = sample();
    EXPECT_THROW(c.getInt("str"), settings::NoValueError);
    EXPECT_THROW(c.getBool("fixed"), settings::NoValueError);
    EXPECT_THROW(c.getReal("int"), settings::NoValueError);
    EXPECT_THROW(c.getInt("real"), settings::NoValueError);
}

TEST(Config, RawTextThatDoesNotConvertIsNotConvertible) {
    Config c;
    c.set("k", ConfigValue::fromText(ConfigValue::RAW_TEXT, "abc"));
    EXPECT_THROW(c.getInt("k"), settings::NotConvertibleError);
    EXPECT_THROW(c.getReal("k"), settings::NotConvertibleError);
    EXPECT_THROW(c.getBool("k"), settings::NotConvertibleError);
}

TEST(Config, MissingKeyAndKeyWithoutValue) {
    const Config c = sample();
    for (const auto& read : std::vector<std::function<void()>>{
             [&] { c.getType("nope"); }, [&] { c.hasValue("nope"); },
             [&] { c.getString("nope"); }, [&] { c.getInt("nope"); },
             [&] { c.getReal("nope"); }, [&] { c.getBool("nope"); },
             [&] { c.copyText("nope"); }}) {
        EXPECT_THROW(read(), settings::NoSuchKeyError);
    }
    for (const auto& read : std::vector<std::function<void()>>{
             [&] { c.getType("alone"); }, [&] { c.getString("alone"); },
             [&] { c.getInt("alone"); }, [&] { c.getReal("alone"); },
             [&] { c.getBool("alone"); }, [&] { c.copyText("alone"); }}) {
        EXPECT_THROW(read(), settings::NoValueError);
    }
}

TEST(Config, KeysInByteOrderAndLastSetWins) {
    Config c;
    c.set("b", ConfigValue::fromText(ConfigValue::RAW_TEXT, "1"));
    c.set("B", std::nullopt);
    c.set("a", ConfigValue::fromText(ConfigValue::RAW_TEXT, "1"));
    c.set("b", ConfigValue::fromText(ConfigValue::RAW_TEXT, "2"));
    EXPECT_EQ(c.keys(), (std::vector<std::string>{"B", "a", "b"}));
    EXPECT_EQ(c.getString("b"), "2");
}
