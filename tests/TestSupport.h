#pragma once

#include <string>
#include <vector>

// A test executable can be started again as a child process that runs one
// registered child entry point instead of the tests:
//   <test.exe> --cx-child <name> [args...]
typedef int (*ChildMain)(const std::vector<std::string>& args);

struct ChildRegistration {
    ChildRegistration(const char* name, ChildMain main);
};

#define TEST_CHILD_MAIN(name)                                                 \
    static int name##ChildMain(const std::vector<std::string>& args);          \
    static ChildRegistration name##ChildRegistration(#name, name##ChildMain);  \
    static int name##ChildMain(const std::vector<std::string>& args)

namespace testsupport {

// Full path of the running test executable.
std::string selfPath();

// This process's own temporary folder (each test process gets a fresh one).
std::string tempDir();

// Text of a whole file ("" when missing).
std::string readFile(const std::string& path);

// Folder of the repository's sources and of the build, as configured.
std::string sourceDir();
std::string binaryDir();

} // namespace testsupport
