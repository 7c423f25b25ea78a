#include "RegistryTestKey.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "AutoHandle.h"

namespace {

const char kTestsPath[] = "Software\\cxroffline-tests";

bool processRunning(DWORD pid) {
    const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// Another test process may remove the shared parent, or the same leftover,
// at any moment, so the sweep is best effort and never fails the test.
void removeLeftovers(const Registry& root) {
    try {
        const Registry tests = Registry::open(root, kTestsPath);
        for (const std::string& name : tests.getSubkeyNames()) {
            if (!processRunning(std::strtoul(name.c_str(), nullptr, 10))) {
                tests.deleteTree(name);
            }
        }
    } catch (const std::exception&) {
        // Nothing to sweep, or another process swept first.
    }
}

std::string removeLeftoversAndMakePath(const Registry& root) {
    removeLeftovers(root);
    const std::string path = std::string(kTestsPath) + "\\" + std::to_string(GetCurrentProcessId());
    root.deleteTree(path);
    return path;
}

} // namespace

RegistryTestKey::RegistryTestKey(const Registry& root)
    : root_(root),
      path_(removeLeftoversAndMakePath(root)),
      key_(Registry::open(root, path_, Registry::Mode::Write)) {}

RegistryTestKey::~RegistryTestKey() {
    try {
        root_.deleteTree(path_);
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
    // Succeeds only once no other test process has a tree below it.
    RegDeleteKeyExA(root_.hkey(), kTestsPath, static_cast<REGSAM>(root_.view()), 0);
}
