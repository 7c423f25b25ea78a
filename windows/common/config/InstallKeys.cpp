#include "InstallKeys.h"

#include "tstrings.h"

namespace install_keys {

namespace {

const unsigned EXPORTED_TO_PACKAGE = EXPORTED | TO_PACKAGE;
const unsigned FORWARDED = TO_PACKAGE_COMMAND_LINE;
const unsigned FORWARDED_PREFIX = TO_PACKAGE_COMMAND_LINE | PREFIX;
const unsigned ENTERPRISE_FILE = TO_PACKAGE | READABLE_FILE | ENTERPRISE_ONLY;

} // namespace

const std::vector<Key>& table() {
    static const std::vector<Key> keys = {
        {"INSTALL_SILENT", EXPORTED_TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"STATIC", TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"AUTO_UPDATE", EXPORTED_TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"SPONSORS", EXPORTED_TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"WEB_CALYX", TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"WEB_ANALYTICS", EXPORTED_TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"EULA", EXPORTED_TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"OEMUPDATE", TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"DYNAMICBASELINEOFF", 0, Kind::ENABLE_DISABLE},
        {"NO_VERIFY", 0, Kind::ENABLE_DISABLE},
        {"REPAIRMODE", TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"LAUNCHEDFROMCXS", 0, Kind::ENABLE_DISABLE},
        {"REMOVEOUTOFDATECXRS", 0, Kind::ENABLE_DISABLE},
        {"FAMILYUPGRADE", 0, Kind::ENABLE_DISABLE},
        {"RUNONCE", 0, Kind::ENABLE_DISABLE},
        {"PIP", TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"REINSTALL_NO_PROMPT", TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"TEST_FINAL_DIALOG", 0, Kind::ENABLE_DISABLE},
        {"TEST_PROGRESS_DIALOG", 0, Kind::ENABLE_DISABLE},
        {"TEST_WELCOME_DIALOG", 0, Kind::ENABLE_DISABLE},
        {"TEST_CHANGE_DIALOG", 0, Kind::ENABLE_DISABLE},
        {"TEST_SETUPERROR_DIALOG", 0, Kind::ENABLE_DISABLE},
        {"TEST_ERRORHELP_DIALOG", 0, Kind::ENABLE_DISABLE},
        {"TEST_RETRYSPLASH_DIALOG", 0, Kind::ENABLE_DISABLE},
        {"NOSTARTMENU", EXPORTED_TO_PACKAGE, Kind::ENABLE_DISABLE},
        {"INSTALLDIR", TO_PACKAGE, Kind::PATH},
        {"/INSTALLDIRPUBCXR", TO_PACKAGE, Kind::PATH},
        {"INSTALLCFG", TO_PACKAGE, Kind::PATH},
        {"ProductCode", TO_PACKAGE, Kind::STR},
        {"COUNTRYOVERRIDE", 0, Kind::STR},
        {"/installurl", 0, Kind::STR},
        {"/installmethod", TO_PACKAGE, Kind::STR},
        {"SPONSORPREF", 0, Kind::STR},
        {"ADDLOCAL", FORWARDED, Kind::STR},
        {"REBOOT", FORWARDED, Kind::STR},
        {"USAGETRACKER_CFG", ENTERPRISE_FILE | PLAIN_TEXT_FILE, Kind::PATH},
        {"DEPLOYMENT_RULE_SET", ENTERPRISE_FILE, Kind::PATH},
        {"MSI_CMDLINE", 0, Kind::STR},
        {"CMDLINE", 0, Kind::STR},
        {"WEB_CALYX_SECURITY_LEVEL", TO_PACKAGE, Kind::LEVEL},
        {"/lang", 0, Kind::INT},
        {"TEST_CONFIG_FILE_ERRORS", 0, Kind::INT},
        {"/s", 0, Kind::SWITCH},
        {"/h", 0, Kind::SWITCH},
        {"-download", 0, Kind::SWITCH},
        {"-no_override", 0, Kind::SWITCH},
        {"/q", FORWARDED_PREFIX, Kind::SWITCH},
        {"/l", FORWARDED_PREFIX, Kind::SWITCH},
    };
    return keys;
}

const Key* find(const std::string& name) {
    for (const Key& key : table()) {
        if (tstrings::equals(name, key.name, tstrings::IGNORE_CASE)) return &key;
    }
    return nullptr;
}

const Key* matchArgument(const std::string& argument) {
    const size_t separator = argument.find_first_of("=:");
    const bool withValue = separator != std::string::npos;
    const std::string name = argument.substr(0, separator);
    for (const Key& key : table()) {
        if (key.isSwitch() == withValue) continue;
        const bool matches = key.has(PREFIX)
                                 ? tstrings::startsWith(name, key.name, tstrings::IGNORE_CASE)
                                 : tstrings::equals(name, key.name, tstrings::IGNORE_CASE);
        if (matches) return &key;
    }
    return nullptr;
}

} // namespace install_keys
