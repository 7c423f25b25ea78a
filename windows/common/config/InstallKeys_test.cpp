#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InstallKeys.h"

using namespace install_keys;

namespace {

std::string matched(const std::string& argument) {
    const Key* key = matchArgument(argument);
    return key ? key->name : "(none)";
}

std::vector<std::string> namesWith(Flag flag) {
    std::vector<std::string> names;
    for (const Key& key : table()) {
        if (key.has(flag)) names.push_back(key.name);
    }
    return names;
}

} // namespace

TEST(InstallKeys, TableOrderAndFlags) {
    ASSERT_EQ(table().size(), 48u);
    EXPECT_STREQ(table().front().name, "INSTALL_SILENT");
    EXPECT_STREQ(table()[24].name, "NOSTARTMENU");
    EXPECT_STREQ(table()[39].name, "WEB_CALYX_SECURITY_LEVEL");
    EXPECT_STREQ(table().back().name, "/l");
    EXPECT_EQ(namesWith(EXPORTED), (std::vector<std::string>{"INSTALL_SILENT", "AUTO_UPDATE",
                                                             "SPONSORS", "WEB_ANALYTICS", "EULA",
                                                             "NOSTARTMENU"}));
    EXPECT_EQ(namesWith(TO_PACKAGE_COMMAND_LINE),
              (std::vector<std::string>{"ADDLOCAL", "REBOOT", "/q", "/l"}));
    EXPECT_EQ(namesWith(PREFIX), (std::vector<std::string>{"/q", "/l"}));
    EXPECT_EQ(namesWith(ENTERPRISE_ONLY),
              (std::vector<std::string>{"USAGETRACKER_CFG", "DEPLOYMENT_RULE_SET"}));
    EXPECT_EQ(namesWith(PLAIN_TEXT_FILE), (std::vector<std::string>{"USAGETRACKER_CFG"}));
    EXPECT_EQ(namesWith(TO_PACKAGE).size(), 20u);
    size_t switches = 0;
    for (const Key& key : table()) switches += key.isSwitch() ? 1 : 0;
    EXPECT_EQ(switches, 6u);
}

TEST(InstallKeys, FindIgnoresCase) {
    ASSERT_NE(find("installdir"), nullptr);
    EXPECT_STREQ(find("installdir")->name, "INSTALLDIR");
    EXPECT_STREQ(find("PRODUCTCODE")->name, "ProductCode");
    EXPECT_EQ(find("INSTALL"), nullptr);
}

TEST(InstallKeys, ArgumentWithSeparatorNamesValueKeys) {
    EXPECT_EQ(matched("install_silent=Enable"), "INSTALL_SILENT");
    EXPECT_EQ(matched("INSTALLDIR:C:\\x"), "INSTALLDIR");
    EXPECT_EQ(matched("/LANG=1041"), "/lang");
    EXPECT_EQ(matched("MSI_CMDLINE=A=B"), "MSI_CMDLINE");
    EXPECT_EQ(matched("/s=1"), "(none)");
    EXPECT_EQ(matched("/qn=1"), "(none)");
    EXPECT_EQ(matched("INSTALL=1"), "(none)");
    EXPECT_EQ(matched("=1"), "(none)");
}

TEST(InstallKeys, ArgumentAloneNamesSwitches) {
    EXPECT_EQ(matched("/s"), "/s");
    EXPECT_EQ(matched("/S"), "/s");
    EXPECT_EQ(matched("-DOWNLOAD"), "-download");
    EXPECT_EQ(matched("/qn"), "/q");
    EXPECT_EQ(matched("/QB!"), "/q");
    EXPECT_EQ(matched("/l*v"), "/l");
    // A prefix switch takes any longer name: this is the log switch.
    EXPECT_EQ(matched("/lang"), "/l");
    EXPECT_EQ(matched("/sx"), "(none)");
    EXPECT_EQ(matched("INSTALL_SILENT"), "(none)");
}
