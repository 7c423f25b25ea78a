#include "InstallConfigData.h"

#include <shellapi.h>

#include <stdexcept>

#include "AnsiText.h"
#include "AutoHandle.h"
#include "FileOwner.h"
#include "Locale.h"
#include "Log.h"
#include "SettingsException.h"
#include "SysInfo.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

using install_keys::Key;
using install_keys::Kind;

namespace {

const char* const kDefaults =
    "INSTALL_SILENT=Disable\nSTATIC=Disable\nAUTO_UPDATE=Enable\nWEB_ANALYTICS=Enable\n"
    "EULA=Disable\nSPONSORS=Enable\nOEMUPDATE=Disable\n";

// Matched by identical text only: "enable" is refused.
const unsigned EXACT = 1;
const SettingsFixedValue kEnableDisable[] = {
    {"Enable", 1, EXACT}, {"Disable", 0, EXACT}, {"1", 1, EXACT}, {"0", 0, EXACT}};
const SettingsFixedValue kSecurityLevels[] = {
    {"1", 1, EXACT}, {"2", 2, EXACT}, {"3", 3, EXACT}, {"4", 4, EXACT},
    {"L", 1, EXACT}, {"M", 2, EXACT}, {"H", 3, EXACT}, {"VH", 4, EXACT}};

void check(int status) {
    if (status != settings::STATUS_OK) SETTINGS_THROW(status);
}

std::string listed(const std::string& item) {
    return "\"" + item + "\";";
}

// A property value as the installer service reads it: in double quotes,
// each double quote inside doubled.
std::string quotedPropertyValue(const std::string& value) {
    std::string quoted = "\"";
    for (const char c : value) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + "\"";
}

// Whether the installer service receives the value, as ANSI text.
bool reachesPackage(const Key& key) {
    const std::string name = key.name;
    return key.has(install_keys::TO_PACKAGE) || key.has(install_keys::TO_PACKAGE_COMMAND_LINE) ||
           name == "MSI_CMDLINE" || name == "CMDLINE";
}

unsigned userLanguage() {
    try {
        return Locale::defaultLocale().langId();
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return Locale::english().langId();
    }
}

} // namespace

bool InstallConfigData::splitCommandLine(const std::wstring& commandLine,
                                         std::vector<std::string>& result) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(commandLine.c_str(), &count);
    if (args == nullptr) {
        LOG_ERROR(systemFailure("CommandLineToArgvW", GetLastError()));
        return false;
    }
    const UniqueLocalMemory hold(args);
    for (int i = 0; i < count; ++i) result.push_back(tstrings::toUtf8(args[i]));
    return true;
}

// The validator and key mapper shared by the three configurations.
struct InstallConfigData::Library {
    Library();

    std::unique_ptr<settings_impl::ConfigValidator, void (*)(settings_impl::ConfigValidator*)>
        validator;
    std::unique_ptr<settings_impl::IKeyMapper, void (*)(settings_impl::IKeyMapper*)> keyMapper;
};

InstallConfigData::Library::Library()
    : validator(nullptr, settingsApi().destroyValidator),
      keyMapper(nullptr, settingsApi().destroyKeyMapper) {
    const settings_api& api = settingsApi();
    const std::unique_ptr<settings_impl::ConfigValidatorBuilder,
                          void (*)(settings_impl::ConfigValidatorBuilder*)>
        values(api.createValidatorBuilder(), api.destroyValidatorBuilder);
    const std::unique_ptr<settings_impl::KeyMapperBuilder,
                          void (*)(settings_impl::KeyMapperBuilder*)>
        keys(api.createKeyMapperBuilder(), api.destroyKeyMapperBuilder);
    if (!values || !keys) SETTINGS_THROW(settings::STATUS_INTERNAL_ERROR);
    for (const Key& key : install_keys::table()) {
        // Stored under the table's name whatever the letter case written.
        check(api.addKeyMapping(keys.get(), key.name, key.name, false));
        switch (key.kind) {
        case Kind::ENABLE_DISABLE:
            check(api.addFixedValues(values.get(), key.name, kEnableDisable,
                                     sizeof(kEnableDisable) / sizeof(kEnableDisable[0])));
            break;
        case Kind::LEVEL:
            check(api.addFixedValues(values.get(), key.name, kSecurityLevels,
                                     sizeof(kSecurityLevels) / sizeof(kSecurityLevels[0])));
            break;
        case Kind::INT:
            check(api.addIntKey(values.get(), key.name));
            break;
        case Kind::PATH:
            check(api.addDirnameKey(values.get(), key.name, false));
            break;
        case Kind::STR:
            check(api.addStringKey(values.get(), key.name));
            break;
        case Kind::SWITCH:
            // Only ever stored without a value, which no validator sees.
            break;
        }
    }
    check(api.setAllowUnlistedKeys(values.get(), false));
    settings_impl::ConfigValidator* builtValidator = nullptr;
    check(api.buildValidator(values.get(), &builtValidator));
    validator.reset(builtValidator);
    settings_impl::IKeyMapper* builtMapper = nullptr;
    check(api.buildKeyMapper(keys.get(), &builtMapper));
    keyMapper.reset(builtMapper);
}

InstallConfigData::InstallConfigData(HINSTANCE module, bool enterpriseInstaller,
                                     ConfigErrorMessages::MessageBoxFunction messageBox)
    : messages_(module, userLanguage(), messageBox), enterprise_(enterpriseInstaller),
      library_(new Library()), working_(library_->validator.get(), library_->keyMapper.get()),
      export_(library_->validator.get(), library_->keyMapper.get()),
      backup_(library_->validator.get(), library_->keyMapper.get()) {
    // Switches may stand alone in the files too; the three configurations
    // must accept the same text, or one would fail where another did not.
    working_.allowKeysWithoutValue();
    export_.allowKeysWithoutValue();
    backup_.allowKeysWithoutValue();
    working_.setLayer("defaults");
    check(working_.loadString(kDefaults));
    LOG_INFO("Default config settings are: \n" << kDefaults);
}

InstallConfigData::~InstallConfigData() = default;

const Key& InstallConfigData::known(const std::string& key) const {
    const Key* found = install_keys::find(key);
    if (found == nullptr) throw std::logic_error("not an install key: " + key);
    return *found;
}

bool InstallConfigData::hasKey(const std::string& key) const {
    return working_.has(known(key).name);
}

bool InstallConfigData::isEnabled(const std::string& key) const {
    const char* name = known(key).name;
    if (!working_.has(name)) return false;
    return !working_.hasValue(name) || working_.integer(name) != 0;
}

std::string InstallConfigData::getString(const std::string& key) const {
    return working_.text(known(key).name);
}

int InstallConfigData::getInt(const std::string& key) const {
    return working_.integer(known(key).name);
}

std::string InstallConfigData::getAddLocal(const std::string& defaultValue) const {
    return working_.hasValue("ADDLOCAL") ? working_.text("ADDLOCAL") : defaultValue;
}

bool InstallConfigData::IsInstallerEnterprise() const {
    LOG_INFO(tstrings::sformat("IsInstallerEnterprise is %d", enterprise_ ? 1 : 0));
    return enterprise_;
}

bool InstallConfigData::isSilent() const {
    return working_.has("/s") || working_.has("-download") || isEnabled("INSTALL_SILENT");
}

bool InstallConfigData::ShowConfigError(int code, const std::string& argument,
                                        bool silent) const {
    return reportError(code, argument, working_, silent);
}

bool InstallConfigData::reportError(int code, const std::string& argument,
                                    const SettingsConfig& source, bool quiet) const {
    const unsigned line = code == settings::STATUS_MALFORMED ? source.errorLine() : 0;
    return messages_.show(code, argument, line == 0 ? "<line number>" : std::to_string(line),
                          quiet || isSilent());
}

int InstallConfigData::LoadConfigSettings(const std::wstring& commandLine) {
    std::vector<std::string> args;
    if (!splitCommandLine(commandLine, args)) {
        reportError(settings::STATUS_INTERNAL_ERROR, "", working_, false);
        return settings::STATUS_INTERNAL_ERROR;
    }
    return LoadConfigSettings(args);
}

int InstallConfigData::LoadConfigSettings(const std::vector<std::string>& args) {
    LOG_INFO("-->Loading Important args...");
    int code = importCommandLine(working_, args, false);
    if (code != 0) {
        LOG_ERROR("Error occurred while importing important args. Exiting installer.");
        return code;
    }
    dump(working_, "Important args config (TMP)");

    std::string installConfigPath;
    if (working_.hasValue("INSTALLCFG")) {
        installConfigPath = working_.text("INSTALLCFG");
        LOG_INFO("Path to the install configuration file is set to " << installConfigPath);
    }

    LOG_INFO("-->Loading Config...");
    code = importFiles(working_, installConfigPath, args, false);
    if (code != 0) {
        LOG_ERROR("Error occurred while importing configuration settings. Exiting installer.");
        return code;
    }

    LOG_INFO("-->Saving backup...");
    code = importRuntimeFile(backup_, true);
    if (code != 0) {
        LOG_ERROR("Error occurred while importing runtime file for backup.Exiting installer.");
        return code;
    }
    dump(backup_, "Config to backup");

    LOG_INFO("-->Loading export config...");
    code = importFiles(export_, installConfigPath, args, true);
    if (code != 0) {
        LOG_ERROR("Error occurred while importing configuration files without defaults. "
                  "Exiting installer.");
        return code;
    }

    code = addPackageProperties();
    if (code != 0) return code;
    normalizeExport();
    dump(export_, "Config to export");
    dump(working_, "!!!!Working config!!!!");
    return 0;
}

int InstallConfigData::importCommandLine(SettingsConfig& target,
                                         const std::vector<std::string>& args, bool quiet) {
    LOG_INFO("...Importing command line arguments");
    target.setLayer("command line");
    std::string switchErrors;
    std::string packageCommandLine;
    int error = 0;
    const auto refuse = [&](const std::string& arg, int code) {
        error = code;
        switchErrors += listed(arg);
    };
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty()) continue;
        // A line break would smuggle a second setting into the load.
        const Key* key =
            arg.find_first_of("\r\n") == std::string::npos ? install_keys::matchArgument(arg)
                                                           : nullptr;
        if (key == nullptr) {
            LOG_ERROR(tstrings::sformat("arg %s is not supported", arg.c_str()));
            refuse(arg, settings::STATUS_MALFORMED);
            continue;
        }
        if (key->has(install_keys::TO_PACKAGE_COMMAND_LINE)) {
            if (std::string(key->name) == "/l") {
                if (i + 1 == args.size()) {
                    LOG_ERROR(tstrings::sformat("arg %s is incorrect", arg.c_str()));
                    refuse(arg, settings::STATUS_MALFORMED);
                    continue;
                }
                packageLogPath_ = args[++i];
            } else {
                packageCommandLine += arg + " ";
            }
        }
        const int status = target.loadString(key->isSwitch() ? std::string(key->name) : arg);
        if (status != 0 || !target.has(key->name)) {
            const int code = status != 0 ? status : settings::STATUS_MALFORMED;
            LOG_ERROR(tstrings::sformat("Loading arg %s failed with %d", arg.c_str(), code));
            refuse(arg, code);
        }
    }
    if (!packageCommandLine.empty()) {
        LOG_INFO("...adding MSICMDLINE to settingsConfig");
        const int status = target.loadString("MSI_CMDLINE=" + packageCommandLine);
        if (status != 0) {
            LOG_ERROR(tstrings::sformat("Loading arg %s failed with %d", "MSI_CMDLINE", status));
            refuse("MSI_CMDLINE", status);
        }
    }
    if (error != 0) {
        reportError(ConfigErrorMessages::SWITCH_ERRORS, switchErrors, target, quiet);
    }
    return error;
}

int InstallConfigData::importFiles(SettingsConfig& target, const std::string& installConfigPath,
                                   const std::vector<std::string>& args, bool quiet) {
    int code = importRuntimeFile(target, quiet);
    if (code == 0 && !installConfigPath.empty()) {
        code = importInstallConfigFile(target, installConfigPath, quiet);
    }
    if (code == 0) code = importCommandLine(target, args, quiet);
    if (code == 0) code = CheckParams(target, quiet);
    return code;
}

int InstallConfigData::importRuntimeFile(SettingsConfig& target, bool quiet) {
    LOG_INFO("...Importing runtime configuration file...");
    target.setLayer("runtime settings file");
    std::string path;
    int code = 0;
    try {
        path = target.runtimeFilePath();
        LOG_INFO(tstrings::sformat("Runtime config file path is %s", path.c_str()));
        // Another user could have planted the file an elevated run trusts.
        const std::string owner =
            SysInfo::isElevated() ? FileOwner::untrustedOwner(path) : std::string();
        if (!owner.empty()) {
            LOG_WARNING(tstrings::sformat("Runtime config file %s is owned by %s; it is not read",
                                          path.c_str(), owner.c_str()));
            return 0;
        }
        code = target.loadFile(path);
    } catch (const settings::Exception& e) {
        code = e.code();
    }
    if (code == settings::STATUS_CANNOT_OPEN) {
        LOG_INFO("Runtime configuration file doesn't exist. It will be created later by "
                 "settings_api.");
        return 0;
    }
    if (code != 0) {
        reportError(code, path, target, quiet);
        LOG_ERROR(tstrings::sformat("Runtime configuration file import failed with %d", code));
    }
    return code;
}

int InstallConfigData::importInstallConfigFile(SettingsConfig& target, const std::string& path,
                                               bool quiet) {
    LOG_INFO("...Importing Install Configuration file");
    target.setLayer("install configuration file");
    const int code = target.loadFile(path);
    if (code != 0) {
        reportError(code, path, target, quiet);
        LOG_ERROR(tstrings::sformat("Install Configuration file import failed with %d", code));
    }
    return code;
}

int InstallConfigData::CheckParams(const SettingsConfig& target, bool quiet) const {
    // A key written alone reaches the configuration without a validator.
    for (const std::string& name : target.keys()) {
        if (install_keys::find(name) == nullptr) {
            LOG_ERROR(tstrings::sformat("Key %s is not supported", name.c_str()));
            reportError(ConfigErrorMessages::SWITCH_ERRORS, listed(name), target, quiet);
            return ConfigErrorMessages::SWITCH_ERRORS;
        }
    }
    for (const Key& key : install_keys::table()) {
        if (!target.has(key.name)) continue;
        const int code = CheckParam(key, target);
        if (code != 0) {
            reportError(code, listed(key.name), target, quiet);
            LOG_ERROR(tstrings::sformat("CheckParams(%s) failed with %d", key.name, code));
            return code;
        }
    }
    return 0;
}

int InstallConfigData::CheckParam(const Key& key, const SettingsConfig& target) const {
    if (!target.hasValue(key.name)) {
        // Only a switch or an Enable/Disable key means something alone.
        if (key.isSwitch() || key.kind == Kind::ENABLE_DISABLE) return 0;
        LOG_ERROR("The param needs a value.");
        return ConfigErrorMessages::SWITCH_ERRORS;
    }
    if (key.has(install_keys::ENTERPRISE_ONLY) && !enterprise_) {
        LOG_ERROR("The param is not supported.");
        return ConfigErrorMessages::SWITCH_ERRORS;
    }
    const std::string value = target.text(key.name);
    // The package receives ANSI text; a character without an exact form
    // there would arrive as something else.
    if (reachesPackage(key) && !exactAnsiText(value)) {
        LOG_ERROR("The param cannot reach the package unchanged: " << value);
        return ConfigErrorMessages::SWITCH_ERRORS;
    }
    if (key.has(install_keys::READABLE_FILE)) {
        LOG_INFO("Checking if file is accessible for read...");
        const UniqueHandle file(CreateFileW(tstrings::toUtf16(value).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return settings::STATUS_READ_FAILED;
        if (key.has(install_keys::PLAIN_TEXT_FILE)) {
            LOG_INFO("Checking if file is a plain text...");
        }
    }
    return 0;
}

int InstallConfigData::addPackageProperties() {
    LOG_INFO("-->Adding CMDLINE to config...");
    std::string properties;
    for (const Key& key : install_keys::table()) {
        if (key.has(install_keys::TO_PACKAGE) && export_.hasValue(key.name)) {
            properties += " " + std::string(key.name) + "=" +
                          quotedPropertyValue(export_.text(key.name));
        }
    }
    if (properties.empty()) return 0;
    working_.setLayer("derived");
    const int code = working_.loadString("CMDLINE=" + properties);
    if (code != 0) reportError(code, "", working_, false);
    return code;
}

std::vector<InstallConfigData::Setting> InstallConfigData::effectiveSettings() const {
    std::vector<Setting> settings;
    for (const Key& key : install_keys::table()) {
        if (!working_.has(key.name)) continue;
        Setting setting{key.name, std::nullopt, working_.layerOf(key.name)};
        if (working_.hasValue(key.name)) setting.value = working_.text(key.name);
        settings.push_back(setting);
    }
    return settings;
}

void InstallConfigData::normalizeExport() {
    LOG_INFO("-->Normalizing Export...");
    for (const std::string& name : export_.keys()) {
        const Key* key = install_keys::find(name);
        if (key == nullptr || !key->has(install_keys::EXPORTED)) export_.remove(name);
    }
}

int InstallConfigData::ExportConfigSettings() {
    LOG_INFO("...Exporting config settings");
    if (export_.equals(backup_)) {
        LOG_INFO("Nothing new to export to runtime.");
        return 0;
    }
    if (export_.empty()) {
        LOG_INFO("Removing runtime config file IF EXIST.");
        return removeRuntimeFile(false);
    }
    return writeRuntimeFile(export_, false);
}

int InstallConfigData::RestoreConfigSettings() {
    LOG_INFO("...Restoring config settings");
    if (backup_.equals(export_)) return 0;
    if (!backup_.empty()) return writeRuntimeFile(backup_, true);
    LOG_INFO("Removing runtime config file IF EXIST.");
    return removeRuntimeFile(true);
}

int InstallConfigData::writeRuntimeFile(const SettingsConfig& config, bool quiet) {
    LOG_INFO("Writing to the runtime config file.");
    int code = 0;
    try {
        code = config.save(config.runtimeFilePath());
    } catch (const settings::Exception& e) {
        code = e.code();
    }
    if (code != 0) {
        reportError(settings::STATUS_WRITE_FAILED, "", config, quiet);
        LOG_ERROR("Fails on writing to the runtime config file.");
    }
    return code;
}

int InstallConfigData::removeRuntimeFile(bool quiet) {
    std::string path;
    try {
        path = working_.runtimeFilePath();
        const std::wstring widePath = tstrings::toUtf16(path);
        const DWORD error = DeleteFileW(widePath.c_str()) ? ERROR_SUCCESS : GetLastError();
        if (error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND ||
            error == ERROR_PATH_NOT_FOUND) {
            return 0;
        }
        LOG_ERROR(systemFailure("DeleteFile(" + path + ")", error));
    } catch (const settings::Exception& e) {
        LOG_ERROR(tstrings::sformat("Runtime config file path unknown: %d", e.code()));
    }
    reportError(settings::STATUS_WRITE_FAILED, "", working_, quiet);
    return settings::STATUS_WRITE_FAILED;
}

void InstallConfigData::dump(const SettingsConfig& config, const std::string& title) const {
    std::string text = "|------" + title + "--------|\n\n";
    for (const Key& key : install_keys::table()) {
        if (!config.has(key.name)) continue;
        text += std::string(key.name) + " = ";
        if (!config.hasValue(key.name)) {
            text += "1\n";
            continue;
        }
        const std::string value = config.text(key.name);
        text += value;
        // A fixed-value text stands for a number; show it where it differs.
        if (key.kind == Kind::ENABLE_DISABLE || key.kind == Kind::LEVEL) {
            const int number = config.integer(key.name);
            if (value != std::to_string(number)) text += " (" + std::to_string(number) + ")";
        }
        text += "\n";
    }
    LOG_INFO(text << "|-------------------------------------|");
}
