#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include "AutoHandle.h"
#include "RuntimeSettingsFileGuard.h"
#include "SettingsApi.h"
#include "TestSupport.h"

namespace {

const settings_api& api = settingsApi();
const char* const kMarker = "cx_settings_systest";

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Whether the access list the system reports for the file lets everyone
// read it.
bool everyoneMayRead(const std::string& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const UniqueLocalMemory hold(descriptor);
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(everyone);
    CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size);
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) &&
            ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && EqualSid(&ace->SidStart, everyone) &&
            (ace->Mask & FILE_READ_DATA) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(RuntimeSettingsFile, SavedAtItsPathForAllUsersAndReloaded) {
    const testsupport::RuntimeSettingsFileGuard guard;
    ASSERT_FALSE(testsupport::programDataFolder().empty());
    settings_impl::Context* saved = api.createConfig();
    const char* path = nullptr;
    ASSERT_EQ(api.getDefaultPath(saved, &path), 0);
    EXPECT_EQ(std::string(path), guard.file());

    const std::string text = std::string("AUTO_UPDATE=Disable\nlevel=0x0A\n") + kMarker + "\n";
    ASSERT_EQ(api.loadString(saved, text.c_str(), nullptr, nullptr, true, true), 0);
    ASSERT_EQ(api.saveFile(saved, path), 0);
    EXPECT_TRUE(exists(guard.file()));
    EXPECT_TRUE(everyoneMayRead(guard.file())) << guard.file();

    settings_impl::Context* reloaded = api.createConfig();
    ASSERT_EQ(api.loadFile(reloaded, path, nullptr, nullptr, true, true), 0);
    bool equal = false;
    EXPECT_EQ(api.equals(saved, reloaded, &equal), 0);
    EXPECT_TRUE(equal);
    const char* level = nullptr;
    EXPECT_EQ(api.getString(reloaded, "level", &level), 0);
    EXPECT_STREQ(level, "0x0A");

    // Saved again over itself: the text-mode rewrite of an existing file.
    ASSERT_EQ(api.saveFile(reloaded, path), 0);
    EXPECT_EQ(testsupport::readFile(guard.file()),
              std::string("AUTO_UPDATE=Disable\r\n") + kMarker + "\r\nlevel=0x0A\r\n");
    api.destroyConfig(saved);
    api.destroyConfig(reloaded);
}
