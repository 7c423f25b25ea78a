#include <gtest/gtest.h>

#include "VersionText.h"

TEST(VersionText, WithoutBuildDropsOnlyTheBuild) {
    EXPECT_EQ(withoutBuild(CalyxVersion("1.8.0_451-b10")).toString(), "1.8.0_451");
    EXPECT_EQ(withoutBuild(CalyxVersion("1.4.2-b03")).toString(), "1.4.2");
    EXPECT_EQ(withoutBuild(CalyxVersion("9.1.3.2+12")).toString(), "9.1.3.2");
    EXPECT_EQ(withoutBuild(CalyxVersion("2.5.6")).toString(), "2.5.6");
    EXPECT_THROW(withoutBuild(CalyxVersion()).toString(), std::runtime_error);
}

TEST(VersionText, KeepItemsClearsTheRest) {
    EXPECT_EQ(keepItems(CalyxVersion("1.8.0_451-b10"), 3).toString(), "1.8.0");
    EXPECT_EQ(keepItems(CalyxVersion("1.4.2_071"), 4).count(), 4u);
    EXPECT_EQ(keepItems(CalyxVersion("1.4.2_071"), 0).count(), 0u);
    EXPECT_EQ(keepItems(CalyxVersion("9.1.3.2+12"), 9), CalyxVersion("9.1.3.2+12"));
}

TEST(VersionText, PrintableVersionIsEmptyWhenUnknown) {
    EXPECT_EQ(printableVersion(CalyxVersion()), "");
    EXPECT_EQ(printableVersion(CalyxVersion(std::array<int, 6>{{7, 1, 2, -1, -1, -1}})), "");
    EXPECT_EQ(printableVersion(CalyxVersion("11.0.2+9")), "11.0.2+9");
    EXPECT_EQ(printableVersion(CalyxVersion("1.4.2_071")), "1.4.2_71");
}
