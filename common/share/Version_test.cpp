#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Version.h"

using testing::AllOf;
using testing::EndsWith;
using testing::StartsWith;
using testing::ThrowsMessage;

namespace {

const char* const kInit = "VersionDetails::Base<4,struct VersionDetails::Parser,4>::init";

testing::Matcher<std::string> located(const std::string& file, const std::string& function,
                                      const std::string& message) {
    return AllOf(StartsWith(file + "("), EndsWith(") at " + function + "(): " + message));
}

} // namespace

TEST(Version, ParsesExactlyFourNumbers) {
    const Version v("11.2.33.44");
    EXPECT_EQ(v.item(0), 11);
    EXPECT_EQ(v.item(3), 44);
    EXPECT_EQ(v.count(), 4u);
    EXPECT_EQ(v.text(), "11.2.33.44");
    EXPECT_EQ(v.toString(), "11.2.33.44");
    EXPECT_EQ(v, Version(11, 2, 33, 44));
    EXPECT_EQ(Version(11, 2, 33, 44).text(), "");
}

TEST(Version, TooShortAndTooLongAreRefused) {
    EXPECT_THAT([] { Version("3.1.4"); },
                ThrowsMessage<std::runtime_error>(located(
                    "Version.h", kInit,
                    "Failed to parse [3.1.4] version string. The string is too short")));
    EXPECT_THAT([] { Version("3.1.4.15.9"); },
                ThrowsMessage<std::runtime_error>(located(
                    "Version.h", kInit,
                    "Failed to parse [3.1.4.15.9] version string completely. Number of "
                    "unrecognised characters is 2")));
    EXPECT_THAT([] { Version(""); },
                ThrowsMessage<std::runtime_error>(EndsWith("The string is too short")));
    EXPECT_THAT([] { Version("1.2.3.4."); },
                ThrowsMessage<std::runtime_error>(EndsWith("characters is 1")));
}

TEST(Version, FailedInitLeavesTheValueUnchanged) {
    Version v("1.2.3.4");
    EXPECT_THROW(v.init("1.2.x.4"), std::runtime_error);
    EXPECT_EQ(v, Version(1, 2, 3, 4));
    EXPECT_EQ(v.text(), "1.2.3.4");
}

TEST(Version, OrdersComponentByComponent) {
    EXPECT_GT(Version("1.2.3.10"), Version("1.2.3.9"));
    EXPECT_GT(Version("2.0.0.0"), Version("1.99.99.99"));
    EXPECT_FALSE(Version("1.2.3.4") > Version("1.2.3.4"));
    EXPECT_LT(Version(), Version(0, 0, 0, 0));
    EXPECT_NE(Version("1.2.3.4"), Version("1.2.3.5"));
    EXPECT_LE(Version("1.2.3.4"), Version("1.2.3.4"));
    EXPECT_GE(Version("1.2.3.4"), Version("1.2.3.4"));
}

TEST(VersionParser, StopsAtTheFirstBadPiece) {
    int items[4] = {-1, -1, -1, -1};
    size_t capacity = 4;
    EXPECT_EQ(VersionDetails::Parser()("1.x.3", capacity, items), 3u);
    EXPECT_EQ(capacity, 1u);
    EXPECT_EQ(items[0], 1);
    EXPECT_EQ(items[1], -1);

    capacity = 2;
    EXPECT_EQ(VersionDetails::Parser()("7.8.9", capacity, items), 2u);
    EXPECT_EQ(capacity, 2u);
    EXPECT_EQ(items[1], 8);

    capacity = 4;
    EXPECT_EQ(VersionDetails::Parser()("", capacity, items), 0u);
    EXPECT_EQ(capacity, 0u);
}

TEST(VersionParser, EmptyDestinationIsRefused) {
    int item = 0;
    size_t capacity = 0;
    EXPECT_THAT([&] { VersionDetails::Parser()("1", capacity, &item); },
                ThrowsMessage<std::length_error>(
                    located("Version.cpp", "VersionDetails::Parser::operator ()",
                            "Destination buffer can't be empty")));
}

TEST(ParseComponent, TakesOnlyWholeUnsignedNumbers) {
    EXPECT_EQ(VersionDetails::parseComponent("07"), 7u);
    EXPECT_EQ(VersionDetails::parseComponent("0"), 0u);
    EXPECT_EQ(VersionDetails::parseComponent("2147483647"), 2147483647u);
    for (const char* bad : {"", "+1", "-1", " 1", "1 ", "1a", "0x10", "\xff"}) {
        EXPECT_THAT([&] { VersionDetails::parseComponent(bad); },
                    ThrowsMessage<std::runtime_error>(
                        located("Version.cpp", "VersionDetails::parseComponent",
                                std::string("Failed to recognize version component in [") + bad +
                                    "]")))
            << bad;
    }
}

TEST(ParseComponent, RefusesNumbersThatWouldNotFitAnItem) {
    // 4294967295 read as unsigned and stored signed would become -1, "not set".
    for (const char* big : {"2147483648", "4294967295", "99999999999999999999"}) {
        EXPECT_THROW(VersionDetails::parseComponent(big), std::runtime_error) << big;
    }
    EXPECT_THROW(Version("1.2.3.4294967295"), std::runtime_error);
    EXPECT_EQ(Version("1.2.3.000000000000002147483647").item(3), 2147483647);
}
