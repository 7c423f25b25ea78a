#include <gtest/gtest.h>

#include <windows.h>

#include "AnsiText.h"

TEST(AnsiText, AsciiUnchanged) {
    EXPECT_EQ(exactAnsiText("C:\\Program Files\\x=\"1\""), "C:\\Program Files\\x=\"1\"");
    EXPECT_EQ(exactAnsiText(""), "");
}

TEST(AnsiText, NotUtf8Refused) {
    EXPECT_FALSE(exactAnsiText("\xFF"));
    EXPECT_FALSE(exactAnsiText("ab\xE9"));
}

TEST(AnsiText, CharacterWithoutExactFormRefused) {
    if (GetACP() != 1252) GTEST_SKIP() << "ANSI code page " << GetACP();
    EXPECT_EQ(exactAnsiText("caf\xC3\xA9"), "caf\xE9");
    // A CJK character, and one that 1252 would only approximate (Greek alpha as "a").
    EXPECT_FALSE(exactAnsiText("C:\\\xE5\xAD\x97"));
    EXPECT_FALSE(exactAnsiText("\xCE\xB1"));
}
