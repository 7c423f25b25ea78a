#include "SettingsFileWriter.h"

#include "AllUsersReadableSecurity.h"
#include "AutoHandle.h"
#include "SettingsException.h"
#include "SettingsPaths.h"

namespace settings_impl {

namespace {

HANDLE createNewFile(const std::wstring& path, SECURITY_ATTRIBUTES* security) {
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, security, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD writeWholeBlock(HANDLE file, const char* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) ? written : 0;
}

UniqueHandle openExisting(const std::wstring& path, DWORD access) {
    return UniqueHandle(CreateFileW(path.c_str(), access,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Whether the file is there, by opening it for reading. A file that is
// there must also open for writing: one that cannot be rewritten in place
// (read-only, denied, a folder) is not replaced either (304).
bool fileExists(const std::wstring& path) {
    if (!openExisting(path, GENERIC_READ)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
        SETTINGS_THROW(settings::STATUS_CANNOT_OPEN);
    }
    if (!openExisting(path, GENERIC_WRITE)) SETTINGS_THROW(settings::STATUS_CANNOT_OPEN);
    return true;
}

// What a text-mode write makes of the text: LF becomes CR LF.
std::string withCrLf(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}

// The new file: removed again unless it replaced the target.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    std::wstring path_;
};

} // namespace

SettingsFileWriter::SystemCalls SettingsFileWriter::systemCalls() {
    return SystemCalls{createNewFile, writeWholeBlock};
}

void SettingsFileWriter::write(const FileName& canonical, const std::string& text) const {
    createParentDirectories(canonical);
    const std::wstring target = widePath(canonical.text());
    const std::string content = fileExists(target) ? withCrLf(text) : text;

    AllUsersReadableSecurity security;
    TemporaryFile temporary(target + L".tmp" + std::to_wstring(GetCurrentProcessId()));
    // A leftover of an earlier crash would keep its old descriptor.
    DeleteFileW(temporary.path().c_str());
    UniqueHandle file(calls_.createNew(temporary.path(), security.attributes()));
    if (!file) SETTINGS_THROW(settings::STATUS_CANNOT_OPEN);
    const DWORD size = static_cast<DWORD>(content.size());
    if (calls_.writeBlock(file.get(), content.data(), size) != size || !FlushFileBuffers(file.get())) {
        SETTINGS_THROW(settings::STATUS_WRITE_FAILED);
    }
    file.reset();
    if (!MoveFileExW(temporary.path().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        SETTINGS_THROW(settings::STATUS_CANNOT_OPEN);
    }
    temporary.keep();
}

} // namespace settings_impl
