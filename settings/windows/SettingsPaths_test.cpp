#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "SettingsStatusOf.h"
#include "SettingsPaths.h"
#include "TestSupport.h"
#include "tstrings.h"

using namespace settings_impl;

namespace {

// Restores the current folder when the test ends.
struct CurrentFolder {
    wchar_t saved[MAX_PATH + 1] = {};
    explicit CurrentFolder(const std::string& folder) {
        GetCurrentDirectoryW(MAX_PATH + 1, saved);
        SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentFolder() { SetCurrentDirectoryW(saved); }
};

std::string forwardSlashes(std::string s) {
    for (char& c : s) {
        if (c == '\\') c = '/';
    }
    return s;
}

} // namespace

TEST(SettingsPaths, RuntimeSettingsFileIsBelowAllUsersApplicationData) {
    PWSTR folder = nullptr;
    ASSERT_EQ(SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &folder), S_OK);
    const std::string expected = tstrings::toUtf8(folder) + "\\Tolvane\\Calyx\\calyx.settings.cfg";
    CoTaskMemFree(folder);
    EXPECT_EQ(runtimeSettingsPath(), expected);
}

TEST(SettingsPaths, RelativeNamesAreBelowTheCurrentFolder) {
    const std::string folder = testsupport::tempDir();
    const CurrentFolder current(folder);
    const FileName name = canonicalFileName("sub\\..\\x.cfg");
    EXPECT_TRUE(name.isCanonical());
    EXPECT_EQ(name.text(), forwardSlashes(folder) + "/x.cfg");
    EXPECT_EQ(canonicalFileName("C:\\a\\.\\b").text(), "C:/a/b");
}

TEST(SettingsPaths, ParentFoldersAreCreated) {
    const std::string root = testsupport::tempDir() + "\\parents";
    createParentDirectories(canonicalFileName(root + "\\a\\b\\file.cfg"));
    EXPECT_NE(GetFileAttributesA((root + "\\a\\b").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((root + "\\a\\b\\file.cfg").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(settingsStatusOf([] {
                  createParentDirectories(canonicalFileName("Q:\\no\\such\\drive.cfg"));
              }),
              311);
}

TEST(SettingsPaths, WidePathRefusesTextThatDoesNotConvert) {
    EXPECT_EQ(widePath("C:/\xC3\xA9"), L"C:/\u00E9");
    EXPECT_THROW(widePath("C:/\xF8\x88\x80\x80\x80"), std::runtime_error);
}
