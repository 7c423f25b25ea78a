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

// Deletes every file it is given and ignores folders. Strict: raises at
// the first failure; otherwise notes it and carries on.
class DeleteFilesCallback : public DirectoryCallback {
public:
    explicit DeleteFilesCallback(bool strict) : strict_(strict), failed_(false) {}
    void onFile(const std::string& path) override;
    void onDirectory(const std::string&) override {}
    bool failed() const { return failed_; }

protected:
    bool strict_;
    bool failed_;
};

// Deletes files and whole sub-trees.
class DeleteAllCallback : public DeleteFilesCallback {
public:
    explicit DeleteAllCallback(bool strict) : DeleteFilesCallback(strict) {}
    void onDirectory(const std::string& path) override;
};

// Reports every entry of the folder, not recursing. Raises
// TeguError<SysError> when the folder cannot be listed.
void iterateDirectory(const std::string& directory, DirectoryCallback& callback);

// Removes the folder and everything below it. Links (junctions, symbolic
// links) are removed themselves and never followed, so a link planted in
// the tree cannot lead the deletion elsewhere. A missing path answers true,
// a path that is not a folder false; failures are logged and answer false.
bool deleteTree(const std::string& path, bool strict);

// Deletes the files directly inside the folder; answers false when any
// remained. A link in place of the folder is left alone.
bool deleteFiles(const std::string& path, bool strict);

} // namespace FileUtils
