#include "InstallStatus.h"

#include "AutoHandle.h"
#include "BuildInfo.h"
#include "CalyxVersion.h"
#include "FileUtils.h"
#include "Log.h"
#include "Registry.h"
#include "SysInfo.h"
#include "VersionText.h"
#include "tstrings.h"

const char* const kCalyxwareKey = "SOFTWARE\\Calyxware";
const char* const kPolicyKey = "SOFTWARE\\Calyxware\\Calyx Update\\Policy";

namespace {

const char* const kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kSchedulerValue = "OrvelCalyxUpdateSched";

// Deletes one 4-byte status value when it exists; a missing one is fine.
LONG deleteStatusValue(HKEY key, const char* name, const char* failureText) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG query = RegQueryValueExA(key, name, nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(&value), &size);
    if (query != ERROR_SUCCESS && query != ERROR_MORE_DATA) {
        return ERROR_SUCCESS;
    }
    const LONG result = RegDeleteValueA(key, name);
    if (result != ERROR_SUCCESS) {
        logit(failureText);
    }
    return result;
}

LONG readStatusValue(HKEY key, const char* name, DWORD* out, const char* failureText) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG result = RegQueryValueExA(key, name, nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(&value), &size);
    if (result != ERROR_SUCCESS) {
        logit(failureText);
        return result;
    }
    if (out) *out = value;
    return ERROR_SUCCESS;
}

LONG firstFailure(LONG a, LONG b, LONG c) {
    if (a != ERROR_SUCCESS) return a;
    if (b != ERROR_SUCCESS) return b;
    return c;
}


} // namespace

LONG ClearMSIStatus() {
    HKEY raw = nullptr;
    const LONG open = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCalyxwareKey, 0, KEY_ALL_ACCESS, &raw);
    if (open == ERROR_FILE_NOT_FOUND) {
        logit("Could not find HKEY_LOCAL_MACHINE, SOFTWARE\\Calyxware registry key.");
        return ERROR_SUCCESS;
    }
    if (open != ERROR_SUCCESS) {
        logit("Could not open HKEY_LOCAL_MACHINE, SOFTWARE\\Calyxware registry key.");
        return open;
    }
    const LONG first = deleteStatusValue(raw, "MSIStatusError",
                                         "Could not delete MSIStatusError registry value.");
    const LONG second = deleteStatusValue(raw, "MSIStatusExtendedError",
                                          "Could not delete MSIStatusExtendedError registry value.");
    const LONG close = RegCloseKey(raw);
    return firstFailure(first, second, close);
}

LONG GetMSIStatus(DWORD* status, DWORD* extendedStatus) {
    HKEY raw = nullptr;
    const LONG open = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCalyxwareKey, 0, KEY_READ, &raw);
    if (open != ERROR_SUCCESS) {
        logit("Could not open the registry key.");
        return open;
    }
    const LONG first = readStatusValue(raw, "MSIStatusError", status,
                                       "Could not get MSIStatusError registry value.");
    const LONG second = readStatusValue(raw, "MSIStatusExtendedError", extendedStatus,
                                        "Could not get MSIStatusExtendedError registry value.");
    const LONG close = RegCloseKey(raw);
    return firstFailure(first, second, close);
}

bool ReadCalyxwareValue(const std::string& name, std::string& text, size_t capacity) {
    std::string value;
    try {
        value = Registry::open(Registry::localMachine(), "Software\\Calyxware").getString(name);
    } catch (const std::exception&) {
        value.clear();  // absent is the usual case
    }
    if (value.empty() || value.size() >= capacity) {
        return false;
    }
    text = value;
    return true;
}

void SetCalyxwareKey(const std::string& name, const std::string& text) {
    try {
        const Registry key = Registry::open(Registry::localMachine(), "SOFTWARE\\Calyxware\\",
                                            Registry::Mode::Write);
        if (!text.empty()) {
            key.setString(name, text);
        } else if (key.valueExists(name)) {
            key.deleteValue(name);
        }
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("SetCalyxwareKey"), e);
    }
}

void ResetInstallStatus() {
    SetCalyxwareKey("InstallStatus", "");
}

int MarkSilentInstall() {
    const std::string path = tstrings::sformat("%s\\%s", kCalyxwareKey, "SilentInstall");
    UniqueRegKey key;
    const LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                        KEY_WRITE, nullptr, key.receive(), nullptr);
    return result == ERROR_SUCCESS ? 0 : 1603;
}

void EndSilentInstall() {
    const std::string path = tstrings::sformat("%s\\%s", kCalyxwareKey, "SilentInstall");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

bool SetPolicyValue(const std::string& text, const std::string& name) {
    UniqueRegKey key;
    if (!text.empty()) {
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPolicyKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            key.receive(), nullptr) != ERROR_SUCCESS) {
            return false;
        }
        return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPolicyKey, 0,
                      KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, key.receive()) != ERROR_SUCCESS) {
        return false;
    }
    return RegDeleteValueA(key.get(), name.c_str()) == ERROR_SUCCESS;
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
        const Registry& machine32 = Registry::localMachine(RegistryView::Bits32);
        const Registry run = Registry::open(machine32, kRunKey, Registry::Mode::Write);
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
