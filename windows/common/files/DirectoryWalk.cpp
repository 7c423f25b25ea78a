#include "DirectoryWalk.h"

#include <windows.h>

#include "AutoHandle.h"
#include "FileUtils.h"
#include "Log.h"
#include "WinErrorHandling.h"

namespace FileUtils {

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

} // namespace FileUtils
