#include <gtest/gtest.h>

#include "FileName.h"
#include "SettingsStatusOf.h"

using namespace settings_impl;

namespace {

int pathCode(const std::string& path, const std::string& currentDirectory = "C:\\work") {
    return settingsStatusOf([&] { FileName(path).canonical(currentDirectory); });
}

} // namespace

TEST(FileName, LengthLimit) {
    const std::string base = "C:\\";
    EXPECT_EQ(pathCode(base + std::string(256, 'a')), 0);
    EXPECT_EQ(pathCode(base + std::string(257, 'a')), 310);
    // Characters outside the basic plane take two UTF-16 units.
    std::string wide = base;
    for (int i = 0; i < 128; ++i) wide += "\xF0\x9F\x98\x80";
    EXPECT_EQ(pathCode(wide), 0);
    EXPECT_EQ(pathCode(wide + "a"), 310);
}

TEST(FileName, InvalidComponents) {
    for (const char* path : {"C:\\a\\LPT1", "C:\\COM9\\x", "C:\\a?b", "dir\\NUL", "a<b", "a|b",
                             "x\\a:b", "a\"b", "a*b", "a\tb", "/", "\\.\\.", "C:a"}) {
        EXPECT_EQ(pathCode(path), 311) << path;
    }
    for (const char* path : {"C:\\lpt1", "C:\\LPT0", "C:\\CON.txt", "C:\\COM10", "x\\y z"}) {
        EXPECT_EQ(pathCode(path), 0) << path;
    }
    EXPECT_EQ(pathCode("C:\\\xFF"), 312);
}

TEST(FileName, DriveMakesAPathAbsolute) {
    EXPECT_TRUE(FileName("c:\\x").isAbsolute());
    EXPECT_TRUE(FileName("Z:").isAbsolute());
    EXPECT_FALSE(FileName("\\x").isAbsolute());
    EXPECT_FALSE(FileName("x").isAbsolute());
    EXPECT_EQ(pathCode("1:\\x"), 311);
    EXPECT_TRUE(FileName("").text().empty());
}

TEST(FileName, CanonicalForm) {
    const FileName absolute = FileName("C:\\a\\.\\b\\..\\\\c/d").canonical("D:\\ignored");
    EXPECT_EQ(absolute.text(), "C:/a/c/d");
    EXPECT_TRUE(absolute.isCanonical());
    EXPECT_FALSE(FileName("C:\\a").isCanonical());
    EXPECT_EQ(FileName("..\\cfg\\x.cfg").canonical("C:\\users\\me").text(), "C:/users/cfg/x.cfg");
    EXPECT_EQ(FileName("\\x.cfg").canonical("C:\\w").text(), "C:/w/x.cfg");
    EXPECT_EQ(FileName("C:\\a\\..").canonical("").text(), "C:");
}

TEST(FileName, DotDotAboveTheRoot) {
    EXPECT_EQ(pathCode("C:\\.."), 311);
    EXPECT_EQ(pathCode("C:\\a\\..\\.."), 311);
    EXPECT_EQ(pathCode("..\\..\\..\\x", "C:\\work"), 311);
    EXPECT_EQ(pathCode("..\\..\\x", "relative\\dir"), 0);
    EXPECT_EQ(pathCode("..\\..\\..\\x", "relative\\dir"), 311);
}
