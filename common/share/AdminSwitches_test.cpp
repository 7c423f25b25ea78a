#include <gtest/gtest.h>

#include "AdminSwitches.h"

TEST(AdminSwitches, QuietWordsAreSilentAndTheirOwnWordsLeaveTheConfiguration) {
    struct Row {
        std::vector<std::string> args;
        bool desktop;
        std::vector<std::string> configArgs;
        bool silent, passive, noRestart, noDesktop;
    } rows[] = {
        {{"x.exe", "AUTO_UPDATE=0"}, true, {"x.exe", "AUTO_UPDATE=0"}, false, false, false, false},
        {{"x.exe", "/qn"}, true, {"x.exe", "/qn", "/s"}, true, false, false, false},
        {{"x.exe", "/quiet", "/S"}, true, {"x.exe", "/quiet", "/S"}, true, false, false, false},
        {{"x.exe", "/SILENT"}, true, {"x.exe", "/s"}, true, false, false, false},
        {{"x.exe", "/verysilent", "/norestart"}, true, {"x.exe", "/s"}, true, false, true, false},
        {{"x.exe", "/passive"}, true, {"x.exe", "/s"}, false, true, false, false},
        {{"x.exe", "/qb!"}, true, {"x.exe", "/qb!", "/s"}, false, true, false, false},
        {{"x.exe", "/s", "/passive"}, true, {"x.exe", "/s"}, true, false, false, false},
        // Words of the table that only look alike stay theirs.
        {{"x.exe", "/qf", "/sx"}, true, {"x.exe", "/qf", "/sx"}, false, false, false, false},
        // Nobody can see a page: silent, and said so once.
        {{"x.exe"}, false, {"x.exe", "/s"}, true, false, false, true},
        {{"x.exe", "/passive"}, false, {"x.exe", "/s"}, true, false, false, true},
    };
    for (const Row& row : rows) {
        const AdminSwitches got = readAdminSwitches(row.args, row.desktop);
        const std::string at = row.args.back();
        EXPECT_EQ(got.configArgs, row.configArgs) << at;
        EXPECT_EQ(got.silent, row.silent) << at;
        EXPECT_EQ(got.passive, row.passive) << at;
        EXPECT_EQ(got.noRestart, row.noRestart) << at;
        EXPECT_EQ(got.noDesktop, row.noDesktop) << at;
    }
}

TEST(AdminSwitches, ActionWordsLeaveTheConfigurationAndAnIncompleteOneStays) {
    const AdminSwitches got = readAdminSwitches(
        {"x.exe", "/S", "/ExitCodes=MSI", "/?", "/Uninstall", "/extract", "C:\\Out Dir"}, true);
    EXPECT_EQ(got.configArgs, std::vector<std::string>({"x.exe", "/S"}));
    EXPECT_TRUE(got.installerExitCodes && got.help && got.uninstall);
    EXPECT_EQ(got.extractTo.value_or(""), "C:\\Out Dir");
    const AdminSwitches bare = readAdminSwitches({"x.exe", "/s", "/extract", "/exitcodes=x"}, true);
    EXPECT_EQ(bare.configArgs, std::vector<std::string>({"x.exe", "/s", "/extract", "/exitcodes=x"}));
    EXPECT_FALSE(bare.extractTo || bare.installerExitCodes);
}
