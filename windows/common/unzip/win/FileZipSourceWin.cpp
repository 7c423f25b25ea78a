#include "FileZipSource.h"

#include <windows.h>

#include <algorithm>

#include "AutoHandle.h"
#include "Log.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

const DWORD kMaxReadPiece = 1u << 30;

HANDLE createFileProxy(const std::string& path) {
    try {
        return CreateFileW(tstrings::toUtf16(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("createFileProxy"), e);
        return INVALID_HANDLE_VALUE;
    }
}

class WinFileZipSource : public ZipSource {
public:
    WinFileZipSource(UniqueHandle file, uint64_t size) : file_(std::move(file)), size_(size) {}

    uint64_t size() const override { return size_; }

protected:
    // Positioned reads leave no shared file pointer between threads.
    size_t readSome(uint64_t offset, void* buffer, size_t length) override {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        if (!ReadFile(file_.get(), buffer, static_cast<DWORD>(std::min<size_t>(length, kMaxReadPiece)),
                      &got, &at)) {
            return 0;
        }
        return got;
    }

private:
    const UniqueHandle file_;
    const uint64_t size_;
};

} // namespace

std::unique_ptr<ZipSource> openFileZipSource(const std::string& path, std::string* error) {
    UniqueHandle file(createFileProxy(path));
    if (!file) {
        *error = systemFailure("CreateFile(" + path + ")", GetLastError());
        return nullptr;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        *error = systemFailure("GetFileSizeEx(" + path + ")", GetLastError());
        return nullptr;
    }
    return std::make_unique<WinFileZipSource>(std::move(file), static_cast<uint64_t>(size.QuadPart));
}
