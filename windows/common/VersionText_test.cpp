#include <gtest/gtest.h>

#include "VersionText.h"

TEST(VersionText, WithoutBuildDropsOnlyTheBuild) {
    EXPECT_EQ(versionTextWithoutBuild(CalyxVersion("1.8.0_451-b10")), "1.8.0_451");
    EXPECT_EQ(versionTextWithoutBuild(CalyxVersion("1.4.2-b03")), "1.4.2");
    EXPECT_EQ(versionTextWithoutBuild(CalyxVersion("9.1.3.2+12")), "9.1.3.2");
    EXPECT_EQ(versionTextWithoutBuild(CalyxVersion("2.5.6")), "2.5.6");
    EXPECT_THROW(versionTextWithoutBuild(CalyxVersion()), std::runtime_error);
}

TEST(VersionText, PrintableVersionIsEmptyWhenUnknown) {
    EXPECT_EQ(printableVersion(CalyxVersion()), "");
    EXPECT_EQ(printableVersion(CalyxVersion(std::array<int, 6>{{7, 1, 2, -1, -1, -1}})), "");
    EXPECT_EQ(printableVersion(CalyxVersion("11.0.2+9")), "11.0.2+9");
    EXPECT_EQ(printableVersion(CalyxVersion("1.4.2_071")), "1.4.2_71");
}
