#include "DirectoryWalk.h"

#include <windows.h>

#include "AutoHandle.h"
#include "FileUtils.h"
#include "Log.h"
#include "WinErrorHandling.h"

namespace FileUtils {

namespace {

bool isLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Opens the folder itself (not a link's target) without delete sharing: as
// long as the handle lives the folder cannot be renamed or swapped for a
// link, so listing its path lists this folder. Null when it is a link.
UniqueHandle pinFolder(const std::string& path) {
    UniqueHandle pin(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                 nullptr));
    if (!pin) JP_THROW_LAST_ERROR("CreateFile(" + path + ") failed", CreateFileA);
    BY_HANDLE_FILE_INFORMATION info = {};
    JP_CHECK_BOOL(GetFileInformationByHandle(pin.get(), &info),
                  "GetFileInformationByHandle(" + path + ") failed", GetFileInformationByHandle);
    if (isLink(info.dwFileAttributes)) pin.reset();
    return pin;
}

enum EntryKind { MISSING, NOT_FOLDER, LINK, FOLDER };

EntryKind entryKind(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return MISSING;
        JP_THROW_LAST_ERROR("GetFileAttributes(" + path + ") failed", GetFileAttributesA);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return NOT_FOLDER;
    return isLink(attributes) ? LINK : FOLDER;
}

bool removeEmptyFolder(const std::string& path, bool strict) {
    if (!strict) return tryDeleteDirectory(path);
    deleteDirectory(path);
    return true;
}

// Strict: raises at the first failure. Otherwise raises only when a folder
// cannot be opened or listed.
bool removeTree(const std::string& path, bool strict) {
    switch (entryKind(path)) {
    case MISSING:
        return true;
    case NOT_FOLDER:
        return false;
    case LINK:
        return removeEmptyFolder(path, strict);
    case FOLDER:
        break;
    }
    bool complete = true;
    {
        const UniqueHandle pin = pinFolder(path);
        if (pin) {
            DeleteAllCallback callback(strict);
            iterateDirectory(path, callback);
            complete = !callback.failed();
        }
    }
    return removeEmptyFolder(path, strict) && complete;
}

bool removeFiles(const std::string& path, bool strict) {
    switch (entryKind(path)) {
    case MISSING:
        return true;
    case NOT_FOLDER:
    case LINK:
        return false;
    case FOLDER:
        break;
    }
    const UniqueHandle pin = pinFolder(path);
    if (!pin) return false;
    DeleteFilesCallback callback(strict);
    iterateDirectory(path, callback);
    return !callback.failed();
}

// Runs one deletion and turns its exceptions into a logged false.
class BatchDeleter {
public:
    typedef bool (*Action)(const std::string& path, bool strict);
    BatchDeleter(Action action, bool strict) : action_(action), strict_(strict) {}

    bool execute(const std::string& path) const {
        try {
            return action_(path, strict_);
        } catch (const std::exception& e) {
            reportCaughtException(
                SOURCE_LOCATION_NAMED("FileUtils::`anonymous-namespace'::BatchDeleter::execute"), e);
            return false;
        }
    }

private:
    Action action_;
    bool strict_;
};

} // namespace

void DeleteFilesCallback::onFile(const std::string& path) {
    if (strict_) {
        deleteFile(path);
    } else if (!tryDeleteFile(path)) {
        failed_ = true;
    }
}

void DeleteAllCallback::onDirectory(const std::string& path) {
    const bool removed = strict_ ? removeTree(path, true) : deleteTree(path, false);
    if (!removed) failed_ = true;
}

void iterateDirectory(const std::string& directory, DirectoryCallback& callback) {
    WIN32_FIND_DATAA entry;
    const UniqueFindHandle find(FindFirstFileA(joinPath(directory, "*").c_str(), &entry));
    if (!find) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return;
        JP_THROW_LAST_ERROR("FindFirstFile(" + directory + ") failed", FindFirstFileA);
    }
    do {
        const std::string name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            callback.onFile(joinPath(directory, name));
        } else if (name != "." && name != "..") {
            callback.onDirectory(joinPath(directory, name));
        }
    } while (FindNextFileA(find.get(), &entry));
    if (GetLastError() != ERROR_NO_MORE_FILES) {
        JP_THROW_LAST_ERROR("FindNextFile(" + directory + ") failed", FindNextFileA);
    }
}

bool deleteTree(const std::string& path, bool strict) {
    return BatchDeleter(removeTree, strict).execute(path);
}

bool deleteFiles(const std::string& path, bool strict) {
    return BatchDeleter(removeFiles, strict).execute(path);
}

} // namespace FileUtils
