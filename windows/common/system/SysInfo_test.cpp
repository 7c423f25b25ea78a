#include <gtest/gtest.h>

#include <windows.h>

#include "Locale.h"
#include "Resource.h"
#include "SysInfo.h"
#include "resource_ids.h"

namespace {

SysInfo::OsVersion os(unsigned major, unsigned minor, unsigned type, unsigned sp = 0) {
    SysInfo::OsVersion v;
    v.major = major;
    v.minor = minor;
    v.productType = type;
    v.servicePackMajor = sp;
    return v;
}

const std::string& nameOf(const std::vector<uint16_t>& ids) {
    return Locale::bestMatch(ids).name();
}

} // namespace

TEST(SysInfo, OsNamesByClassAndProductType) {
    EXPECT_EQ(SysInfo::osName(os(10, 0, VER_NT_WORKSTATION)), "10.0");
    EXPECT_EQ(SysInfo::osClass(os(10, 0, 1)), 6);
    EXPECT_EQ(SysInfo::osName(os(6, 3, VER_NT_SERVER)), "win2012R2");
    EXPECT_EQ(SysInfo::osName(os(6, 3, VER_NT_WORKSTATION)), "win81");
    EXPECT_EQ(SysInfo::osName(os(6, 2, VER_NT_DOMAIN_CONTROLLER)), "win2012");
    EXPECT_EQ(SysInfo::osName(os(6, 1, VER_NT_WORKSTATION, 1)), "win7-sp1");
    EXPECT_EQ(SysInfo::osName(os(6, 0, VER_NT_SERVER)), "winlong");
    EXPECT_EQ(SysInfo::osName(os(5, 1, VER_NT_WORKSTATION, 3)), "winxp-sp3");
    EXPECT_EQ(SysInfo::osName(os(5, 2, VER_NT_SERVER)), "win2003");
    EXPECT_EQ(SysInfo::osName(os(5, 0, VER_NT_WORKSTATION)), "win32");
    EXPECT_EQ(SysInfo::osName(SysInfo::OsVersion()), "win32");
    EXPECT_EQ(SysInfo::osName(os(6, 4, 1)), "6.4");
}

TEST(SysInfo, MachineAndFolders) {
    EXPECT_GE(SysInfo::getOsClass(), 2);
    EXPECT_EQ(SysInfo::getArchName(), SysInfo::is64BitOs() ? "amd64" : "i586");
    EXPECT_EQ(SysInfo::isWow64(), sizeof(void*) == 4 && SysInfo::is64BitOs());
    EXPECT_EQ(SysInfo::isNative64BitProcess(), sizeof(void*) == 8);
    const std::string cache = SysInfo::getPatchCache(64);
    EXPECT_EQ(cache, SysInfo::getCommonAppDataDir() + "\\Tolvane\\Calyx\\installcache_x64");
    EXPECT_EQ(SysInfo::getPatchCache(32), SysInfo::getCommonAppDataDir() + "\\Tolvane\\Calyx\\installcache");
    EXPECT_THROW(SysInfo::getPatchCache(16), std::runtime_error);
    for (const std::string& dir : {SysInfo::getUserAppDataLowDir(), SysInfo::getSystemDir(),
                                   SysInfo::getWindowsDir(), SysInfo::getCommonProgramFilesDir(),
                                   SysInfo::getTempDir()}) {
        EXPECT_FALSE(dir.empty());
        EXPECT_NE(dir.back(), '\\');
        EXPECT_NE(GetFileAttributesA(dir.c_str()), INVALID_FILE_ATTRIBUTES) << dir;
    }
    EXPECT_NE(SysInfo::getUserAppDataLowDir().find("LocalLow"), std::string::npos);
    if (SysInfo::is64BitOs()) {
        EXPECT_NE(SysInfo::getSystemWow64Dir().find("syswow64"), std::string::npos);
    }
}

TEST(SysInfo, ModulePathIsWholeAndExisting) {
    const std::string path = SysInfo::getProcessModulePath();
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(path.find(".exe"), std::string::npos);
}

TEST(SysInfo, AWindowStationNoUserSeesHasNoInteractiveDesktop) {
    EXPECT_TRUE(SysInfo::hasInteractiveDesktop());
    const HWINSTA own = GetProcessWindowStation();
    const HWINSTA hidden = CreateWindowStationW(L"cx-test-hidden", 0, WINSTA_ALL_ACCESS, nullptr);
    ASSERT_TRUE(hidden && SetProcessWindowStation(hidden));
    EXPECT_FALSE(SysInfo::hasInteractiveDesktop());
    SetProcessWindowStation(own);
    CloseWindowStation(hidden);
}

TEST(Locale, TableLookups) {
    EXPECT_EQ(Locale::fromLangId(1031).name(), "de");
    EXPECT_EQ(Locale::fromLangId(2052).resourceName(), "zh");
    EXPECT_EQ(Locale::fromLangId(1028).resourceName(), "zh_TW");
    try {
        Locale::fromLangId(2055);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("at Locale::fromLangId(): unsupported locale langId: 2055"),
                  std::string::npos) << e.what();
    }
    EXPECT_TRUE(Locale::isSupported(7));
    EXPECT_TRUE(Locale::isSupported(1046));
    EXPECT_FALSE(Locale::isSupported(1031));
    EXPECT_FALSE(Locale::isSupported(0x10009));
}

TEST(Locale, PreferredListsOnBothPaths) {
    // The list the newer systems give: German and Japanese users get their
    // language through the primary id added after each full id.
    EXPECT_EQ(nameOf(Locale::fromPreferredUiLanguageTexts({"0407"})), "de");
    EXPECT_EQ(nameOf(Locale::fromPreferredUiLanguageTexts({"0411", "0409"})), "ja");
    EXPECT_EQ(Locale::fromPreferredUiLanguageTexts({"0c04", "0009"}),
              (std::vector<uint16_t>{0x0c04, 0x04, 0x0009}));
    EXPECT_EQ(nameOf(Locale::fromPreferredUiLanguageTexts({"0c04"})), "zh_TW");
    EXPECT_THROW(Locale::fromPreferredUiLanguageTexts({"zz"}), std::runtime_error);
    EXPECT_THROW(Locale::fromPreferredUiLanguageTexts({""}), std::runtime_error);

    // The older path: thread, user, system ids and English.
    EXPECT_EQ(Locale::fromFallbackIds({0x0407, 0x0409}),
              (std::vector<uint16_t>{0x0407, 7, 0x0409, 9}));
    EXPECT_EQ(nameOf(Locale::fromFallbackIds({0x0407, 0x0409, 1033})), "de");
    EXPECT_EQ(nameOf(Locale::fromFallbackIds({0x0816})), "en");
    EXPECT_EQ(nameOf(Locale::fromFallbackIds({0x0816, 0x041d})), "sv");
    EXPECT_EQ(nameOf({}), "en");
    EXPECT_EQ(nameOf({0x0416}), "pt_BR");

    const std::vector<uint16_t> live = Locale::preferredLanguages();
    EXPECT_FALSE(live.empty());
}

TEST(Resource, CarriedDataAndStrings) {
    size_t size = 0;
    const void* data = Resource(IDR_RUNTIME_PACKAGE, "CALYX_INSTALLER").getPtr(size);
    ASSERT_NE(data, nullptr);
    EXPECT_GT(size, 8192u);
    EXPECT_EQ(memcmp(data, "\xD0\xCF\x11\xE0", 4), 0);  // compound document

    try {
        Resource(999, "CALYX_INSTALLER").getPtr(size);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("cannot find resource (name='#999', type='CALYX_INSTALLER')"),
                  std::string::npos) << e.what();
    }
    EXPECT_EQ(StringResource(4001).utf8(), "test string \xC3\xA9");
    EXPECT_EQ(StringResource(4999).string("fallback"), "fallback");
    EXPECT_EQ(StringResource(116, nullptr, 1033).utf8(), "Calyx Install in Progress");
    EXPECT_EQ(StringResource(116, nullptr, 1031).utf8(), "Calyx-Installation wird ausgef\xC3\xBChrt");
    EXPECT_EQ(StringResource(116, nullptr, 2055).utf8(), "Calyx Install in Progress");
}

TEST(Resource, SavedFileHoldsTheBytes) {
    std::string path = SysInfo::getTempDir() + "\\package.msi";
    Resource resource(IDR_RUNTIME_PACKAGE, "CALYX_INSTALLER");
    resource.saveToFile(path);
    ASSERT_NE(path.find(".tmp"), std::string::npos);
    size_t size = 0;
    const char* data = static_cast<const char*>(resource.getPtr(size));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string bytes(size + 1, '\0');
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    DeleteFileA(path.c_str());
    ASSERT_EQ(read, size);
    EXPECT_EQ(memcmp(bytes.data(), data, size), 0);
}
