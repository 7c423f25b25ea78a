#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>

#include "FileTestSupport.h"
#include "InstallConfigData.h"
#include "MessageBoxRecorder.h"
#include "RuntimeSettingsFileGuard.h"
#include "SettingsException.h"
#include "TestSupport.h"
#include "tstrings.h"

using testsupport::recordedMessageBoxes;

namespace {

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Every run starts without a runtime settings file, whatever the machine
// had; the guard puts the machine's file back afterwards.
class InstallConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        recordedMessageBoxes().clear();
        DeleteFileA(guard.file().c_str());
        logStart = testsupport::logText().size();
    }

    // What this test logged.
    std::string log() const { return testsupport::logText().substr(logStart); }

    int load(const std::string& args, bool enterprise = false) {
        config.reset(new InstallConfigData(nullptr, enterprise, testsupport::recordMessageBox));
        config->setLanguage(1033);
        return config->LoadConfigSettings(tstrings::toUtf16("cxroffline.exe " + args));
    }

    void putRuntimeFile(const std::string& text) {
        const std::string folder = guard.file().substr(0, guard.file().rfind('\\'));
        CreateDirectoryA(folder.substr(0, folder.rfind('\\')).c_str(), nullptr);
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(testsupport::writeFile(guard.file(), text));
    }

    // The file's text with CR LF read as LF.
    std::string runtimeText() const {
        std::string text = testsupport::readFile(guard.file());
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return text;
    }

    std::string writeConfigFile(const std::string& name, const std::string& text) {
        const std::string path = testsupport::tempDir() + "\\" + name;
        EXPECT_TRUE(testsupport::writeFile(path, text));
        return path;
    }

    // The text of the one box shown.
    std::string shownText() const {
        EXPECT_EQ(recordedMessageBoxes().size(), 1u);
        return recordedMessageBoxes().empty() ? "" : recordedMessageBoxes().back().text;
    }

    testsupport::RuntimeSettingsFileGuard guard;
    std::unique_ptr<InstallConfigData> config;
    size_t logStart = 0;
};

const char* const kSwitchErrors = "There are errors in the following switches:\n";

} // namespace

TEST_F(InstallConfigTest, DefaultsWithoutAnySource) {
    ASSERT_EQ(load(""), 0);
    EXPECT_TRUE(config->isEnabled("AUTO_UPDATE"));
    EXPECT_TRUE(config->isEnabled("web_analytics"));
    EXPECT_FALSE(config->isEnabled("STATIC"));
    EXPECT_FALSE(config->isEnabled("NO_VERIFY"));
    EXPECT_FALSE(config->isSilent());
    EXPECT_FALSE(config->hasKey("CMDLINE"));
    EXPECT_FALSE(config->hasKey("MSI_CMDLINE"));
    EXPECT_EQ(config->getAddLocal("ALL"), "ALL");
    EXPECT_FALSE(config->IsInstallerEnterprise());
    EXPECT_THROW(config->hasKey("NOT_A_KEY"), std::logic_error);
    EXPECT_TRUE(recordedMessageBoxes().empty());
    const std::string logged = log();
    EXPECT_TRUE(contains(logged, "Runtime configuration file doesn't exist."));
    EXPECT_TRUE(contains(logged, "|------!!!!Working config!!!!--------|\n\nINSTALL_SILENT = Disable (0)\n"));
}

TEST_F(InstallConfigTest, SilentForms) {
    for (const char* args : {"INSTALL_SILENT=1", "install_silent=Enable", "/s", "/S", "-download"}) {
        ASSERT_EQ(load(args), 0) << args;
        EXPECT_TRUE(config->isSilent()) << args;
    }
    ASSERT_EQ(load("INSTALL_SILENT=0"), 0);
    EXPECT_FALSE(config->isSilent());
}

TEST_F(InstallConfigTest, BadValueReportedWithItsArgument) {
    EXPECT_NE(load("INSTALL_SILENT=yes"), 0);
    ASSERT_EQ(recordedMessageBoxes().size(), 1u);
    EXPECT_EQ(recordedMessageBoxes()[0].title, "Calyx Installation Not Completed");
    EXPECT_EQ(recordedMessageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(contains(shownText(), std::string(kSwitchErrors) + "\"INSTALL_SILENT=yes\";."));
    EXPECT_TRUE(contains(log(), "Loading arg INSTALL_SILENT=yes failed with 313"));
}

TEST_F(InstallConfigTest, EveryBadSwitchInOneMessage) {
    EXPECT_NE(load("/bogus STATIC=Enable /s=1 \"EULA=enable\" /l"), 0);
    EXPECT_TRUE(contains(shownText(), std::string(kSwitchErrors) +
                                          "\"/bogus\";\"/s=1\";\"EULA=enable\";\"/l\";."));
    const std::string logged = log();
    EXPECT_TRUE(contains(logged, "arg /bogus is not supported"));
    EXPECT_TRUE(contains(logged, "arg /l is incorrect"));
    EXPECT_TRUE(contains(logged, "Error occurred while importing important args. Exiting installer."));
}

TEST_F(InstallConfigTest, SilentRunOnlyLogsItsErrors) {
    EXPECT_NE(load("/s INSTALL_SILENT=yes"), 0);
    EXPECT_TRUE(recordedMessageBoxes().empty());
    EXPECT_TRUE(contains(log(), "\"INSTALL_SILENT=yes\";."));
}

TEST_F(InstallConfigTest, LineBreakInArgumentRefused) {
    EXPECT_NE(load("\"STATIC=Enable\nEULA=Enable\""), 0);
    EXPECT_TRUE(contains(shownText(), "\"STATIC=Enable\nEULA=Enable\";"));
}

TEST_F(InstallConfigTest, PrefixSwitchForwardedToPackage) {
    ASSERT_EQ(load("/qn ADDLOCAL=core REBOOT=Suppress STATIC=Enable"), 0);
    EXPECT_TRUE(config->hasKey("/q"));
    EXPECT_EQ(config->getString("MSI_CMDLINE"), "/qn ADDLOCAL=core REBOOT=Suppress");
    EXPECT_EQ(config->getString("CMDLINE"), "STATIC=\"Enable\"");
    EXPECT_EQ(config->getAddLocal("ALL"), "core");
}

TEST_F(InstallConfigTest, LogSwitchTakesThePath) {
    ASSERT_EQ(load("/l C:\\logs\\package.log /s"), 0);
    EXPECT_EQ(config->packageLogPath(), "C:\\logs\\package.log");
    EXPECT_TRUE(config->isSilent());
    EXPECT_FALSE(config->hasKey("MSI_CMDLINE"));
}

TEST_F(InstallConfigTest, PropertyStringInTableOrderWithQuotesDoubled) {
    ASSERT_EQ(load("\"ProductCode=a\\\"b\" WEB_CALYX_SECURITY_LEVEL=VH EULA=1 INSTALL_SILENT=0"), 0);
    EXPECT_EQ(config->getString("CMDLINE"),
              "INSTALL_SILENT=\"0\" EULA=\"1\" ProductCode=\"a\"\"b\" "
              "WEB_CALYX_SECURITY_LEVEL=\"VH\"");
}

TEST_F(InstallConfigTest, SecurityLevelNamesExactly) {
    ASSERT_EQ(load("WEB_CALYX_SECURITY_LEVEL=VH"), 0);
    EXPECT_EQ(config->getInt("WEB_CALYX_SECURITY_LEVEL"), 4);
    EXPECT_TRUE(contains(log(), "WEB_CALYX_SECURITY_LEVEL = VH (4)"));
    ASSERT_EQ(load("WEB_CALYX_SECURITY_LEVEL=2"), 0);
    EXPECT_EQ(config->getInt("WEB_CALYX_SECURITY_LEVEL"), 2);
    EXPECT_NE(load("WEB_CALYX_SECURITY_LEVEL=vh"), 0);
}

TEST_F(InstallConfigTest, InstallDirMustBeAbsoluteAndValid) {
    ASSERT_EQ(load("INSTALLDIR=C:\\Somewhere"), 0);
    EXPECT_EQ(config->getString("INSTALLDIR"), "C:\\Somewhere");
    EXPECT_NE(load("INSTALLDIR=relative\\folder"), 0);
    EXPECT_NE(load("INSTALLDIR=C:\\LPT1\\x"), 0);
    EXPECT_NE(load("INSTALLDIR=C:\\a?b"), 0);
}

TEST_F(InstallConfigTest, EnterpriseKeysRefusedAnywhere) {
    EXPECT_EQ(load("USAGETRACKER_CFG=C:\\tracker.cfg"), ConfigErrorMessages::SWITCH_ERRORS);
    EXPECT_TRUE(contains(shownText(), std::string(kSwitchErrors) + "\"USAGETRACKER_CFG\";."));
    const std::string logged = log();
    EXPECT_TRUE(contains(logged, "The param is not supported."));
    EXPECT_TRUE(contains(logged, "CheckParams(USAGETRACKER_CFG) failed with 3090"));

    recordedMessageBoxes().clear();
    const std::string cfg = writeConfigFile("enterprise.cfg", "DEPLOYMENT_RULE_SET=C:\\rules.jar\n");
    EXPECT_EQ(load("INSTALLCFG=" + cfg), ConfigErrorMessages::SWITCH_ERRORS);
    EXPECT_TRUE(contains(shownText(), "\"DEPLOYMENT_RULE_SET\";"));
}

TEST_F(InstallConfigTest, EnterpriseInstallerChecksFilesRead) {
    const std::string rules = writeConfigFile("rules.jar", "x");
    ASSERT_EQ(load("DEPLOYMENT_RULE_SET=" + rules, true), 0);
    EXPECT_TRUE(contains(log(), "Checking if file is accessible for read..."));

    const std::string missing = testsupport::tempDir() + "\\missing.cfg";
    EXPECT_EQ(load("USAGETRACKER_CFG=" + missing, true), settings::STATUS_READ_FAILED);
    EXPECT_TRUE(contains(shownText(), "An error occurred while reading file \"USAGETRACKER_CFG\";."));
}

TEST_F(InstallConfigTest, ValueWithoutAnsiFormRefused) {
    if (GetACP() == CP_UTF8) GTEST_SKIP() << "every character has an ANSI form";
    EXPECT_EQ(load("INSTALLDIR=C:\\\xE5\xAD\x97"), ConfigErrorMessages::SWITCH_ERRORS);
    EXPECT_TRUE(contains(shownText(), "\"INSTALLDIR\";"));
    EXPECT_TRUE(contains(log(), "The param cannot reach the package unchanged"));
}

TEST_F(InstallConfigTest, LayersWeakestFirst) {
    putRuntimeFile("AUTO_UPDATE=Disable\nSPONSORS=Disable\n");
    const std::string cfg = writeConfigFile("layers.cfg", "STATIC=Enable\nSPONSORS=Enable\n");
    ASSERT_EQ(load("INSTALLCFG=" + cfg), 0);
    EXPECT_FALSE(config->isEnabled("AUTO_UPDATE"));
    EXPECT_TRUE(config->isEnabled("SPONSORS"));
    EXPECT_TRUE(config->isEnabled("STATIC"));
    ASSERT_EQ(load("INSTALLCFG=" + cfg + " STATIC=Disable AUTO_UPDATE=Enable"), 0);
    EXPECT_FALSE(config->isEnabled("STATIC"));
    EXPECT_TRUE(config->isEnabled("AUTO_UPDATE"));
}

TEST_F(InstallConfigTest, ConfigFileErrorNamesFileAndLine) {
    const std::string cfg = writeConfigFile(
        "broken.cfg",
        "# install settings\nSTATIC=Enable\n\nAUTO_UPDATE=Disable\n   # note\nEULA=1\nWEB_CALYX=maybe\n");
    EXPECT_EQ(load("INSTALLCFG=" + cfg), settings::STATUS_MALFORMED);
    EXPECT_TRUE(contains(shownText(), "Configuration file " + cfg + " is malformed in line 7."));
    EXPECT_TRUE(contains(log(), "Install Configuration file import failed with 313"));
}

TEST_F(InstallConfigTest, MissingConfigFileReported) {
    const std::string cfg = testsupport::tempDir() + "\\absent.cfg";
    EXPECT_EQ(load("INSTALLCFG=" + cfg), settings::STATUS_CANNOT_OPEN);
    EXPECT_TRUE(contains(shownText(), "Unable to open file " + cfg + "."));
}

TEST_F(InstallConfigTest, KeysAloneInFiles) {
    const std::string switches = writeConfigFile("switches.cfg", "/S\nNO_VERIFY\n");
    ASSERT_EQ(load("INSTALLCFG=" + switches), 0);
    EXPECT_TRUE(config->isSilent());
    EXPECT_TRUE(config->isEnabled("NO_VERIFY"));

    const std::string folder = writeConfigFile("folder.cfg", "INSTALLDIR\n");
    EXPECT_EQ(load("INSTALLCFG=" + folder), ConfigErrorMessages::SWITCH_ERRORS);
    EXPECT_TRUE(contains(shownText(), "\"INSTALLDIR\";"));
    EXPECT_TRUE(contains(log(), "The param needs a value."));

    recordedMessageBoxes().clear();
    const std::string unknown = writeConfigFile("unknown.cfg", "STATIC=Enable\nFOO\n");
    EXPECT_EQ(load("INSTALLCFG=" + unknown), ConfigErrorMessages::SWITCH_ERRORS);
    EXPECT_TRUE(contains(shownText(), "\"FOO\";"));
    EXPECT_TRUE(contains(log(), "Key FOO is not supported"));
}

TEST_F(InstallConfigTest, BadRuntimeFileReported) {
    putRuntimeFile("AUTO_UPDATE=Disable\nAUTO_UPDATE=sometimes\n");
    EXPECT_EQ(load(""), settings::STATUS_MALFORMED);
    EXPECT_TRUE(contains(shownText(), "is malformed in line 2."));
    EXPECT_TRUE(contains(log(), "Runtime configuration file import failed with 313"));
}

TEST_F(InstallConfigTest, TestMessageUsesPlaceholderLine) {
    ASSERT_EQ(load(""), 0);
    EXPECT_FALSE(config->ShowConfigError(313, "<path_to_config_file>", false));
    EXPECT_TRUE(contains(shownText(),
                         "Configuration file <path_to_config_file> is malformed in line <line number>."));
    EXPECT_TRUE(config->ShowConfigError(0, "", false));
}

TEST_F(InstallConfigTest, ExportWritesOnlyExportedKeys) {
    ASSERT_EQ(load("AUTO_UPDATE=Disable STATIC=Enable EULA=1 /qn INSTALLDIR=C:\\x"), 0);
    ASSERT_EQ(config->ExportConfigSettings(), 0);
    EXPECT_EQ(runtimeText(), "AUTO_UPDATE=Disable\nEULA=1\n");
}

TEST_F(InstallConfigTest, ExportWritesNothingWhenNothingChanged) {
    const std::string original = "# written by hand\nAUTO_UPDATE=Disable\n";
    putRuntimeFile(original);
    ASSERT_EQ(load("AUTO_UPDATE=Disable STATIC=Enable"), 0);
    ASSERT_EQ(config->ExportConfigSettings(), 0);
    EXPECT_EQ(testsupport::readFile(guard.file()), original);
    EXPECT_TRUE(contains(log(), "Nothing new to export to runtime."));

    ASSERT_EQ(load(""), 0);
    ASSERT_EQ(config->ExportConfigSettings(), 0);
    EXPECT_EQ(testsupport::readFile(guard.file()), original);
}

TEST_F(InstallConfigTest, ExportRemovesFileLeftWithoutExportedKeys) {
    putRuntimeFile("STATIC=Enable\n");
    ASSERT_EQ(load(""), 0);
    ASSERT_EQ(config->ExportConfigSettings(), 0);
    EXPECT_FALSE(exists(guard.file()));
    ASSERT_EQ(config->RestoreConfigSettings(), 0);
    EXPECT_EQ(runtimeText(), "STATIC=Enable\n");
}

TEST_F(InstallConfigTest, RestorePutsBackKeysAndValues) {
    putRuntimeFile("EULA=1\nAUTO_UPDATE=Enable\n");
    ASSERT_EQ(load("AUTO_UPDATE=Disable SPONSORS=Disable"), 0);
    ASSERT_EQ(config->ExportConfigSettings(), 0);
    EXPECT_EQ(runtimeText(), "AUTO_UPDATE=Disable\nEULA=1\nSPONSORS=Disable\n");
    ASSERT_EQ(config->RestoreConfigSettings(), 0);
    EXPECT_EQ(runtimeText(), "AUTO_UPDATE=Enable\nEULA=1\n");
}

TEST_F(InstallConfigTest, RestoreRemovesFileThatDidNotExist) {
    ASSERT_EQ(load("AUTO_UPDATE=Disable"), 0);
    ASSERT_EQ(config->ExportConfigSettings(), 0);
    EXPECT_EQ(runtimeText(), "AUTO_UPDATE=Disable\n");
    ASSERT_EQ(config->RestoreConfigSettings(), 0);
    EXPECT_FALSE(exists(guard.file()));
}

TEST_F(InstallConfigTest, FailedExportReported) {
    // A file where the file's folder belongs: the folder cannot be made.
    const std::string folder = guard.file().substr(0, guard.file().rfind('\\'));
    if (!RemoveDirectoryA(folder.c_str()) && exists(folder)) GTEST_SKIP() << folder << " in use";
    CreateDirectoryA(folder.substr(0, folder.rfind('\\')).c_str(), nullptr);
    ASSERT_TRUE(testsupport::writeFile(folder, "in the way"));
    ASSERT_EQ(load("AUTO_UPDATE=Disable"), 0);
    EXPECT_NE(config->ExportConfigSettings(), 0);
    EXPECT_TRUE(contains(shownText(), "Writing to the runtime configuration file failed."));
    EXPECT_TRUE(contains(log(), "Fails on writing to the runtime config file."));
    DeleteFileA(folder.c_str());
}
