#include "InstallFlag.h"

#include <windows.h>
#include <shlwapi.h>

#include "HeldFolder.h"
#include "Log.h"
#include "SysInfo.h"
#include "tstrings.h"

namespace {

bool appendAndCreate(std::string& path, const char* part) {
    char buffer[MAX_PATH * 2] = {};
    if (path.size() >= MAX_PATH) {
        logit(tstrings::sformat("Fail to create directory %s, ErrorCode is %d", path.c_str(),
                                static_cast<int>(ERROR_FILENAME_EXCED_RANGE)).c_str());
        return false;
    }
    lstrcpynA(buffer, path.c_str(), MAX_PATH);
    if (!PathAppendA(buffer, part)) {
        return false;
    }
    path = buffer;
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        logit(tstrings::sformat("Fail to create directory %s, ErrorCode is %d", path.c_str(),
                                static_cast<int>(GetLastError())).c_str());
        return false;
    }
    return true;
}

std::string defaultBaseFolder() {
    try {
        return SysInfo::getUserAppDataLowDir();
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return std::string();
    }
}

// Where the flag goes; Refused when one of its folders is a link.
enum class FlagPath { Found, Refused, Failed };

FlagPath findFlagPath(const std::string& baseFolder, std::string& path) {
    if (baseFolder.empty()) {
        return FlagPath::Failed;
    }
    std::string folder = baseFolder;
    // A level that is a link would put the flag, and its deletion, elsewhere:
    // each is checked before anything is made inside it.
    for (const char* level : {"Tolvane\\", "Calyx\\"}) {
        if (!appendAndCreate(folder, level)) return FlagPath::Failed;
        try {
            FileUtils::HeldFolder::holdFromProfile(tstrings::trimRight(folder, "\\"), false);
        } catch (const FileUtils::LinkRefused&) {
            return FlagPath::Refused;
        } catch (const std::exception& e) {
            REPORT_CAUGHT(e);
            return FlagPath::Failed;
        }
    }
    path = tstrings::trimRight(folder, "\\") + "\\CALYX_INSTALL_FLAG";
    return FlagPath::Found;
}

} // namespace

bool InstallFlag::getFlagPath(const std::string& baseFolder, std::string& path) {
    return findFlagPath(baseFolder, path) == FlagPath::Found;
}

bool InstallFlag::getFlagPath(std::string& path) {
    return getFlagPath(defaultBaseFolder(), path);
}

bool InstallFlag::installationInProgress(const std::string& baseFolder) {
    std::string path;
    if (!getFlagPath(baseFolder, path)) {
        logit("Fail to get the file path for Calyx install flag ");
        return false;
    }
    if (DeleteFileA(path.c_str())) {
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_LOCK_VIOLATION;
}

bool InstallFlag::installationInProgress() {
    return installationInProgress(defaultBaseFolder());
}

bool InstallFlag::take(const std::string& baseFolder) {
    std::string path;
    const FlagPath found = findFlagPath(baseFolder, path);
    // A link in the flag's folders: no flag can be placed safely, and the
    // extraction refuses the same link, so the run ends as it would have.
    if (found == FlagPath::Refused) {
        return true;
    }
    if (found == FlagPath::Failed) {
        logit("Fail to get the file path for Calyx install flag ");
        return false;
    }
    handle_.reset(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!handle_) {
        logit(tstrings::sformat("Fail to set installation flag, ErrorCode is %d",
                                static_cast<int>(GetLastError())).c_str());
        return false;
    }
    return true;
}

bool InstallFlag::take() {
    return take(defaultBaseFolder());
}
