#pragma once

// Shared by the deployment-library tests: runtime home folders holding the
// stand-in libraries built in packages/runtime, and the stand-in's steering
// key and request log for this test process.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "DeployLibLoader.h"
#include "MsiTestFixtures.h"
#include "Registry.h"
#include "RegistryTestKey.h"
#include "TestSupport.h"
#include "tstrings.h"

namespace deploytest {

typedef std::vector<std::pair<std::string, std::string>> FileList;  // built file -> name in bin

inline const FileList& standIns() {
    static const FileList files = {{"runtime-bin/msvcr100.dll", "msvcr100.dll"},
                                   {"runtime-bin/deploy.dll", "deploy.dll"}};
    return files;
}

// <temporary folder>\<name> with the built files copied into its bin folder.
inline std::string makeHome(const std::string& name, const FileList& files) {
    const std::string home = testsupport::tempDir() + "\\" + name;
    // Home folders are ANSI text, as the registry gives them.
    const std::wstring bin = tstrings::fromACP(home) + L"\\bin";
    CreateDirectoryW(tstrings::fromACP(home).c_str(), nullptr);
    CreateDirectoryW(bin.c_str(), nullptr);
    for (const auto& file : files) {
        const std::string source = msitest::fixturePath(file.first);
        EXPECT_TRUE(CopyFileW(tstrings::toUtf16(source).c_str(),
                              (bin + L"\\" + tstrings::toUtf16(file.second)).c_str(), FALSE))
            << source;
    }
    return home;
}

// The steering key the stand-in reads in this process, with a fresh
// request log.
class StandInSteering {
public:
    StandInSteering()
        : key_(Registry::open(tree_.key(), "deploy-stand-in", Registry::Mode::Write)),
          log_(testsupport::tempDir() + "\\deploy-requests.txt") {
        DeleteFileA(log_.c_str());
        key_.setString("RequestLog", log_);
    }

    void answer(const std::string& name, int value) const {
        key_.setDword(name, static_cast<DWORD>(value));
    }

    // query_res of the queries 1 to 5.
    void answerEach(int plugin, int decisions, int clear, int reset, int config) const {
        answer("PluginStatus", plugin);
        answer("PreviousDecisionsExist", decisions);
        answer("ClearPreviousDecisions", clear);
        answer("ResetPreviousDecisions", reset);
        answer("SystemConfig", config);
    }

    // One line per request the stand-in received.
    std::string requests() const { return testsupport::readFile(log_); }

private:
    RegistryTestKey tree_{Registry::currentUser()};
    Registry key_;
    std::string log_;
};

// The line the stand-in records for the baseline switch.
inline const char* baselineRequest() {
    return "kind=5 argument=0 config=deployment.expiration.check.enabled false\n";
}

// Every query of one loader for home, in the order of their kinds.
inline std::vector<bool> askEverything(const std::string& home) {
    DeployLibLoader loader(home);
    return {loader.isCalyxPluginDisabled(), loader.isPreviousSecurityDecisionsExist(),
            loader.doClearUserPreviousDecisions(), loader.doResetUserPreviousDecisions(),
            loader.turnOffSecurityBaselineCheck()};
}

// What the stand-in records for askEverything.
inline std::string everyRequest() {
    return std::string("kind=1 argument=0 config=\n"
                       "kind=2 argument=30 config=\n"
                       "kind=3 argument=30 config=\n"
                       "kind=4 argument=0 config=\n") +
           baselineRequest();
}

} // namespace deploytest
