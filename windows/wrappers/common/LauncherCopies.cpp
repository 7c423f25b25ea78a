#include "LauncherCopies.h"

#include "FileUtils.h"
#include "Log.h"
#include "SysInfo.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

const char* const kLauncherNames[] = {"calyx.exe", "calyxw.exe", "calyxws.exe"};

} // namespace

bool IsRemovableLauncherCopy(const std::string& name, const Version& fileVersion) {
    const int a = fileVersion.item(0);
    const int c = fileVersion.item(2);
    if (tstrings::equals(name, "calyxws.exe", tstrings::IGNORE_CASE)) {
        return (a >= 11 && c >= 20) || a >= 12;
    }
    return (a >= 8 && c >= 20) || a >= 9;
}

void RemoveLauncherCopies(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        for (const char* name : kLauncherNames) {
            const std::string path = FileUtils::joinPath(folder, name);
            if (!FileUtils::exists(path)) continue;
            Version version;
            try {
                version = FileUtils::getFileVersion(path);
            } catch (const std::exception& e) {
                // Keep what we cannot judge; the rest of the run must go on.
                REPORT_CAUGHT(e);
                LOG_WARNING("Keeping [" << path << "]: its file version cannot be read");
                continue;
            }
            if (IsRemovableLauncherCopy(name, version) && !FileUtils::tryDeleteFile(path)) {
                const DWORD error = GetLastError();
                LOG_WARNING("Keeping [" << path << "]: " << systemErrorText(error));
            }
        }
    }
}

std::vector<std::string> LauncherCopyFolders() {
    if (!SysInfo::is64BitOs()) {
        return {SysInfo::getSystemDir()};
    }
    // A 32-bit process asking for System32 is sent to SysWOW64; Sysnative
    // is the name that reaches the real one.
    const std::string system = SysInfo::isWow64()
                                   ? FileUtils::joinPath(SysInfo::getWindowsDir(), "Sysnative")
                                   : SysInfo::getSystemDir();
    return {system, SysInfo::getSystemWow64Dir()};
}
