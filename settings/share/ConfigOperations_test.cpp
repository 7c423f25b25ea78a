#include <gtest/gtest.h>

#include "ConfigOperations.h"
#include "PlainTextEntrySerializer.h"
#include "SettingsException.h"

using namespace settings_impl;

namespace {

ConfigValue raw(const char* text) {
    return ConfigValue::fromText(ConfigValue::RAW_TEXT, text);
}

} // namespace

TEST(ConfigOperations, MergeNewerWins) {
    Config older;
    older.set("a", raw("1"));
    older.set("b", raw("old"));
    Config newer;
    newer.set("b", std::nullopt);
    newer.set("c", raw("3"));
    const auto merged = mergeConfigs(older, newer);
    EXPECT_EQ(merged->keys(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_FALSE(merged->hasValue("b"));
    EXPECT_EQ(older.getString("b"), "old");
}

TEST(ConfigOperations, Equality) {
    Config a;
    a.set("n", ConfigValue::fromText(ConfigValue::INTEGER, "0x10"));
    a.set("alone", std::nullopt);
    Config b;
    b.set("n", ConfigValue::fromText(ConfigValue::INTEGER, "16"));
    b.set("alone", std::nullopt);
    EXPECT_TRUE(configsEqual(a, b));
    EXPECT_TRUE(configsEqual(a, a));
    b.set("alone", raw("x"));
    EXPECT_FALSE(configsEqual(a, b));
    b.set("alone", std::nullopt);
    b.set("extra", std::nullopt);
    EXPECT_FALSE(configsEqual(a, b));
    Config c;
    c.set("n", raw("16"));
    c.set("alone", std::nullopt);
    EXPECT_FALSE(configsEqual(a, c));
}

TEST(ConfigOperations, RemoveKey) {
    Config c;
    c.set("a", raw("1"));
    c.set("b", raw("2"));
    EXPECT_EQ(withoutKey(c, "a")->keys(), std::vector<std::string>{"b"});
    EXPECT_THROW(withoutKey(c, "x"), settings::NoSuchKeyError);
}

TEST(PlainTextEntrySerializer, WritesKeysInOrderWithTheirTexts) {
    Config c;
    c.set("z", ConfigValue::fromText(ConfigValue::INTEGER, "0x1F"));
    c.set("alone", std::nullopt);
    c.set("a", raw("x = y"));
    EXPECT_EQ(PlainTextEntrySerializer::serialize(c), "a=x = y\nalone\nz=0x1F\n");
    EXPECT_EQ(PlainTextEntrySerializer::serialize(Config()), "");
}
