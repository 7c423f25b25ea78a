#include "InstallStatus.h"

#include "BestEffort.h"
#include "BuildInfo.h"
#include "CalyxVersion.h"
#include "FileUtils.h"
#include "InstallerKeys.h"
#include "Log.h"
#include "Registry.h"
#include "SysInfo.h"
#include "WinErrorHandling.h"
#include "VersionText.h"
#include "tstrings.h"

namespace {

const char* const kSchedulerValue = "OrvelCalyxUpdateSched";

// Deletes one status value when it exists; a missing one is fine.
LONG deleteStatusValue(const Registry& key, const char* name, const char* failureText) {
    try {
        key.deleteValueIfPresent(name);
        return ERROR_SUCCESS;
    } catch (const SysError& e) {
        logit(failureText);
        return static_cast<LONG>(e.code());
    }
}

LONG readStatusValue(const Registry& key, const char* name, DWORD* out, const char* failureText) {
    LONG result = ERROR_FILE_NOT_FOUND;
    try {
        if (const std::optional<DWORD> value = key.findDword(name)) {
            if (out) *out = *value;
            return ERROR_SUCCESS;
        }
    } catch (const SysError& e) {
        result = static_cast<LONG>(e.code());
    } catch (const std::exception&) {
        result = ERROR_INVALID_DATA;  // not a 4-byte number
    }
    logit(failureText);
    return result;
}

// The vendor key when it can be opened; its absence or the failure's code
// otherwise.
std::optional<Registry> openVendorKey(Registry::Mode mode, LONG& failure) {
    failure = ERROR_FILE_NOT_FOUND;
    try {
        return InstallerKeys::find(SharedKey::Vendor, mode);
    } catch (const SysError& e) {
        failure = static_cast<LONG>(e.code());
        return std::nullopt;
    }
}

} // namespace

LONG ClearMSIStatus() {
    LONG open = ERROR_SUCCESS;
    const std::optional<Registry> key = openVendorKey(Registry::Mode::Write, open);
    if (!key && open == ERROR_FILE_NOT_FOUND) {
        logit("Could not find HKEY_LOCAL_MACHINE, SOFTWARE\\Calyxware registry key.");
        return ERROR_SUCCESS;
    }
    if (!key) {
        logit("Could not open HKEY_LOCAL_MACHINE, SOFTWARE\\Calyxware registry key.");
        return open;
    }
    const LONG first = deleteStatusValue(*key, "MSIStatusError",
                                         "Could not delete MSIStatusError registry value.");
    const LONG second = deleteStatusValue(*key, "MSIStatusExtendedError",
                                          "Could not delete MSIStatusExtendedError registry value.");
    return first != ERROR_SUCCESS ? first : second;
}

LONG GetMSIStatus(DWORD* status, DWORD* extendedStatus) {
    LONG open = ERROR_SUCCESS;
    const std::optional<Registry> key = openVendorKey(Registry::Mode::Read, open);
    if (!key) {
        logit("Could not open the registry key.");
        return open;
    }
    const LONG first = readStatusValue(*key, "MSIStatusError", status,
                                       "Could not get MSIStatusError registry value.");
    const LONG second = readStatusValue(*key, "MSIStatusExtendedError", extendedStatus,
                                        "Could not get MSIStatusExtendedError registry value.");
    return first != ERROR_SUCCESS ? first : second;
}

bool ReadCalyxwareValue(const std::string& name, std::string& text, size_t capacity) {
    std::string value;
    try {
        if (const std::optional<Registry> key = InstallerKeys::find(SharedKey::Vendor)) {
            value = key->findString(name).value_or(std::string());
        }
    } catch (const std::exception& e) {
        LOG_WARNING(name << " not read: " << e.what());
    }
    if (value.empty() || value.size() >= capacity) {
        return false;
    }
    text = value;
    return true;
}

void SetCalyxwareKey(const std::string& name, const std::string& text) {
    try {
        if (!text.empty()) {
            InstallerKeys::create(SharedKey::Vendor).setString(name, text);
        } else if (const std::optional<Registry> key = InstallerKeys::find(SharedKey::Vendor, Registry::Mode::Write)) {
            key->deleteValueIfPresent(name);
        }
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("SetCalyxwareKey"), e);
    }
}

void ResetInstallStatus() {
    SetCalyxwareKey("InstallStatus", "");
}

int MarkSilentInstall() {
    return bestEffort("MarkSilentInstall", [] { InstallerKeys::create(SharedKey::SilentInstall); }) ? 0 : 1603;
}

void EndSilentInstall() {
    bestEffort("EndSilentInstall", [] { InstallerKeys::remove(SharedKey::SilentInstall); });
}

bool SetPolicyValue(const std::string& text, const std::string& name) {
    try {
        if (!text.empty()) {
            InstallerKeys::create(SharedKey::Policy).setString(name, text);
            return true;
        }
        const std::optional<Registry> key = InstallerKeys::find(SharedKey::Policy, Registry::Mode::Write);
        return key && key->deleteValueIfPresent(name);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return false;
    }
}

void EnsureSchedulerEntry() {
    try {
        const std::string scheduler =
            SysInfo::getCommonProgramFilesDir() + "\\Calyx\\Calyx Update\\cxtimer.exe";
        // An entry for a missing program would start whatever is put there later.
        if (!FileUtils::exists(scheduler)) {
            LOG_INFO("Update scheduler " << scheduler << " is not installed; no start-up entry");
            return;
        }
        const Registry run = InstallerKeys::create(SharedKey::Run);
        if (!run.valueExists(kSchedulerValue)) {
            // Unquoted, a path with blanks is tried piece by piece: C:\Program.exe first.
            run.setString(kSchedulerValue, "\"" + scheduler + "\"");
        }
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
}

std::string DefaultInstallFolderFrom(const std::vector<std::string>& programFilesCandidates) {
    for (const std::string& candidate : programFilesCandidates) {
        const std::string folder = tstrings::trimRight(candidate, "\\/");
        const bool share = folder.size() > 2 && folder.compare(0, 2, "\\\\") == 0;
        if (FileUtils::startsWithDriveRoot(folder) || share) {
            return folder + "\\Calyx\\cxr" + withoutBuild(CalyxVersion(CX_RUNTIME_VERSION)).toString();
        }
    }
    LOG_ERROR("No program files folder is known; there is no default installation folder");
    return std::string();
}

std::string GetDefaultInstallFolder(bool package64Bit) {
    const char* const currentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    // A missing value is expected on some systems: the caller logs when none is left.
    const auto read = [&](RegistryView view, const char* name) {
        try {
            return Registry::open(Registry::localMachine(view), currentVersion)
                .getString(name, std::string());
        } catch (const std::exception& e) {
            REPORT_CAUGHT(e);
            return std::string();
        }
    };
    // A 64-bit system without its 32-bit half has no "(x86)" folder; Windows
    // then puts 32-bit programs into the native one.
    if (package64Bit) return DefaultInstallFolderFrom({read(RegistryView::Bits64, "ProgramFilesDir")});
    return DefaultInstallFolderFrom({read(RegistryView::Bits32, "ProgramFilesDir"),
                                     read(RegistryView::Bits64, "ProgramFilesDir (x86)"),
                                     read(RegistryView::Bits64, "ProgramFilesDir")});
}
