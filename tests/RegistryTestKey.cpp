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

std::string removeLeftoversAndMakePath(const Registry& root) {
    if (root.keyExists(kTestsPath)) {
        const Registry tests = Registry::open(root, kTestsPath);
        for (const std::string& name : tests.getSubkeyNames()) {
            if (processRunning(std::strtoul(name.c_str(), nullptr, 10))) {
                continue;
            }
            try {
                tests.deleteTree(name);
            } catch (const std::exception&) {
                // Another test process is removing the same leftover.
            }
        }
    }
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
