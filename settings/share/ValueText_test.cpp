#include <gtest/gtest.h>

#include <climits>

#include "SettingsStatusOf.h"
#include "ValueText.h"

using namespace settings_impl;

TEST(PlainText, AcceptsSequencesOfOneToSixBytes) {
    EXPECT_TRUE(isPlainText(""));
    EXPECT_TRUE(isPlainText("abc\t\r\n"));
    EXPECT_TRUE(isPlainText(std::string("a\0b", 3)));
    EXPECT_TRUE(isPlainText("\xC3\xA9"));
    EXPECT_TRUE(isPlainText("\xE2\x82\xAC"));
    EXPECT_TRUE(isPlainText("\xF0\x9F\x98\x80"));
    EXPECT_TRUE(isPlainText("\xF8\x88\x80\x80\x80"));
    EXPECT_TRUE(isPlainText("\xFC\x84\x80\x80\x80\x80"));
}

TEST(PlainText, RefusesBadLeadsContinuationsAndCutSequences) {
    EXPECT_FALSE(isPlainText("a\xFF"));
    EXPECT_FALSE(isPlainText("\xFE"));
    EXPECT_FALSE(isPlainText("\x80"));
    EXPECT_FALSE(isPlainText("\xC3" "a"));
    EXPECT_FALSE(isPlainText("key=\xC3"));
    EXPECT_FALSE(isPlainText("\xE2\x82"));
    EXPECT_FALSE(isPlainText("\xFC\x84\x80\x80\x80"));
}

TEST(TextToInt, BasesBySpelling) {
    EXPECT_EQ(textToInt("42"), 42);
    EXPECT_EQ(textToInt("-42"), -42);
    EXPECT_EQ(textToInt("+7"), 7);
    EXPECT_EQ(textToInt("0x1F"), 31);
    EXPECT_EQ(textToInt("0X1f"), 31);
    EXPECT_EQ(textToInt("-0x10"), -16);
    EXPECT_EQ(textToInt("017"), 15);
    EXPECT_EQ(textToInt("-017"), -15);
    EXPECT_EQ(textToInt("0"), 0);
}

TEST(TextToInt, ReadsTheLeadingNumberAfterBlanks) {
    EXPECT_EQ(textToInt(" \t\n\v12abc"), 12);
    EXPECT_EQ(textToInt("08"), 0);
    EXPECT_EQ(textToInt("0x"), 0);
    EXPECT_EQ(textToInt("0xfg"), 15);
    EXPECT_EQ(textToInt("+0x10"), 0);
}

TEST(TextToInt, RefusesNoNumberAndOutOfRange) {
    for (const char* text : {"", "abc", "-", " x1", "\f1", "- 1"}) {
        EXPECT_EQ(settingsStatusOf([&] { textToInt(text); }), 302) << text;
    }
    EXPECT_EQ(textToInt("2147483647"), INT_MAX);
    EXPECT_EQ(textToInt("-2147483648"), INT_MIN);
    EXPECT_EQ(textToInt("0x7fffffff"), INT_MAX);
    for (const char* text : {"2147483648", "-2147483649", "0xFFFFFFFF", "99999999999999999999999"}) {
        EXPECT_EQ(settingsStatusOf([&] { textToInt(text); }), 302) << text;
    }
}

TEST(TextToReal, ReadsDecimalNumbersOnly) {
    EXPECT_DOUBLE_EQ(textToReal("3.5"), 3.5);
    EXPECT_DOUBLE_EQ(textToReal(" -2e3x"), -2000);
    EXPECT_DOUBLE_EQ(textToReal(".25"), 0.25);
    EXPECT_DOUBLE_EQ(textToReal("7."), 7);
    EXPECT_DOUBLE_EQ(textToReal("1e"), 1);
    for (const char* text : {"", ".", "abc", "inf", "nan", "1e999", "-", "e5"}) {
        EXPECT_EQ(settingsStatusOf([&] { textToReal(text); }), 302) << text;
    }
}

TEST(TextToBool, WordsInAnyCaseElseIntegers) {
    EXPECT_TRUE(textToBool("YES"));
    EXPECT_TRUE(textToBool("True"));
    EXPECT_FALSE(textToBool("no"));
    EXPECT_FALSE(textToBool("FALSE"));
    EXPECT_FALSE(textToBool("0"));
    EXPECT_TRUE(textToBool("0x10"));
    EXPECT_TRUE(textToBool("-1"));
    EXPECT_EQ(settingsStatusOf([] { textToBool("on"); }), 302);
    EXPECT_EQ(settingsStatusOf([] { textToBool(" yes"); }), 302);
}
