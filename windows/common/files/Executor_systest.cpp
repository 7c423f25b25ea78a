#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include "Executor.h"
#include "FileTestSupport.h"
#include "FileUtils.h"
#include "SysInfo.h"
#include "TestSupport.h"

using testing::HasSubstr;

using testsupport::logText;

namespace {

bool appearsWithin(const std::string& path, DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += 100) {
        if (!testsupport::readFile(path).empty()) return true;
        Sleep(100);
    }
    return false;
}

} // namespace

// <marker>: proves the program was started.
TEST_CHILD_MAIN(desktopLaunched) {
    return !args.empty() && testsupport::writeFile(args[0], "launched") ? 0 : 101;
}

TEST(ExecProcessAsDesktopUser, StartsThroughTheShellAndCleansUp) {
    const std::string tolvane = SysInfo::getCommonAppDataDir() + "\\Tolvane";
    const bool hadTolvane = FileUtils::exists(tolvane);
    const std::string marker = testsupport::testFolder("desktop") + "\\marker";

    const DWORD result = Executor::ExecProcessAsDesktopUser(
        testsupport::selfPath(), "--cx-child desktopLaunched \"" + marker + "\"", 20000);

    const std::string log = logText();
    EXPECT_THAT(log, HasSubstr("TRACE: Entering Executor::ExecProcessAsDesktopUser"));
    // A fresh folder of its own each time, gone afterwards.
    const std::string::size_type at = log.find("explorer.exe\" \"" + tolvane + "\\tmpinstall{");
    ASSERT_NE(at, std::string::npos) << log;
    const std::string folder = log.substr(at + 15, log.find("\\calyxtmp.lnk\"", at) - at - 15);
    EXPECT_THAT(log, HasSubstr("Executor.finishExecution(): WaitForSingleObject exited with code"));
    EXPECT_FALSE(FileUtils::exists(folder)) << folder;
    EXPECT_NE(result, static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(appearsWithin(marker, 20000));
    if (!hadTolvane) FileUtils::tryDeleteDirectory(tolvane);
}

TEST(ExecProcessAsDesktopUser, EmptyPathFails) {
    EXPECT_EQ(Executor::ExecProcessAsDesktopUser(" ", "x"), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_THAT(logText(), HasSubstr("ERROR: ExecProcessAsDesktopUser: appPath is empty"));
}
