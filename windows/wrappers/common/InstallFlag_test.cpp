#include <gtest/gtest.h>

#include <windows.h>

#include "AutoHandle.h"
#include "InstallFlag.h"
#include "TestSupport.h"

namespace {

std::string baseFolder() {
    const std::string dir = testsupport::tempDir() + "\\flagbase";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

// Takes the flag below args[0], signals args[1], waits for args[2].
TEST_CHILD_MAIN(holdInstallFlag) {
    InstallFlag flag;
    if (!flag.take(args[0])) return 3;
    UniqueHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, args[1].c_str()));
    UniqueHandle release(OpenEventA(SYNCHRONIZE, FALSE, args[2].c_str()));
    if (!ready || !release) return 4;
    SetEvent(ready.get());
    return WaitForSingleObject(release.get(), 60000) == WAIT_OBJECT_0 ? 0 : 5;
}

TEST(InstallFlag, PathCreatesItsFolders) {
    std::string path;
    ASSERT_TRUE(InstallFlag::getFlagPath(baseFolder(), path));
    EXPECT_EQ(path, baseFolder() + "\\Tolvane\\Calyx\\CALYX_INSTALL_FLAG");
    EXPECT_TRUE(exists(baseFolder() + "\\Tolvane\\Calyx"));
    EXPECT_FALSE(InstallFlag::getFlagPath(baseFolder() + "\\missing\\deeper", path));
}

TEST(InstallFlag, StaleFlagIsRemovedAndHeldFlagBlocksASecondTake) {
    std::string path;
    ASSERT_TRUE(InstallFlag::getFlagPath(baseFolder(), path));
    UniqueHandle stale(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(stale.valid());
    stale.reset();
    EXPECT_FALSE(InstallFlag::installationInProgress(baseFolder()));
    EXPECT_FALSE(exists(path));

    InstallFlag first;
    ASSERT_TRUE(first.take(baseFolder()));
    EXPECT_TRUE(exists(path));
    InstallFlag second;
    EXPECT_FALSE(second.take(baseFolder()));
    EXPECT_TRUE(InstallFlag::installationInProgress(baseFolder()));
    first.release();
    EXPECT_FALSE(exists(path));
    EXPECT_FALSE(InstallFlag::installationInProgress(baseFolder()));
}

TEST(InstallFlag, AnotherProcessHoldingTheFlagIsSeen) {
    const std::string suffix = std::to_string(GetCurrentProcessId());
    UniqueHandle ready(CreateEventA(nullptr, TRUE, FALSE, ("cxflag-ready-" + suffix).c_str()));
    UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, ("cxflag-release-" + suffix).c_str()));
    std::string commandLine = "\"" + testsupport::selfPath() + "\" --cx-child holdInstallFlag \"" +
                              baseFolder() + "\" cxflag-ready-" + suffix + " cxflag-release-" + suffix;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi));
    UniqueHandle process(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    ASSERT_EQ(WaitForSingleObject(ready.get(), 30000), WAIT_OBJECT_0);
    EXPECT_TRUE(InstallFlag::installationInProgress(baseFolder()));
    EXPECT_TRUE(InstallFlag::installationInProgress(baseFolder()));
    SetEvent(release.get());
    ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(InstallFlag::installationInProgress(baseFolder()));
}
