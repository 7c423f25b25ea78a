#pragma once

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "AutoHandle.h"

namespace FileUtils {

// A level of a held folder that is a link or not a folder. The refusal is
// logged at ERROR when it is raised.
class LinkRefused : public std::runtime_error {
public:
    explicit LinkRefused(const std::string& path);
};

// A folder below a trusted base with every level, from the base down, open
// without delete sharing and checked not to be a link. While it lives no
// level can be renamed, removed or swapped for a link, so a path below it
// leads where it says. The elevated installer creates, writes and deletes
// below the user's folders only through one of these.
class HeldFolder {
public:
    // Holds base\levels..., making missing levels when create is set.
    // Raises LinkRefused for a link or a file in the way, TeguError<SysError>
    // for a level that is missing or cannot be opened.
    static HeldFolder hold(const std::string& base, const std::vector<std::string>& levels,
                           bool create);
    // Holds path from the user's profile folder down when path lies below
    // it, else from path itself.
    static HeldFolder holdFromProfile(const std::string& path, bool create);

    const std::string& path() const { return path_; }
    // The held child folder name, made when create is set.
    HeldFolder child(const std::string& name, bool create) const;

    // A new file name in this folder, open for writing and reading without
    // sharing. A file or link that was there is removed first, never written
    // through; a folder in the way makes it raise.
    UniqueHandle createFile(const std::string& name) const;
    // Removes name in this folder and, for a folder, all below it. A link is
    // removed itself, never followed; each folder is checked through a
    // handle held while it is emptied. True when it is gone; failures are
    // logged.
    bool remove(const std::string& name) const;
    // Removes the folder name in this folder only when it is empty.
    bool removeIfEmpty(const std::string& name) const;

private:
    HeldFolder() = default;
    void push(const std::string& path, bool create);

    std::string path_;
    std::vector<std::shared_ptr<UniqueHandle>> levels_;
};

// Deletes the open file (or folder) through its handle: no path is looked
// up again, so a swap after the handle was opened changes nothing.
bool deleteByHandle(HANDLE file, const std::string& pathForLog);

} // namespace FileUtils
