#include "HeldFolder.h"

#include <memory>
#include <set>

#include "DirectoryWalk.h"
#include "FileUtils.h"
#include "Log.h"
#include "SysInfo.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace FileUtils {

namespace {

const DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

bool isLink(DWORD attributes) {
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The entry itself, never a link's target (on Windows; Wine opens a host
// link's target, and shows a link to a folder only in the path's
// attributes, so every check reads those too). Null when it cannot be opened.
UniqueHandle openEntry(const std::string& path, DWORD access) {
    return UniqueHandle(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                    nullptr));
}

// The basic class only: the full record also asks for the volume's serial
// number, which costs Wine far more than the attributes.
DWORD handleAttributes(HANDLE handle, const std::string& path) {
    FILE_BASIC_INFO info = {};
    JP_CHECK_BOOL(GetFileInformationByHandleEx(handle, FileBasicInfo, &info, sizeof(info)),
                  "GetFileInformationByHandleEx(" + path + ")", GetFileInformationByHandleEx);
    return info.FileAttributes;
}

bool logFailure(const std::string& operation) {
    LOG_ERROR(systemFailure(operation, GetLastError()));
    return false;
}

// A link is removed as a link: its target is never opened.
bool removeLink(const std::string& path, DWORD attributes) {
    const bool removed = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryA(path.c_str())
                                                                 : DeleteFileA(path.c_str());
    return removed || logFailure("Removing the link [" + path + "]");
}

bool removeEntry(const std::string& path);

class RemoveChildren : public DirectoryCallback {
public:
    void onFile(const std::string& path) override { complete_ = removeEntry(path) && complete_; }
    void onDirectory(const std::string& path) override { onFile(path); }
    bool complete() const { return complete_; }

private:
    bool complete_ = true;
};

bool removeEntry(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == kNoAttributes) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
               logFailure("GetFileAttributes(" + path + ")");
    }
    if (isLink(attributes)) return removeLink(path, attributes);
    // Through the handle that checked it: on Windows a link swapped in
    // after the check is then removed itself. (Wine shows a host link to a
    // file as a plain file and reaches its target by name or by handle.)
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        const UniqueHandle file = openEntry(path, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE);
        return (file || logFailure("CreateFile(" + path + ")")) && deleteByHandle(file.get(), path);
    }
    // Held for listing, without delete sharing: what is listed is below it.
    UniqueHandle folder = openEntry(path, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE);
    if (!folder) return logFailure("CreateFile(" + path + ")");
    if (isLink(handleAttributes(folder.get(), path)) || isLink(GetFileAttributesA(path.c_str()))) {
        LOG_ERROR("Not removing [" << path << "]: it became a link");
        return false;
    }
    RemoveChildren children;
    iterateDirectory(path, children);
    folder.reset();
    // An empty folder by name: had a link taken its place, only the link
    // itself could go, never what it points at.
    return (RemoveDirectoryA(path.c_str()) || logFailure("RemoveDirectory(" + path + ")")) &&
           children.complete();
}

} // namespace

LinkRefused::LinkRefused(const std::string& path)
    : std::runtime_error("Refusing to use [" + path + "]: it is a link to another place") {}

void HeldFolder::push(const std::string& path, bool create) {
    if (create && !CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        JP_THROW_LAST_ERROR("CreateDirectory(" + path + ")", CreateDirectoryA);
    }
    const DWORD byPath = GetFileAttributesA(path.c_str());
    UniqueHandle level;
    if (!isLink(byPath)) {
        level = openEntry(path, FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE);
        if (!level) JP_THROW_LAST_ERROR("CreateFile(" + path + ")", CreateFileA);
    }
    const DWORD byHandle = level ? handleAttributes(level.get(), path) : byPath;
    if (isLink(byPath) || isLink(byHandle) || (byHandle & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        LinkRefused refusal(path);
        // Once per path: the extraction and the clean-up meet the same link.
        static std::set<std::string> refused;
        if (refused.insert(tstrings::toLower(path)).second) LOG_ERROR(refusal.what());
        JP_THROW(refusal);
    }
    levels_.push_back(std::make_shared<UniqueHandle>(std::move(level)));
    path_ = path;
}

HeldFolder HeldFolder::hold(const std::string& base, const std::vector<std::string>& levels,
                            bool create) {
    HeldFolder held;
    // A drive's root keeps its separator: "C:" alone names a current folder.
    held.push(base.size() == 3 && startsWithDriveRoot(base) ? base : stripTrailingSeparators(base), false);
    for (const std::string& level : levels) held.push(joinPath(held.path_, level), create);
    return held;
}

HeldFolder HeldFolder::holdFromProfile(const std::string& path, bool create) {
    const std::string profile = stripTrailingSeparators(SysInfo::getUserProfileDir());
    const std::string folder = stripTrailingSeparators(path);
    const bool below = folder.size() > profile.size() + 1 && folder[profile.size()] == '\\' &&
                       tstrings::toLower(folder.substr(0, profile.size())) == tstrings::toLower(profile);
    // A folder elsewhere (a redirected one) is held from its drive's root.
    const bool onDrive = !below && startsWithDriveRoot(folder) && folder.size() > 3;
    if (!below && !onDrive) return hold(folder, {}, create);
    const std::string base = below ? profile : folder.substr(0, 3);
    std::vector<std::string> levels;
    tstrings::split("\\", levels, folder.substr(base.size() + (below ? 1 : 0)));
    return hold(base, levels, create);
}

HeldFolder HeldFolder::child(const std::string& name, bool create) const {
    HeldFolder held(*this);
    held.push(joinPath(path_, name), create);
    return held;
}

UniqueHandle HeldFolder::createFile(const std::string& name) const {
    const std::string path = joinPath(path_, name);
    // A folder in the way stays, and the file cannot be made.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (isLink(attributes) || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) removeEntry(path);
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
    if (!file) JP_THROW_LAST_ERROR("CreateFile(" + path + ")", CreateFileA);
    return file;
}

bool HeldFolder::remove(const std::string& name) const {
    try {
        return removeEntry(joinPath(path_, name));
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return false;
    }
}

bool HeldFolder::removeIfEmpty(const std::string& name) const {
    const std::string path = joinPath(path_, name);
    if (isLink(GetFileAttributesA(path.c_str()))) return false;
    return RemoveDirectoryA(path.c_str()) != 0;
}

bool deleteByHandle(HANDLE file, const std::string& pathForLog) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition)) ||
           logFailure("Deleting [" + pathForLog + "]");
}

} // namespace FileUtils
