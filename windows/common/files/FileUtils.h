#pragma once

#include <windows.h>

#include <string>

#include "Version.h"

// Paths, files and folders. Paths are narrow strings in the system code
// page; failures raise TeguError<SysError> or TeguError<std::runtime_error>.
namespace FileUtils {

// a and b joined by one "\"; either side alone when the other is empty.
std::string joinPath(const std::string& a, const std::string& b);
// Text after the last "\" or "/"; the whole path when there is none.
std::string baseName(const std::string& path);
// Text before the last "\" or "/"; empty when there is none.
std::string dirName(const std::string& path);
std::string stripTrailingSeparators(const std::string& path);
// A drive letter, ":" and a separator: "C:\", "d:/".
bool startsWithDriveRoot(const std::string& path);
// The absolute form of path, relative to the current folder.
std::string fullPath(const std::string& path);
bool exists(const std::string& path);
bool isDirectory(const std::string& path);
// Control characters and <>:"|?*/\ cannot be part of a file name.
bool hasIllegalNameChars(const std::string& name);

// A new empty file named directory\prefix<number>suffix; raises when the
// prefix or suffix could not be part of a name or no free name is found.
std::string createTempFile(const std::string& directory, const std::string& prefix,
                           const std::string& suffix);

// Creates every missing level of path; existing levels are fine.
void createDirectory(const std::string& path);

// A file or empty folder that is already gone counts as deleted.
bool tryDeleteFile(const std::string& path);
void deleteFile(const std::string& path);
bool tryDeleteDirectory(const std::string& path);
void deleteDirectory(const std::string& path);

// MoveFileEx; an empty target with MOVEFILE_DELAY_UNTIL_REBOOT schedules
// the source's deletion at the next start of the system.
void moveFile(const std::string& source, const std::string& target, DWORD flags);

// Deletes the file now or, when it is busy, at the next system start.
void deletePersistentFile(const std::string& path);

// The file version from the version resource of an executable file.
Version getFileVersion(const std::string& path);

} // namespace FileUtils
