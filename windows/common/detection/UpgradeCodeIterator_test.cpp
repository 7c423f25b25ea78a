#include <gtest/gtest.h>

#include "GuidText.h"
#include "UpgradeCodeIterator.h"

TEST(UpgradeCodeIterator, RuntimeCodesForMajorsNineToNinetyNine) {
    UpgradeCodeIterator codes(CXR, 32);
    EXPECT_EQ(guidToText(codes.next()), "{6FA2C913-D07E-4B19-84F1-A6C5E32F0009}");
    EXPECT_EQ(guidToText(codes.next()), "{6FA2C913-D07E-4B19-84F1-A6C5E32F0010}");
    std::string last;
    for (int major = 11; major <= 99; ++major) last = guidToText(codes.next());
    EXPECT_EQ(last, "{6FA2C913-D07E-4B19-84F1-A6C5E32F0099}");
    EXPECT_TRUE(codes.next() == GUID{});
    EXPECT_TRUE(codes.next() == GUID{});
}

TEST(UpgradeCodeIterator, DevelopmentKitCodesCarryTheBits) {
    UpgradeCodeIterator codes(CXS, 64);
    EXPECT_EQ(guidToText(codes.next()), "{64E61B7C-C05D-47C2-9F43-0D3F9A10009E}");
    UpgradeCodeIterator runtime64(CXR, 64);
    EXPECT_EQ(guidToText(runtime64.next()), "{6FA2C913-D07E-4B19-84F1-A6C5E64F0009}");
}

TEST(UpgradeCodeIterator, OtherTypesAreRejected) {
    try {
        UpgradeCodeIterator codes(GLINT, 32);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(
                      "at UpgradeCodeIterator::getTemplate(): Unrecognized product type"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_THROW(UpgradeCodeIterator::getTemplate(7), std::runtime_error);
}
