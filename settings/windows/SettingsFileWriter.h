#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "FileName.h"

namespace settings_impl {

// Writes a settings file so that a failure leaves the previous file whole:
// the text goes to a new file beside it, created readable by every user,
// which replaces the old file only once it is complete.
class SettingsFileWriter {
public:
    // The two system calls a test may replace: to see the descriptor a new
    // file gets, or to make a write fail half-way.
    struct SystemCalls {
        // Creates a file that must not exist yet; INVALID_HANDLE_VALUE on failure.
        std::function<HANDLE(const std::wstring& path, SECURITY_ATTRIBUTES* security)> createNew;
        // Writes one block and answers the bytes written.
        std::function<DWORD(HANDLE file, const char* data, DWORD size)> writeBlock;
    };
    static SystemCalls systemCalls();

    SettingsFileWriter() : calls_(systemCalls()) {}
    explicit SettingsFileWriter(SystemCalls calls) : calls_(std::move(calls)) {}

    // Creates the missing parent folders (311) and writes text. A file that
    // existed gets CR LF line ends, a new one bare LF. Raises
    // settings::Exception 304 when the file cannot be created or replaced and
    // 306 when the text cannot be written whole.
    void write(const FileName& canonical, const std::string& text) const;

private:
    SystemCalls calls_;
};

} // namespace settings_impl
