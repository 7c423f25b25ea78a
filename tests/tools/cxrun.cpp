// cxrun <program> [args...]: runs the program, waits for it and prints its
// whole 32-bit exit code as "exit code: <signed decimal>" (Wine gives the
// calling shell only the low byte). Its own exit code is 0 when the child
// ran, 2 when it could not be started.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// The rest of this program's command line after its own name.
std::string childCommandLine() {
    const char* p = GetCommandLineA();
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

} // namespace

int main() {
    std::string commandLine = childCommandLine();
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (commandLine.empty() ||
        !CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
        std::printf("cannot start: %s (error %lu)\n", commandLine.c_str(), GetLastError());
        return 2;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("exit code: %ld\n", static_cast<long>(code));
    std::fflush(stdout);
    return 0;
}
