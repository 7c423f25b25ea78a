#pragma once

#include <string>

namespace FileUtils {

// Receives the entries of one folder; "." and ".." are not reported.
class DirectoryCallback {
public:
    virtual ~DirectoryCallback() {}
    virtual void onFile(const std::string& path) = 0;
    virtual void onDirectory(const std::string& path) = 0;
};

// Reports every entry of the folder, not recursing. Raises
// TeguError<SysError> when the folder cannot be listed.
void iterateDirectory(const std::string& directory, DirectoryCallback& callback);

} // namespace FileUtils
