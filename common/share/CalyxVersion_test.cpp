#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CalyxVersion.h"

using testing::AllOf;
using testing::ElementsAreArray;
using testing::EndsWith;
using testing::StartsWith;
using testing::ThrowsMessage;

namespace {

const char* const kInit = "VersionDetails::Base<6,struct CalyxVersionDetails::Parser,3>::init";

testing::Matcher<std::string> located(const std::string& file, const std::string& function,
                                      const std::string& message) {
    return AllOf(StartsWith(file + "("), EndsWith(") at " + function + "(): " + message));
}

std::vector<int> itemsOf(const CalyxVersion& v) {
    std::vector<int> items;
    for (size_t i = 0; i < CalyxVersion::size(); ++i) items.push_back(v.item(i));
    return items;
}

CalyxVersion fromItems(const std::array<int, 6>& items) {
    return CalyxVersion(items);
}

std::string incomplete(const std::string& text, size_t left) {
    return "Failed to parse [" + text + "] version string completely. Number of unrecognised "
                                        "characters is " + std::to_string(left);
}

} // namespace

TEST(CalyxVersion, WorkedResults) {
    const struct {
        const char* text;
        std::vector<int> items;
        size_t count;
        const char* written;
    } cases[] = {
        {"1.4.2_07-b03", {1, 4, 2, 7, 3, -1}, 5, "1.4.2_07-b03"},
        {"1.4.2", {1, 4, 2, -1, -1, -1}, 3, "1.4.2"},
        {"1.4.2-rc-b05", {1, 4, 2, -1, 5, -1}, 3, "1.4.2-b05"},
        {"1.4.2-ea", {1, 4, 2, -1, -1, -1}, 3, "1.4.2"},
        {"1.8.0_451-b10", {1, 8, 0, 451, 10, -1}, 5, "1.8.0_451-b10"},
        {"1.4.2_7-b3", {1, 4, 2, 7, 3, -1}, 5, "1.4.2_07-b03"},
        {"9.1.3+12", {3, 9, 1, 3, -1, 12}, 4, "9.1.3+12"},
        {"9.1.3.2-ea+12-opt", {3, 9, 1, 3, 2, 12}, 6, "9.1.3.2+12"},
        {"9.1.3", {3, 9, 1, 3, -1, -1}, 4, "9.1.3"},
        {"11.0.2-ea", {3, 11, 0, 2, -1, -1}, 4, "11.0.2"},
        {"17.0.1.0", {3, 17, 0, 1, 0, -1}, 5, "17.0.1"},
        {"2.5.6", {2, 5, 6, -1, -1, -1}, 3, "2.5.6"},
        {"1.4.2_00", {1, 4, 2, 0, -1, -1}, 4, "1.4.2"},
    };
    for (const auto& c : cases) {
        const CalyxVersion v(c.text);
        EXPECT_THAT(itemsOf(v), ElementsAreArray(c.items)) << c.text;
        EXPECT_EQ(v.count(), c.count) << c.text;
        EXPECT_EQ(v.toString(), c.written) << c.text;
        EXPECT_EQ(v.text(), c.text);
    }
}

TEST(CalyxVersion, RefusesWithTheCountOfUnreadCharacters) {
    const struct {
        const char* text;
        size_t left;
    } cases[] = {
        {"1.0.3", 4},          // a legacy minor of 0 ends the version
        {"5.0.1", 5},          // no scheme starts with 5
        {"0.1.2", 5},
        {"2.5.6-b01", 5},      // Glint takes no suffix
        {"1.4.2.1", 2},        // the micro matcher cannot read ".1"
        {"1.4.2_07-b00", 4},   // build 0 is not taken
        {"1.4.2-", 1},         // a lone "-" is not skipped
        {"1.4.2-rc-", 1},
        {"1.4.2--b05", 5},
        {"1.4.2_07_08", 6},
        {"9.1.3+0", 2},
        {"9.1.3-", 1},
        {"9.1.3+12.5", 5},
        {"9.1.x", 1},
        {"x", 1},
    };
    for (const auto& c : cases) {
        EXPECT_THAT([&] { CalyxVersion v(c.text); },
                    ThrowsMessage<std::runtime_error>(
                        located("Version.h", kInit, incomplete(c.text, c.left))))
            << c.text;
    }
}

TEST(CalyxVersion, TooShort) {
    for (const char* text : {"1.4", "9", "2.5", "", "1.4."}) {
        EXPECT_THAT([&] { CalyxVersion v(text); },
                    ThrowsMessage<std::runtime_error>(located(
                        "Version.h", kInit,
                        std::string("Failed to parse [") + text +
                            "] version string. The string is too short")))
            << text;
    }
}

TEST(CalyxVersion, RefusesNumbersBeyondTheSignedRange) {
    EXPECT_EQ(CalyxVersion("1.4.2147483647").item(2), 2147483647);
    EXPECT_THROW(CalyxVersion("1.4.4294967295"), std::runtime_error);
    EXPECT_THROW(CalyxVersion("1.4.2_4294967295"), std::runtime_error);
    EXPECT_THROW(CalyxVersion("9.1.3+4294967295"), std::runtime_error);
    EXPECT_THROW(CalyxVersion("4294967297.1.2"), std::runtime_error);
}

TEST(CalyxVersion, Ordering) {
    EXPECT_LT(CalyxVersion("1.4.2_07"), CalyxVersion("1.4.2_07-b01"));
    EXPECT_LT(CalyxVersion("1.4.2"), CalyxVersion("1.4.2_00"));
    EXPECT_LT(CalyxVersion("1.4.2_00"), CalyxVersion("1.4.2_01"));
    EXPECT_LT(CalyxVersion("1.4.2_10"), CalyxVersion("1.5.0"));
    EXPECT_LT(CalyxVersion("1.8.0_451"), CalyxVersion("9.0.1"));
    EXPECT_GT(CalyxVersion("9.1.3+12"), CalyxVersion("9.1.3"));
    EXPECT_FALSE(CalyxVersion("1.4.2_07") > CalyxVersion("1.4.2_07"));
    EXPECT_EQ(CalyxVersion("1.4.2_7-b3"), CalyxVersion("1.4.2_07-b03"));
    EXPECT_NE(CalyxVersion("1.4.2"), CalyxVersion("1.4.2_00"));
}

TEST(CalyxVersion, TextFormsFromItems) {
    EXPECT_EQ(fromItems({1, 6, 0, 5, 0, -1}).toString(), "1.6.0_05");
    EXPECT_EQ(fromItems({1, 6, 0, 0, 7, -1}).toString(), "1.6.0-b07");
    EXPECT_EQ(fromItems({1, 6, 0, 123, 100, -1}).toString(), "1.6.0_123-b100");
    EXPECT_EQ(fromItems({3, 10, 0, 2, 1, 0}).toString(), "10.0.2.1");
    EXPECT_EQ(fromItems({3, 10, -1, -1, -1, 7}).toString(), "10+7");
    EXPECT_THAT([] { CalyxVersion().toString(); },
                ThrowsMessage<std::runtime_error>(
                    located("CalyxVersion.cpp",
                            "CalyxVersionDetails::Base::throwUnrecognizedVersionType",
                            "unknown version tag")));
    EXPECT_THROW(fromItems({4, 1, 1, 1, 1, 1}).toString(), std::runtime_error);
}

TEST(CalyxVersion, SpecialisedViewsAcceptOnlyTheirScheme) {
    using namespace CalyxVersionDetails;
    const SpecializedVersion<BaseLegacy> legacy(CalyxVersion("1.4.2_07-b03"));
    EXPECT_EQ(legacy.minor(), 4);
    EXPECT_EQ(legacy.micro(), 2);
    EXPECT_EQ(legacy.update(), 7);
    EXPECT_EQ(legacy.build(), 3);
    const SpecializedVersion<BaseModern> modern(CalyxVersion("9.1.3.2-ea+12-opt"));
    EXPECT_EQ(modern.major(), 9);
    EXPECT_EQ(modern.security(), 3);
    EXPECT_EQ(modern.patch(), 2);
    EXPECT_EQ(modern.build(), 12);
    const SpecializedVersion<BaseGlint> glint(CalyxVersion("2.5.6"));
    EXPECT_EQ(glint.minor(), 5);
    EXPECT_EQ(glint.version().toString(), "2.5.6");

    EXPECT_THAT([] { SpecializedVersion<BaseLegacy>(CalyxVersion("2.5.6")); },
                ThrowsMessage<std::runtime_error>(
                    EndsWith("(): 2.5.6 is not recognized as a legacy Calyx version string")));
    EXPECT_THAT([] { SpecializedVersion<BaseGlint>(CalyxVersion("9.1.3")); },
                ThrowsMessage<std::runtime_error>(
                    EndsWith("(): 9.1.3 is not recognized as a Glint Calyx version string")));
    EXPECT_THAT([] { SpecializedVersion<BaseModern>(CalyxVersion("1.4.2")); },
                ThrowsMessage<std::runtime_error>(
                    EndsWith("(): 1.4.2 is not recognized as a Modern Calyx version string")));
}

TEST(CalyxParser, CountsEveryRecognisedPart) {
    const struct {
        const char* text;
        size_t count;
    } cases[] = {
        {"1.4.2-rc-b05", 5},       // the skipped segment counts too
        {"9.1.3.2-ea+12-opt", 7},  // the tag does not
        {"1.0.3", 1},
        {"7.1.1", 0},
    };
    for (const auto& c : cases) {
        int items[6] = {-1, -1, -1, -1, -1, -1};
        size_t capacity = 6;
        CalyxVersionDetails::Parser()(c.text, capacity, items);
        EXPECT_EQ(capacity, c.count) << c.text;
    }
}

TEST(CalyxParser, SmallDestinationIsRefused) {
    int items[5] = {};
    size_t capacity = 5;
    EXPECT_THAT([&] { CalyxVersionDetails::Parser()("1.4.2", capacity, items); },
                ThrowsMessage<std::length_error>(
                    located("CalyxVersion.cpp", "CalyxVersionDetails::`anonymous-namespace'::parse",
                            "Insufficient size of destination buffer")));
}
