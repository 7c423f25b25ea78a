#pragma once

// Shared by the installer-service tests: the fixture packages built in
// packages/fixtures and a view of what the tests wrote to the log.

#include <string>

#include "Log.h"
#include "TestSupport.h"

namespace msitest {

inline const char* bitsText() { return sizeof(void*) == 8 ? "64" : "32"; }

// Codes as set in packages/fixtures/fixtures.cmake for this architecture.
inline std::string fixtureGuid(const char* kind) {
    return std::string("{5E1F7A00-0C4B-4D2E-9A11-7E570000") + kind + bitsText() + "}";
}
inline std::string goodProductCode() { return fixtureGuid("01"); }
inline std::string goodUpgradeCode() { return fixtureGuid("02"); }
inline std::string failingProductCode() { return fixtureGuid("04"); }
inline std::string failingUpgradeCode() { return fixtureGuid("05"); }

// The fixture's FixtureLongProp.
inline std::string goodLongValue() {
    std::string value;
    for (int i = 0; i < 15; ++i) value += "abcdefghij";
    return value;
}

// Windows path of a fixture package in this build.
inline std::string fixturePath(const std::string& fileName) {
    std::string path = "Z:" + testsupport::binaryDir() + "/packages/" + fileName;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

// The log text written after construction.
class LogWatch {
public:
    LogWatch() : start_(text().size()) {}
    std::string written() const { return text().substr(start_); }

private:
    static std::string text() {
        return testsupport::readFile(Logger::defaultLogger().filePath());
    }
    size_t start_;
};

} // namespace msitest
