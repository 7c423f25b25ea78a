#include <gtest/gtest.h>

#include "SettingsConfig.h"
#include "SettingsException.h"
#include "SettingsStatusOf.h"

TEST(SettingsConfig, PresenceAndValues) {
    SettingsConfig config(nullptr, nullptr);
    config.allowKeysWithoutValue();
    ASSERT_EQ(config.loadString("b=2\nalone\na=x y\n"), 0);
    EXPECT_TRUE(config.has("alone"));
    EXPECT_FALSE(config.hasValue("alone"));
    EXPECT_TRUE(config.hasValue("a"));
    EXPECT_FALSE(config.has("missing"));
    EXPECT_EQ(config.text("a"), "x y");
    EXPECT_EQ(config.integer("b"), 2);
    EXPECT_EQ(settingsStatusOf([&] { config.text("alone"); }), settings::STATUS_NO_VALUE);
    EXPECT_EQ(settingsStatusOf([&] { config.integer("missing"); }), settings::STATUS_NO_SUCH_KEY);
    EXPECT_EQ(config.keys(), (std::vector<std::string>{"a", "alone", "b"}));
}

TEST(SettingsConfig, KeyAloneRefusedUntilAllowed) {
    SettingsConfig config(nullptr, nullptr);
    EXPECT_EQ(config.loadString("a=1\nalone\n"), settings::STATUS_MALFORMED);
    EXPECT_EQ(config.errorLine(), 2u);
    EXPECT_TRUE(config.empty());
    config.allowKeysWithoutValue();
    EXPECT_EQ(config.loadString("a=1\nalone\n"), 0);
    EXPECT_EQ(config.errorLine(), 0u);
}

TEST(SettingsConfig, RemoveAndCompare) {
    SettingsConfig left(nullptr, nullptr);
    SettingsConfig right(nullptr, nullptr);
    EXPECT_TRUE(left.equals(right));
    ASSERT_EQ(left.loadString("a=1\nb=2\n"), 0);
    ASSERT_EQ(right.loadString("a=1\n"), 0);
    EXPECT_FALSE(left.equals(right));
    EXPECT_EQ(left.remove("b"), 0);
    EXPECT_EQ(left.remove("b"), settings::STATUS_NO_SUCH_KEY);
    EXPECT_TRUE(left.equals(right));
    EXPECT_FALSE(left.empty());
}

TEST(SettingsConfig, MissingFileAndRuntimePath) {
    SettingsConfig config(nullptr, nullptr);
    EXPECT_EQ(config.loadFile("C:\\no\\such\\settings.cfg"), settings::STATUS_CANNOT_OPEN);
    EXPECT_EQ(config.loadFile(""), settings::STATUS_NULL_ARGUMENT);
    const std::string path = config.runtimeFilePath();
    EXPECT_NE(path.find("Tolvane"), std::string::npos) << path;
    EXPECT_NE(path.find("calyx.settings.cfg"), std::string::npos) << path;
}
