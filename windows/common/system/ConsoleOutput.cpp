#include "ConsoleOutput.h"

#include <windows.h>

#include "AutoHandle.h"
#include "Log.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

bool failed(const char* operation) {
    LOG_WARNING(systemFailure(operation, GetLastError()));
    return false;
}

bool writeBytes(HANDLE out, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        if (!WriteFile(out, text.data() + done, static_cast<DWORD>(text.size() - done), &written,
                       nullptr) ||
            written == 0) {
            return failed("WriteFile(standard output)");
        }
        done += written;
    }
    return true;
}

bool writeConsole(HANDLE console, const std::string& text) {
    const std::wstring wide = tstrings::toUtf16(text);
    size_t done = 0;
    while (done < wide.size()) {
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data() + done, static_cast<DWORD>(wide.size() - done),
                           &written, nullptr) ||
            written == 0) {
            return failed("WriteConsoleW");
        }
        done += written;
    }
    return true;
}

// Windows programs read lines that end in CR LF.
std::string withCrLf(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

} // namespace

bool ConsoleOutput::write(const std::string& lines) {
    const std::string text = withCrLf(lines);
    // A parent that redirected the output handed its handle over; it is not
    // ours to close.
    const HANDLE inherited = GetStdHandle(STD_OUTPUT_HANDLE);
    if (inherited != nullptr && inherited != INVALID_HANDLE_VALUE &&
        GetFileType(inherited) != FILE_TYPE_UNKNOWN) {
        DWORD mode = 0;
        return GetConsoleMode(inherited, &mode) ? writeConsole(inherited, text)
                                                : writeBytes(inherited, text);
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        LOG_INFO("No console to write to: the text goes to the log only");
        return false;
    }
    const UniqueHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    if (!console) return failed("CreateFileW(CONOUT$)");
    return writeConsole(console.get(), text);
}
