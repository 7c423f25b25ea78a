#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Log.h"
#include "TestSupport.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::map<std::string, ChildMain>& children() {
    static std::map<std::string, ChildMain> registry;
    return registry;
}

std::string& ownTempDir() {
    static std::string dir;
    return dir;
}

#ifdef _WIN32
// Runs before the logger's static initialisation so that this process's
// log and temporary files land in a folder of its own.
struct PrivateTempFolder {
    PrivateTempFolder() {
        char base[MAX_PATH + 1] = {};
        const DWORD n = GetTempPathA(MAX_PATH, base);
        if (n == 0 || n > MAX_PATH) return;
        std::string dir = std::string(base, n) + "cxtest-" + std::to_string(GetCurrentProcessId()) +
                          "-" + std::to_string(GetTickCount());
        if (!CreateDirectoryA(dir.c_str(), nullptr)) return;
        SetEnvironmentVariableA("TMP", dir.c_str());
        SetEnvironmentVariableA("TEMP", dir.c_str());
        ownTempDir() = dir;
    }
};
#else
struct PrivateTempFolder {
    PrivateTempFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/cxtest-XXXXXX";
        if (mkdtemp(&pattern[0])) {
            setenv("TMPDIR", pattern.c_str(), 1);
            ownTempDir() = pattern;
        }
    }
};
#endif
PrivateTempFolder privateTempFolder __attribute__((init_priority(101)));

} // namespace

ChildRegistration::ChildRegistration(const char* name, ChildMain main) {
    children()[name] = main;
}

namespace testsupport {

std::string selfPath() {
#ifdef _WIN32
    char path[4096] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
#else
    char path[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
#endif
}

std::string tempDir() {
    return ownTempDir();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string sourceDir() {
#ifdef CX_SOURCE_DIR
    return CX_SOURCE_DIR;
#else
    const char* dir = std::getenv("CX_SOURCE_DIR");
    return dir ? dir : ".";
#endif
}

std::string binaryDir() {
#ifdef CX_BINARY_DIR
    return CX_BINARY_DIR;
#else
    return ".";
#endif
}

} // namespace testsupport

namespace {

// A run that passed leaves nothing behind; a failed one keeps its folder and
// log to look at. Children inherit the folder as their temporary directory,
// so theirs lie inside it; a file a stray child still holds stays.
int removingTempFolderIfPassed(int code) {
    if (code == 0 && !ownTempDir().empty()) {
        std::remove(Logger::defaultLogger().filePath().c_str());
        std::error_code kept;
        std::filesystem::remove_all(ownTempDir(), kept);
    }
    return code;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--cx-child") == 0) {
        const auto it = children().find(argv[2]);
        if (it == children().end()) {
            return 127;
        }
        return it->second(std::vector<std::string>(argv + 3, argv + argc));
    }
    ::testing::InitGoogleTest(&argc, argv);
    return removingTempFolderIfPassed(RUN_ALL_TESTS());
}
