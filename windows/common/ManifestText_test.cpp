#include <gtest/gtest.h>

#include "ManifestText.h"

namespace {

std::string errorOf(const std::string& text, const std::string& key) {
    try {
        manifestValue(text, key);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(ManifestText, ReadsKeysWithEitherSeparatorAndTrimsBlanks) {
    const std::string text =
        "Manifest-Version: 1.0\r\n"
        "  Implementation-Version :\t1.4.2_19 \r\n"
        "Main = a:b=c\n"
        "# Implementation-Vendor: commented\r"
        "\n"
        "Empty:\n";
    EXPECT_EQ(manifestValue(text, "Implementation-Version"), "1.4.2_19");
    EXPECT_EQ(manifestValue(text, "Manifest-Version"), "1.0");
    EXPECT_EQ(manifestValue(text, "Main"), "a:b=c");
    EXPECT_EQ(manifestValue(text, "Empty"), "");
    EXPECT_NE(errorOf(text, "Implementation-Vendor").find("No Implementation-Vendor key"),
              std::string::npos);
}

TEST(ManifestText, LastLineOfAKeyWins) {
    EXPECT_EQ(manifestValue("A: 1\nA: 2", "A"), "2");
}

TEST(ManifestText, FirstMalformedLineRaisesWithItsPosition) {
    EXPECT_NE(errorOf("A: 1\n\n  continued\nB: 2\n", "A")
                  .find("at manifestValue(): \"Key without value\" at line 3; char 3"),
              std::string::npos);
    EXPECT_NE(errorOf(": 1\n", "A").find("\"Empty key\" at line 1; char 1"), std::string::npos);
    // Line ends of every kind count one line each; "\n\r" leaves an empty line between.
    EXPECT_NE(errorOf("A: 1\r\nB: 2\rC: 3\n\rbad", "A").find("line 5; char 1"),
              std::string::npos);
}

TEST(ManifestText, EmptyOrBlankTextHasNoKeys) {
    EXPECT_NE(errorOf("", "A").find("No A key"), std::string::npos);
    EXPECT_NE(errorOf(" \t\r\n\n", "A").find("No A key"), std::string::npos);
}
