#include "FileUtils.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "AutoHandle.h"
#include "Log.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace FileUtils {

namespace {

const char* const kSeparators = "\\/";

bool isNotFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool createNewFile(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LOG_AT_NAMED(LOG_TRACE, "FileUtils::`anonymous-namespace'::createNewFile",
                 "Created [" << path << "] file");
    return true;
}

void moveFileImpl(const std::string& source, const std::string& target, DWORD flags) {
    if (!MoveFileExA(source.c_str(), target.empty() ? nullptr : target.c_str(), flags)) {
        JP_THROW_NAMED(SysError(JP_API_ADDRESS(MoveFileExA),
                                "MoveFileEx(" + source + ", " + target + ") failed",
                                GetLastError()),
                       "FileUtils::`anonymous-namespace'::moveFileImpl");
    }
    const bool onReboot = (flags & MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
    LOG_AT_NAMED(LOG_TRACE, "FileUtils::`anonymous-namespace'::moveFileImpl",
                 (onReboot ? "Move" : "Moved") << " [" << source << "] file to [" << target << "]"
                                               << (onReboot ? " on reboot" : ""));
}

} // namespace

std::string joinPath(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    const size_t skip = (b[0] == '\\' || b[0] == '/') ? 1 : 0;
    return stripTrailingSeparators(a) + "\\" + b.substr(skip);
}

std::string baseName(const std::string& path) {
    const size_t pos = path.find_last_of(kSeparators);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string dirName(const std::string& path) {
    const size_t pos = path.find_last_of(kSeparators);
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

std::string stripTrailingSeparators(const std::string& path) {
    const size_t end = path.find_last_not_of(kSeparators);
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

bool startsWithDriveRoot(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           std::strchr(kSeparators, path[2]) != nullptr;
}

std::string fullPath(const std::string& path) {
    const std::wstring wide = tstrings::toUtf16(path);
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()),
                                         buffer.data(), nullptr);
        if (n == 0) JP_THROW_LAST_ERROR("GetFullPathNameW(" + path + ")", GetFullPathNameW);
        if (n < buffer.size()) return tstrings::toUtf8(std::wstring(buffer.data(), n));
        buffer.resize(n);
    }
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isDirectory(const std::string& path) {
    const DWORD attrs = GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool hasIllegalNameChars(const std::string& name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32) return true;
    }
    return name.find_first_of("<>:\"|?*/\\") != std::string::npos;
}

std::string createTempFile(const std::string& directory, const std::string& prefix,
                           const std::string& suffix) {
    if (hasIllegalNameChars(prefix)) JP_THROW_MSG("Illegal characters in prefix=" + prefix);
    if (hasIllegalNameChars(suffix)) JP_THROW_MSG("Illegal characters in suffix=" + suffix);
    const DWORD ticks = GetTickCount();
    for (DWORD i = 0; i < 100; ++i) {
        const std::string candidate =
            joinPath(directory, prefix + std::to_string(ticks + i) + suffix);
        if (createNewFile(candidate)) return candidate;
    }
    JP_THROW_MSG("cannot create temp file");
}

void createDirectory(const std::string& path) {
    const std::string full = stripTrailingSeparators(path) + "\\";
    for (size_t pos = full.find_first_of(kSeparators); pos != std::string::npos;
         pos = full.find_first_of(kSeparators, pos + 1)) {
        const std::string level = full.substr(0, pos + 1);
        if (CreateDirectoryA(level.c_str(), nullptr)) {
            LOG_TRACE("Created [" << level << "] directory");
            continue;
        }
        // Taken before the check below overwrites it.
        const DWORD error = GetLastError();
        if (!isDirectory(level)) {
            JP_THROW(SysError(JP_API_ADDRESS(CreateDirectoryA),
                              "CreateDirectory(" + level + ") failed", error));
        }
    }
}

bool tryDeleteFile(const std::string& path) {
    if (DeleteFileA(path.c_str())) {
        LOG_AT_NAMED(LOG_TRACE, "FileUtils::deleteFile", "Deleted [" << path << "] file");
        return true;
    }
    return isNotFound(GetLastError());
}

void deleteFile(const std::string& path) {
    if (!tryDeleteFile(path)) {
        JP_THROW_LAST_ERROR("DeleteFile(" + path + ") failed", DeleteFileA);
    }
}

bool tryDeleteDirectory(const std::string& path) {
    LOG_AT_NAMED(LOG_TRACE, "FileUtils::deleteDirectory", "deleteDirectory(" << path << ")");
    if (RemoveDirectoryA(path.c_str())) {
        LOG_AT_NAMED(LOG_TRACE, "FileUtils::deleteDirectory", "Deleted [" << path << "] directory");
        return true;
    }
    return isNotFound(GetLastError());
}

void deleteDirectory(const std::string& path) {
    if (!tryDeleteDirectory(path)) {
        JP_THROW_LAST_ERROR("RemoveDirectory(" + path + ") failed", RemoveDirectoryA);
    }
}

void moveFile(const std::string& source, const std::string& target, DWORD flags) {
    moveFileImpl(source, target, flags);
}

void deletePersistentFile(const std::string& path) {
    if (exists(path) && !tryDeleteFile(path)) {
        LOG_INFO("cannot delete file " << path << ", schedule deletion on reboot");
        moveFile(path, std::string(), MOVEFILE_DELAY_UNTIL_REBOOT);
    }
}

Version getFileVersion(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) {
        JP_THROW_LAST_ERROR("GetFileVersionInfoSize(" + path + ") failed", GetFileVersionInfoSizeA);
    }
    std::vector<char> block(size);
    JP_CHECK_BOOL(GetFileVersionInfoA(path.c_str(), 0, size, block.data()),
                  "GetFileVersionInfo(" + path + ") failed", GetFileVersionInfoA);
    void* root = nullptr;
    UINT length = 0;
    JP_CHECK_BOOL(VerQueryValueW(block.data(), L"\\", &root, &length),
                  "VerQueryValueW(" + path + ") failed", VerQueryValueW);
    if (length < sizeof(VS_FIXEDFILEINFO)) {
        JP_THROW_MSG("VerQueryValueW(" + path + ") returned unexpected buffer size.");
    }
    const VS_FIXEDFILEINFO* info = static_cast<const VS_FIXEDFILEINFO*>(root);
    return Version(HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                   HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
}

} // namespace FileUtils
