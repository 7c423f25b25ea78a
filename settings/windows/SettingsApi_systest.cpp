#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <shlobj.h>

#include <fstream>

#include "AutoHandle.h"
#include "SettingsApi.h"
#include "TestSupport.h"
#include "tstrings.h"

namespace {

const settings_api& api = settingsApi();
const char* const kMarker = "cx_settings_systest";

std::string programData() {
    PWSTR folder = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &folder) != S_OK) return "";
    const std::string result = tstrings::toUtf8(folder);
    CoTaskMemFree(folder);
    return result;
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Puts the machine's runtime settings file and its folders back as they
// were; a file left by a crashed run of this test (it holds the marker key)
// is removed rather than kept.
class RuntimeFileGuard {
public:
    RuntimeFileGuard()
        : vendor_(programData() + "\\Tolvane"), product_(vendor_ + "\\Calyx"),
          file_(product_ + "\\calyx.settings.cfg"), vendorExisted_(exists(vendor_)),
          productExisted_(exists(product_)) {
        const std::string old = testsupport::readFile(file_);
        fileExisted_ = exists(file_) && old.find(kMarker) == std::string::npos;
        if (fileExisted_) saved_ = old;
    }
    ~RuntimeFileGuard() {
        if (fileExisted_) {
            std::ofstream(file_, std::ios::binary | std::ios::trunc) << saved_;
            return;
        }
        DeleteFileA(file_.c_str());
        if (!productExisted_) RemoveDirectoryA(product_.c_str());
        if (!vendorExisted_) RemoveDirectoryA(vendor_.c_str());
    }
    const std::string& file() const { return file_; }

private:
    std::string vendor_;
    std::string product_;
    std::string file_;
    bool vendorExisted_;
    bool productExisted_;
    bool fileExisted_ = false;
    std::string saved_;
};

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
    const RuntimeFileGuard guard;
    ASSERT_FALSE(programData().empty());
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
