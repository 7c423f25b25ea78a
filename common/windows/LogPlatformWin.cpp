#include "LogPlatform.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <vector>

#include "TeguError.h"

namespace logplatform {

LogTime localTime() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return LogTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond,
                   st.wMilliseconds};
}

unsigned processId() { return GetCurrentProcessId(); }

unsigned threadId() { return GetCurrentThreadId(); }

bool appendOnce(const std::string& path, const std::string& text) {
    // Text mode on purpose: each "\n" is stored as CR LF.
    const int fd = _sopen(path.c_str(), _O_APPEND | _O_WRONLY | _O_CREAT, _SH_DENYWR,
                          _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        return false;
    }
    _write(fd, text.data(), static_cast<unsigned>(text.size()));
    _close(fd);
    return true;
}

void sleepOneMillisecond() { Sleep(1); }

std::string temporaryDirectory() {
    std::vector<char> buffer(MAX_PATH);
    DWORD n = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n > buffer.size()) {
        buffer.resize(n);
        n = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    if (n == 0 || n > buffer.size()) {
        return std::string();
    }
    return std::string(buffer.data(), n);
}

std::string executablePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            JP_THROW_NAMED(std::runtime_error("GetModuleFileName(NULL) failed"),
                           "SysInfo::getProcessModulePath");
        }
        if (n < buffer.size()) {
            return std::string(buffer.data(), n);
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace logplatform
