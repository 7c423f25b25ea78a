#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ConfigErrorMessages.h"
#include "InstallKeys.h"
#include "SettingsConfig.h"

// Every setting of one install run, from four sources, weakest first:
// built-in defaults, the machine-wide runtime settings file, the install
// configuration file named by INSTALLCFG and the command line. Bad input is
// reported in the user's language; the settings that later installs
// inherit are written to the runtime settings file just before the package
// runs, and put back when the install fails. Main thread only.
class InstallConfigData {
public:
    // Strings come from module. Raises settings::Exception when the settings
    // library refuses the key table or the defaults.
    explicit InstallConfigData(HINSTANCE module, bool enterpriseInstaller = false,
                               ConfigErrorMessages::MessageBoxFunction messageBox = MessageBoxW);
    ~InstallConfigData();

    InstallConfigData(const InstallConfigData&) = delete;
    InstallConfigData& operator=(const InstallConfigData&) = delete;

    // Loads every source from the whole command line (program first). 0, or
    // the code of the error, which the user has been shown unless the run is
    // silent; the install must then stop.
    int LoadConfigSettings(const std::wstring& commandLine);
    // The same from the arguments as UTF-8 (program first).
    int LoadConfigSettings(const std::vector<std::string>& args);

    // The command line as UTF-8 arguments, program first; false (logged)
    // when the system cannot split it.
    static bool splitCommandLine(const std::wstring& commandLine, std::vector<std::string>& args);

    // One key of the working configuration and the source it came from:
    // "defaults", "runtime settings file", "install configuration file",
    // "command line", or "derived" for what the loading composed.
    struct Setting {
        std::string key;
        std::optional<std::string> value;  // none: present without a value
        std::string layer;
    };
    // Every key present, in table order.
    std::vector<Setting> effectiveSettings() const;
    // Also hands every configuration error reported from now on, with its
    // English message, to listener.
    void listenToErrors(ConfigErrorMessages::Listener listener) {
        messages_.setListener(std::move(listener));
    }

    // Writes the exported keys to the runtime settings file, or removes it
    // when none is left; nothing when the file already holds them. 0 or the
    // code of the failed write, reported unless the run is silent.
    int ExportConfigSettings();
    // Puts the runtime settings file back as it was before the export;
    // failures are only logged. 0 or the code of the failed write.
    int RestoreConfigSettings();

    // Queries of the working configuration. Keys are table names in any
    // letter case; a name outside the table raises std::logic_error.
    bool hasKey(const std::string& key) const;
    // Whether an Enable/Disable key is on: false when absent, true when
    // present without a value.
    bool isEnabled(const std::string& key) const;
    // Raise settings::Exception when the key is absent or has no value.
    std::string getString(const std::string& key) const;
    int getInt(const std::string& key) const;
    std::string getAddLocal(const std::string& defaultValue) const;
    // The path given after "/l"; empty when none.
    const std::string& packageLogPath() const { return packageLogPath_; }
    bool IsInstallerEnterprise() const;
    // "/s" or "-download" present, or INSTALL_SILENT on.
    bool isSilent() const;

    // Language of the messages shown from now on.
    void setLanguage(unsigned langId) { messages_.setLanguage(langId); }
    // Reports a configuration error: true for 0, false otherwise.
    bool ShowConfigError(int code, const std::string& argument, bool silent) const;

private:
    struct Library;

    const install_keys::Key& known(const std::string& key) const;
    bool reportError(int code, const std::string& argument, const SettingsConfig& source,
                     bool quiet) const;

    int importCommandLine(SettingsConfig& target, const std::vector<std::string>& args,
                          bool quiet);
    int importFiles(SettingsConfig& target, const std::string& installConfigPath,
                    const std::vector<std::string>& args, bool quiet);
    int importRuntimeFile(SettingsConfig& target, bool quiet);
    int importInstallConfigFile(SettingsConfig& target, const std::string& path, bool quiet);
    int CheckParams(const SettingsConfig& target, bool quiet) const;
    int CheckParam(const install_keys::Key& key, const SettingsConfig& target) const;
    int addPackageProperties();
    void normalizeExport();
    int writeRuntimeFile(const SettingsConfig& config, bool quiet);
    int removeRuntimeFile(bool quiet);
    void dump(const SettingsConfig& config, const std::string& title) const;

    ConfigErrorMessages messages_;
    bool enterprise_;
    std::unique_ptr<Library> library_;
    SettingsConfig working_;
    SettingsConfig export_;
    SettingsConfig backup_;
    std::string packageLogPath_;
};
