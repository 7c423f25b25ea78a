#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include "MsiTestFixtures.h"
#include "SysInfo.h"
#include "WrapperOffline.h"

namespace {

void removeIfInstalled(const std::string& productCode) {
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    MsiConfigureProductA(productCode.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
}

} // namespace

TEST(ExecCommand, ResultCodesOfSuccessAndFailure) {
    removeIfInstalled(msitest::goodProductCode());
    msi::InstallData good;
    good.packagePath = msitest::fixturePath("fixture_good.msi");
    EXPECT_EQ(ExecCommand(good), 0);
    removeIfInstalled(msitest::goodProductCode());

    msitest::LogWatch log;
    msi::InstallData failing;
    failing.packagePath = msitest::fixturePath("fixture_failing.msi");
    EXPECT_EQ(ExecCommand(failing), 1603);
    EXPECT_NE(log.written().find("(ExecCommand)]"), std::string::npos) << log.written();

    msi::InstallData missing;
    missing.packagePath = msitest::fixturePath("no_such_package.msi");
    const int missingCode = ExecCommand(missing);
    EXPECT_NE(missingCode, 0);
    EXPECT_NE(missingCode, 1603);
}

// Uses the per-user extraction folder that whole runs of the installer use too.
TEST(WrapperOffline, PackageFolderIsCreatedAndRemoved) {
    const std::string path = GetProductPackagePath(false);
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.find("\\Tolvane\\Calyx\\cxr1.8.0_451\\cxr1.8.0_451.msi"), std::string::npos) << path;
    EXPECT_NE(GetProductPackagePath(true).find("\\cxr1.8.0_451_x64\\cxr1.8.0_451.msi"), std::string::npos);
    const std::string folder = path.substr(0, path.find_last_of('\\'));
    ExtractedPackage package;
    ASSERT_TRUE(ExtractProductPackage(nullptr, path, true, package));
    package.release();
    RemoveExtractionFolders(false);
    RemoveExtractionFolders(true);
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}


// The test program carries no agent package: the folder is made, the write fails.
TEST(WrapperOffline, AgentPackageThatCannotBeWrittenAnswersMinusFive) {
    EXPECT_EQ(ExtractAndInstallAutoUpdate(nullptr, false, true), -5);
    RemoveExtractionFolders(false);
}
