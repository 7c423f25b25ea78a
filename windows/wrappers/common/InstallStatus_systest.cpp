#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "InstallStatus.h"
#include "FileTestSupport.h"
#include "SysInfo.h"
#include "FileUtils.h"
#include "InstallerKeys.h"
#include "Registry.h"
#include "RegistryTestKey.h"

namespace {

// The shared keys lie in a private tree: the machine's own stay as they are.
class InstallStatusTest : public ::testing::Test {
protected:
    RegistryTestKey tree{Registry::currentUser()};
    InstallerKeys::ScopedRoot root{tree.key()};
    const Registry& machine() const { return tree.key(); }
};

} // namespace

TEST_F(InstallStatusTest, ClearWithoutVendorKeySucceeds) {
    EXPECT_EQ(ClearMSIStatus(), 0);
    DWORD status = 7;
    EXPECT_NE(GetMSIStatus(&status, nullptr), 0);
    EXPECT_EQ(status, 7u);
}

TEST_F(InstallStatusTest, StatusValuesAreReadThenCleared) {
    const Registry key = Registry::open(machine(), "SOFTWARE\\Calyxware", Registry::Mode::Write);
    key.setDword("MSIStatusError", 1603);
    key.setDword("MSIStatusExtendedError", 1722);
    DWORD status = 0;
    DWORD extended = 0;
    EXPECT_EQ(GetMSIStatus(&status, &extended), 0);
    EXPECT_EQ(status, 1603u);
    EXPECT_EQ(extended, 1722u);
    EXPECT_EQ(ClearMSIStatus(), 0);
    EXPECT_FALSE(key.valueExists("MSIStatusError"));
    EXPECT_FALSE(key.valueExists("MSIStatusExtendedError"));
    EXPECT_EQ(ClearMSIStatus(), 0);
}

TEST_F(InstallStatusTest, VendorValuesAndSilentMarker) {
    SetCalyxwareKey("InstallStatus", "reinstall");
    std::string text;
    EXPECT_TRUE(ReadCalyxwareValue("InstallStatus", text, 512));
    EXPECT_EQ(text, "reinstall");
    EXPECT_FALSE(ReadCalyxwareValue("InstallStatus", text, 9));
    ResetInstallStatus();
    EXPECT_FALSE(Registry::open(machine(), "SOFTWARE\\Calyxware").valueExists("InstallStatus"));
    EXPECT_FALSE(ReadCalyxwareValue("InstallStatus", text, 512));

    EXPECT_EQ(MarkSilentInstall(), 0);
    EXPECT_TRUE(machine().keyExists("SOFTWARE\\Calyxware\\SilentInstall"));
    EndSilentInstall();
    EXPECT_FALSE(machine().keyExists("SOFTWARE\\Calyxware\\SilentInstall"));
}

TEST_F(InstallStatusTest, PolicyValuesAreWrittenAndRemoved) {
    EXPECT_TRUE(SetPolicyValue("SE", "Country"));
    EXPECT_EQ(Registry::open(machine(), InstallerKeys::path(SharedKey::Policy)).getString("Country"), "SE");
    EXPECT_TRUE(SetPolicyValue("", "Country"));
    EXPECT_FALSE(Registry::open(machine(), InstallerKeys::path(SharedKey::Policy)).valueExists("Country"));
    EXPECT_FALSE(SetPolicyValue("", "Country"));
}

TEST_F(InstallStatusTest, SchedulerEntryAndDefaultFolder) {
    const Registry runKey = InstallerKeys::create(SharedKey::Run);
    const std::string folder = SysInfo::getCommonProgramFilesDir() + "\\Calyx\\Calyx Update";
    const std::string scheduler = folder + "\\cxtimer.exe";
    // An agent that an earlier install left in the prefix would stand in for the missing one.
    const bool agentInstalled = FileUtils::exists(scheduler);
    if (agentInstalled) FileUtils::moveFile(scheduler, scheduler + ".aside", MOVEFILE_REPLACE_EXISTING);
    struct Case {
        bool installed;
        bool written;
    } cases[] = {{false, false}, {true, true}};
    for (const Case& c : cases) {
        if (runKey.valueExists("OrvelCalyxUpdateSched")) runKey.deleteValue("OrvelCalyxUpdateSched");
        if (c.installed) {
            FileUtils::createDirectory(folder);
            testsupport::writeFile(scheduler, "MZ");
        }
        EnsureSchedulerEntry();
        EXPECT_EQ(runKey.valueExists("OrvelCalyxUpdateSched"), c.written) << c.installed;
    }
    EXPECT_EQ(runKey.getString("OrvelCalyxUpdateSched"), "\"" + scheduler + "\"");
    runKey.setString("OrvelCalyxUpdateSched", "kept");
    EnsureSchedulerEntry();
    EXPECT_EQ(runKey.getString("OrvelCalyxUpdateSched"), "kept");
    runKey.deleteValue("OrvelCalyxUpdateSched");
    FileUtils::deleteFile(scheduler);
    if (agentInstalled) FileUtils::moveFile(scheduler + ".aside", scheduler, MOVEFILE_REPLACE_EXISTING);

    // A prefix without its 32-bit half has no "(x86)" folder: the native one serves.
    EXPECT_THAT(GetDefaultInstallFolder(false),
                ::testing::AnyOf("C:\\Program Files (x86)\\Calyx\\cxr1.8.0_451",
                      "C:\\Program Files\\Calyx\\cxr1.8.0_451"));
    EXPECT_EQ(GetDefaultInstallFolder(true), "C:\\Program Files\\Calyx\\cxr1.8.0_451");
}
