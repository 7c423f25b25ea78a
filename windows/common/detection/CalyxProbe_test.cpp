#include <gtest/gtest.h>

#include "CalyxProbe.h"
#include "DetectionFactsFake.h"
#include "MsiTestFixtures.h"

namespace {

const char kCode[] = "{8B3F1D62-E57A-41B8-A2C6-7D32142071CD}";
const char kHome[] = "C:\\Program Files\\Calyx\\cxr142";
const std::string kUninstall =
    std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kCode;
const char kRuntimeKey[] = "Software\\Calyxware\\Calyx Runtime Environment\\1.4.2_71";

InstalledProduct entry(int type = CXR, int bits = 32, const char* version = "1.4.2_071") {
    InstalledProduct e;
    e.productCode = kCode;
    e.type = type;
    e.bits = bits;
    if (version) e.version = CalyxVersion(version);
    return e;
}

class CalyxProbeTest : public testing::Test {
protected:
    DetectionFactsFake facts;
    CalyxProbe probe{facts};
    msitest::LogWatch log;
};

} // namespace

TEST_F(CalyxProbeTest, TypeFromTheProductName) {
    facts.productProperties[{kCode, "ProductName"}] = "Calyx Development Kit 6 (64-bit)";
    EXPECT_EQ(probe.detectType(kCode), CXS);
    facts.productProperties[{kCode, "ProductName"}] = "Calyx 8 Update 451";
    EXPECT_EQ(probe.detectType(kCode), CXR);
    facts.productProperties.clear();
    EXPECT_EQ(probe.detectType(kCode), CXR);
    EXPECT_NE(log.written().find("Detect type of " + std::string(kCode) + " Calyx installation"),
              std::string::npos);
}

TEST_F(CalyxProbeTest, BitsFromTheViewOfTheUninstallKey) {
    facts.keys.insert({RegistryView::Bits32, kUninstall});
    EXPECT_EQ(probe.detectBits(kCode), 32);
    facts.keys.insert({RegistryView::Bits64, kUninstall});
    EXPECT_EQ(probe.detectBits(kCode), 64);
    EXPECT_NE(log.written().find("WARNING: Registry key [" + kUninstall +
                                 "] exists in both 32bit and 64bit HKLM registry hives. "
                                 "Use from 64bit hive."),
              std::string::npos)
        << log.written();
    // A 32-bit Windows has one view only.
    facts.is64 = false;
    EXPECT_EQ(probe.detectBits(kCode), 32);
}

TEST_F(CalyxProbeTest, BitsOfAProductWithoutUninstallKeyRaise) {
    EXPECT_NE(errorOf([&] { probe.detectBits(kCode); })
                  .find("Registry key '" + kUninstall + "' not found in none of HKLM hives"),
              std::string::npos);
    facts.keys.insert({RegistryView::Bits64, kUninstall});
    EXPECT_EQ(probe.detectBits(kCode), 64);
}

TEST_F(CalyxProbeTest, HomeFromInstallLocationWithoutTrailingSeparator) {
    facts.productProperties[{kCode, "InstallLocation"}] = std::string(kHome) + "\\";
    EXPECT_EQ(probe.findHomeDir(entry()), kHome);
    EXPECT_EQ(log.written().find("Unexpected empty value"), std::string::npos);
}

TEST_F(CalyxProbeTest, HomeFromDisplayIconWhenInstallLocationIsEmpty) {
    facts.addLaunchers(kHome);
    facts.values[{RegistryView::Bits32, kUninstall, "DisplayIcon"}] =
        std::string(kHome) + "\\bin\\calyxw.exe";
    EXPECT_EQ(probe.findHomeDir(entry()), kHome);
    const std::string written = log.written();
    EXPECT_NE(written.find("WARNING: Unexpected empty value of [InstallLocation] product property "
                           "of " + std::string(kCode) +
                           " Calyx installation. Fall back to heuristic home directory detection."),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("Try home directory from [ProductIcon] product property of "),
              std::string::npos);
    EXPECT_NE(written.find("Try home directory from [DisplayIcon] registry value of "),
              std::string::npos);
    EXPECT_EQ(written.find("Try home directory from [Readme]"), std::string::npos);
}

TEST_F(CalyxProbeTest, HomeFallbacksInOrder) {
    facts.addLaunchers("C:\\icon");
    facts.addLaunchers("D:\\readme");
    facts.values[{RegistryView::Bits32, kUninstall, "Readme"}] = "D:\\readme\\docs\\README.txt";
    facts.values[{RegistryView::Bits32, kRuntimeKey, "CalyxHome"}] = "E:\\home\\";
    EXPECT_EQ(probe.findHomeDir(entry()), "D:\\readme");
    facts.productProperties[{kCode, "ProductIcon"}] = "C:\\icon\\bin\\calyx.ico";
    EXPECT_EQ(probe.findHomeDir(entry()), "C:\\icon");
    facts.values.erase({RegistryView::Bits32, kUninstall, "Readme"});
    facts.productProperties.clear();
    EXPECT_EQ(probe.findHomeDir(entry()), "E:\\home");
    // The product's own key is read in the product's view.
    EXPECT_EQ(probe.findHomeDir(entry(CXR, 64)), "");
}

TEST_F(CalyxProbeTest, HomeOfAProductWithoutOwnKeyIsEmptyAndLogged) {
    EXPECT_EQ(probe.findHomeDir(entry(GLINT, 32, nullptr)), "");
    EXPECT_NE(log.written().find("Unknown Calyx installation type: 2"), std::string::npos);
}

TEST_F(CalyxProbeTest, HomeDirOfAFilePath) {
    facts.addLaunchers("C:\\cxr");
    facts.addLaunchers("C:\\cxs", true);
    facts.addLaunchers("C:\\half");
    EXPECT_EQ(probe.homeDirOf("C:\\cxr\\bin\\calyxw.exe,0", CXR), "C:\\cxr");
    EXPECT_EQ(probe.homeDirOf("C:\\cxr\\", CXR), "C:\\cxr");
    EXPECT_EQ(probe.homeDirOf("C:\\cxs\\bin\\calyxc.exe", CXS), "C:\\cxs");
    // A development kit needs both launchers.
    EXPECT_EQ(probe.homeDirOf("C:\\half\\bin\\calyx.exe", CXS), "");
    EXPECT_EQ(probe.homeDirOf("C:\\half\\bin\\calyx.exe", CXR), "C:\\half");
    EXPECT_EQ(probe.homeDirOf("C:\\cxr\\bin\\calyx.exe", GLINT), "");
    // Relative or quoted paths are not tried.
    EXPECT_EQ(probe.homeDirOf("cxr\\bin\\calyx.exe", CXR), "");
    EXPECT_EQ(probe.homeDirOf("\"C:\\cxr\\bin\\calyx.exe\"", CXR), "");
    EXPECT_EQ(probe.homeDirOf("", CXR), "");
    EXPECT_EQ(probe.homeDirOf("C:\\elsewhere\\bin\\calyx.exe", CXR), "");
    EXPECT_EQ(probe.homeDirOf("\\\\\\\\", CXR), "");
}

TEST_F(CalyxProbeTest, ArchiveManifestReplacesTheVersion) {
    const std::string archive = std::string(kHome) + "\\lib\\rt.cxa";
    facts.files.insert(archive);
    facts.archives[archive]["META-INF/MANIFEST.MF"] =
        "Manifest-Version: 1.0\r\nImplementation-Version: 1.4.2_19\r\n\r\n";
    const CalyxVersion adjusted = probe.adjustVersion(entry(), kHome);
    EXPECT_EQ(adjusted.toString(), "1.4.2_19");
    EXPECT_EQ(facts.lastZipLimit, uint64_t(1) << 20);
    EXPECT_NE(log.written().find("INFO:  Detected version mapping from 1.4.2_71 to 1.4.2_19 in " +
                                 std::string(kCode) + " Calyx installation."),
              std::string::npos)
        << log.written();
}

TEST_F(CalyxProbeTest, ArchiveNamingTheSameVersionLogsNoMapping) {
    const std::string archive = std::string(kHome) + "\\lib\\rt.cxa";
    facts.files.insert(archive);
    facts.archives[archive]["META-INF/MANIFEST.MF"] = "Implementation-Version: 1.4.2_071\n";
    EXPECT_EQ(probe.adjustVersion(entry(), kHome).toString(), "1.4.2_71");
    EXPECT_EQ(log.written().find("Detected version mapping"), std::string::npos);
}

TEST_F(CalyxProbeTest, UnusableArchiveKeepsTheVersion) {
    EXPECT_EQ(probe.adjustVersion(entry(), kHome).toString(), "1.4.2_71");
    const std::string archive = std::string(kHome) + "\\lib\\rt.cxa";
    facts.files.insert(archive);
    EXPECT_EQ(probe.adjustVersion(entry(), kHome).toString(), "1.4.2_71");
    EXPECT_NE(log.written().find("no entry META-INF/MANIFEST.MF"), std::string::npos);
    const std::pair<const char*, const char*> manifests[] = {
        {"Created-By: x\n", "No Implementation-Version in the manifest: settings status 303"},
        {"Implementation-Version: 1.4.2_19\n continued line\n", "settings status 313"},
        {"Implementation-Version: 1.4.2_19\n\xff\n", "settings status 314"},
        {"Implementation-Version: 5.0.1\n", "Failed to parse [5.0.1] version string"},
    };
    for (const auto& manifest : manifests) {
        facts.archives[archive]["META-INF/MANIFEST.MF"] = manifest.first;
        msitest::LogWatch attempt;
        EXPECT_EQ(probe.adjustVersion(entry(), kHome).toString(), "1.4.2_71") << manifest.first;
        EXPECT_NE(attempt.written().find(manifest.second), std::string::npos) << attempt.written();
    }
}

TEST_F(CalyxProbeTest, FullVersionFromThePackageProperties) {
    facts.productProperties[{kCode, "CXS_VERSION"}] = "1.4.2_071-b02";
    EXPECT_EQ(probe.detectFullVersionFromMsi(entry()).toString(), "1.4.2_71-b02");
    facts.productProperties[{kCode, "FullVersion"}] = "1.4.2_071-b03";
    EXPECT_EQ(probe.detectFullVersionFromMsi(entry()).toString(), "1.4.2_71-b03");
    EXPECT_EQ(log.written().find("Should have the same family"), std::string::npos);
}

TEST_F(CalyxProbeTest, FullVersionOfAnotherFamilyIsTakenWithAWarning) {
    facts.productProperties[{kCode, "FullVersion"}] = "1.5.0_10-b03";
    EXPECT_EQ(probe.detectFullVersionFromMsi(entry()).toString(), "1.5.0_10-b03");
    EXPECT_NE(log.written().find(std::string(kCode) +
                                 ": Given version is [1.4.2_71]; Value of \"FullVersion\" MSI "
                                 "property is [1.5.0_10-b03]. Should have the same family."),
              std::string::npos)
        << log.written();
}

TEST_F(CalyxProbeTest, PackagePropertiesThatAddNothingLeaveTheVersion) {
    EXPECT_EQ(probe.detectFullVersionFromMsi(entry()).toString(), "1.4.2_71");
    facts.productProperties[{kCode, "FullVersion"}] = "1.4.2";
    EXPECT_EQ(probe.detectFullVersionFromMsi(entry()).toString(), "1.4.2_71");
    facts.productProperties[{kCode, "FullVersion"}] = "not a version";
    EXPECT_EQ(probe.detectFullVersionFromMsi(entry()).toString(), "1.4.2_71");
    EXPECT_NE(log.written().find("Failed to parse [not a version]"), std::string::npos);
}

TEST_F(CalyxProbeTest, VersionOfAProductFoundByUpgradeCodeComesFromProperties) {
    facts.productProperties[{kCode, "CXS_VERSION"}] = "17.0.1+3";
    const CalyxVersion version = probe.detectFullVersion(entry(CXS, 32, nullptr), "");
    EXPECT_EQ(version.toString(), "17.0.1+3");
    EXPECT_EQ(log.written().find("Should have the same family"), std::string::npos);
}

TEST_F(CalyxProbeTest, BuildNumberFromTheLauncherFileVersion) {
    facts.fileVersions[std::string(kHome) + "\\bin\\calyx.exe"] = Version(4, 2, 710, 17);
    EXPECT_EQ(probe.detectFullVersionFromHomeDir(entry(), kHome).toString(), "1.4.2_71-b17");
    facts.fileVersions[std::string(kHome) + "\\bin\\calyx.exe"] = Version(5, 2, 710, 17);
    EXPECT_EQ(probe.detectFullVersionFromHomeDir(entry(), kHome).toString(), "1.4.2_71");
    EXPECT_NE(log.written().find("Given version is [1.4.2_71]; Value of file version extracted "
                                 "from " + std::string(kHome) + "\\bin\\calyx.exe is "
                                 "[5.2.710.17]. Unexpected components in file version."),
              std::string::npos)
        << log.written();
    // A build number of 0 makes no version.
    facts.fileVersions[std::string(kHome) + "\\bin\\calyx.exe"] = Version(4, 2, 710, 0);
    EXPECT_EQ(probe.detectFullVersionFromHomeDir(entry(), kHome).toString(), "1.4.2_71");
}

TEST_F(CalyxProbeTest, MostCompleteCandidateWinsEntryOnTies) {
    const std::string launcher = std::string(kHome) + "\\bin\\calyx.exe";
    facts.fileVersions[launcher] = Version(4, 2, 710, 17);
    EXPECT_EQ(probe.detectFullVersion(entry(), kHome).toString(), "1.4.2_71-b17");
    // Package property and launcher both give five items: the property comes first.
    facts.productProperties[{kCode, "FullVersion"}] = "1.4.2_071-b03";
    EXPECT_EQ(probe.detectFullVersion(entry(), kHome).toString(), "1.4.2_71-b03");
    // Without a home folder the launcher is not asked.
    facts.productProperties.clear();
    EXPECT_EQ(probe.detectFullVersion(entry(), "").toString(), "1.4.2_71");
}

TEST_F(CalyxProbeTest, ModeFromTheProductKey) {
    EXPECT_EQ(probe.detectCxrMode(entry()), CALYX_MODE_NORMAL);
    facts.values[{RegistryView::Bits32, kRuntimeKey, "MSI\\MODE"}] = "s";
    EXPECT_EQ(probe.detectCxrMode(entry()), CALYX_MODE_STATIC);
    facts.values[{RegistryView::Bits32, kRuntimeKey, "MSI\\MODE"}] = "S";
    EXPECT_EQ(probe.detectCxrMode(entry()), CALYX_MODE_STATIC);
    EXPECT_EQ(probe.detectCxrMode(entry(CXR, 64)), CALYX_MODE_NORMAL);
    facts.values[{RegistryView::Bits32, kRuntimeKey, "MSI\\MODE"}] = "SS";
    EXPECT_EQ(probe.detectCxrMode(entry()), CALYX_MODE_NORMAL);
    // A runtime whose version names no key.
    EXPECT_EQ(probe.detectCxrMode(entry(CXR, 32, nullptr)), CALYX_MODE_NORMAL);
    EXPECT_NE(log.written().find("unknown version tag"), std::string::npos);
}

TEST_F(CalyxProbeTest, CompleteRecordOfARuntime) {
    facts.productProperties[{kCode, "InstallLocation"}] = std::string(kHome) + "\\";
    const std::string archive = std::string(kHome) + "\\lib\\rt.cxa";
    facts.files.insert(archive);
    facts.archives[archive]["META-INF/MANIFEST.MF"] = "Implementation-Version: 1.4.2_19\n";
    facts.fileVersions[std::string(kHome) + "\\bin\\calyx.exe"] = Version(4, 2, 190, 3);
    facts.values[{RegistryView::Bits32, "Software\\Calyxware\\Calyx Runtime Environment\\1.4.2_19",
                  "MSI\\MODE"}] = "S";
    const InstalledCalyx record = probe.getInstalledCalyx(entry());
    EXPECT_EQ(record.productCode(), kCode);
    EXPECT_EQ(record.type(), CXR);
    EXPECT_EQ(record.bits(), 32);
    EXPECT_EQ(record.fullVersion().toString(), "1.4.2_19-b03");
    EXPECT_EQ(record.homeDir(), kHome);
    EXPECT_EQ(record.mode(), CALYX_MODE_STATIC);
    EXPECT_NE(log.written().find("TRACE: InstalledCalyx(1.4.2_19-b03|Full version unknown|CXR|32bit|" +
                                 std::string(kHome) + "|" + kCode + "|20)"),
              std::string::npos)
        << log.written();
}

TEST_F(CalyxProbeTest, DevelopmentKitAndGlintHaveNoMode) {
    facts.productProperties[{kCode, "InstallLocation"}] = "C:\\kit";
    facts.productProperties[{kCode, "FullVersion"}] = "1.6.0_45-b06";
    const InstalledCalyx kit = probe.getInstalledCalyx(entry(CXS, 64, "1.6.0"));
    EXPECT_EQ(kit.mode(), CALYX_MODE_NONE);
    EXPECT_EQ(kit.fullVersion().toString(), "1.6.0_45-b06");
    // The archive is a runtime's only.
    facts.files.insert("C:\\kit\\lib\\rt.cxa");
    EXPECT_EQ(probe.getInstalledCalyx(entry(CXS, 64, "1.6.0")).fullVersion().toString(),
              "1.6.0_45-b06");
    EXPECT_EQ(facts.lastZipLimit, 0u);

    const InstalledCalyx glint = probe.getInstalledCalyx(entry(GLINT, 32, nullptr));
    EXPECT_EQ(glint.mode(), CALYX_MODE_NONE);
    EXPECT_EQ(glint.fullVersion().count(), 0u);
    EXPECT_EQ(glint.homeDir(), "C:\\kit");
}

TEST_F(CalyxProbeTest, RecordNeedsKnownBits) {
    facts.productProperties[{kCode, "InstallLocation"}] = kHome;
    EXPECT_NE(errorOf([&] { probe.getInstalledCalyx(entry(GLINT, 16, nullptr)); })
                  .find("Unknown bits value: 16"),
              std::string::npos);
}
