#include <gtest/gtest.h>

#include <windows.h>

#include "AutoHandle.h"
#include "HeldChild.h"
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

// Takes the flag below args[0] and holds it until released.
TEST_CHILD_MAIN(holdInstallFlag) {
    InstallFlag flag;
    if (!flag.take(args[0])) return 3;
    return HeldChild::holdUntilReleased(args) ? 0 : 5;
}

// For scripts: takes the flag below args[0], creates the file args[1] once
// it holds it, and keeps it for args[2] seconds.
TEST_CHILD_MAIN(holdInstallFlagFor) {
    if (args.size() != 3) return 2;
    InstallFlag flag;
    if (!flag.take(args[0])) return 3;
    UniqueHandle marker(CreateFileA(args[1].c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    marker.reset();
    Sleep(static_cast<DWORD>(std::stoul(args[2]) * 1000));
    return 0;
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
    HeldChild child("holdInstallFlag", {baseFolder()});
    ASSERT_TRUE(child.ready());
    EXPECT_TRUE(InstallFlag::installationInProgress(baseFolder()));
    EXPECT_TRUE(InstallFlag::installationInProgress(baseFolder()));
    EXPECT_EQ(child.release(), 0u);
    EXPECT_FALSE(InstallFlag::installationInProgress(baseFolder()));
}
