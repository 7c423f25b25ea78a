#include <gtest/gtest.h>

#include <windows.h>

#include "FileUtils.h"
#include "AutoHandle.h"
#include "FileTestSupport.h"
#include "LauncherCopies.h"
#include "Log.h"
#include "TestSupport.h"

namespace {

std::string copyAs(const std::string& source, const std::string& folder, const std::string& name) {
    const std::string target = folder + "\\" + name;
    EXPECT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE)) << source;
    return target;
}

} // namespace

TEST(LauncherCopies, RemovalRule) {
    EXPECT_TRUE(IsRemovableLauncherCopy("calyx.exe", Version(8, 0, 20, 1)));
    EXPECT_FALSE(IsRemovableLauncherCopy("calyx.exe", Version(8, 0, 19, 1)));
    EXPECT_TRUE(IsRemovableLauncherCopy("CALYXW.EXE", Version(9, 0, 0, 0)));
    EXPECT_FALSE(IsRemovableLauncherCopy("calyxw.exe", Version(7, 0, 99, 0)));
    EXPECT_TRUE(IsRemovableLauncherCopy("calyxws.exe", Version(11, 0, 20, 0)));
    EXPECT_FALSE(IsRemovableLauncherCopy("calyxws.exe", Version(11, 0, 19, 0)));
    EXPECT_FALSE(IsRemovableLauncherCopy("calyxws.exe", Version(10, 0, 451, 0)));
    EXPECT_TRUE(IsRemovableLauncherCopy("CalyxWS.exe", Version(12, 0, 0, 0)));
}

TEST(LauncherCopies, QualifyingCopiesGoOthersStay) {
    const std::string folder = testsupport::tempDir() + "\\system";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string launcher = testsupport::binaryDir() + "/packages/runtime-bin/calyx.exe";
    const std::string removed = copyAs(launcher, folder, "calyx.exe");        // 8.0.451.10
    const std::string keptOld = copyAs(launcher, folder, "calyxws.exe");      // too old for ws
    const std::string noVersion = copyAs(testsupport::binaryDir() + "/bin/cxrun.exe", folder, "CALYXW.EXE");
    const std::string inUseFolder = testsupport::tempDir() + "\\busy";
    CreateDirectoryA(inUseFolder.c_str(), nullptr);
    const std::string inUse = copyAs(launcher, inUseFolder, "calyx.exe");
    const UniqueHandle held(CreateFileA(inUse.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr));

    EXPECT_NO_THROW(RemoveLauncherCopies({inUseFolder, folder, testsupport::tempDir() + "\\absent"}));
    EXPECT_TRUE(FileUtils::exists(inUse));
    EXPECT_FALSE(FileUtils::exists(removed));
    EXPECT_TRUE(FileUtils::exists(keptOld));
    EXPECT_TRUE(FileUtils::exists(noVersion));
    EXPECT_NE(testsupport::readFile(Logger::defaultLogger().filePath())
                  .find("its file version cannot be read"),
              std::string::npos);
}

TEST(LauncherCopies, SystemFolders) {
    const std::vector<std::string> folders = LauncherCopyFolders();
    ASSERT_FALSE(folders.empty());
    ASSERT_EQ(folders.size(), 2u);  // the test prefix is a 64-bit Windows
    // The first is the real System32: a file put into SysWOW64 is not seen there.
    const std::string name = "\\cx-launcher-probe.txt";
    ASSERT_TRUE(FileUtils::isDirectory(folders[0])) << folders[0];
    ASSERT_TRUE(testsupport::writeFile(folders[1] + name));
    EXPECT_FALSE(FileUtils::exists(folders[0] + name)) << folders[0];
    FileUtils::deleteFile(folders[1] + name);
}
