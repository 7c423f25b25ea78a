#include <gtest/gtest.h>

#include <windows.h>

#include "AutoHandle.h"
#include "Log.h"
#include "TestSupport.h"

// Holds the named file open for writing, without sharing write access,
// until the named event is set.
TEST_CHILD_MAIN(holdFileOpen) {
    if (args.size() != 3) return 2;
    UniqueHandle file(CreateFileA(args[0].c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 3;
    UniqueHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, args[1].c_str()));
    UniqueHandle release(OpenEventA(SYNCHRONIZE, FALSE, args[2].c_str()));
    if (!ready || !release) return 4;
    SetEvent(ready.get());
    return WaitForSingleObject(release.get(), 60000) == WAIT_OBJECT_0 ? 0 : 5;
}

TEST(LogFile, RecordIsDroppedWhileAnotherProcessHoldsTheFile) {
    const std::string path = makeLogFilePath(testsupport::tempDir(), "held.log");
    DeleteFileA(path.c_str());
    Logger logger(path);
    logger.write(LOG_INFO, "before", "a.cpp", 1, "f");
    const std::string before = testsupport::readFile(path);
    ASSERT_FALSE(before.empty());

    const std::string suffix = std::to_string(GetCurrentProcessId());
    const std::string readyName = "cxtest-ready-" + suffix;
    const std::string releaseName = "cxtest-release-" + suffix;
    UniqueHandle ready(CreateEventA(nullptr, TRUE, FALSE, readyName.c_str()));
    UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str()));
    std::string commandLine = "\"" + testsupport::selfPath() + "\" --cx-child holdFileOpen \"" +
                              path + "\" " + readyName + " " + releaseName;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi));
    UniqueHandle process(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    ASSERT_EQ(WaitForSingleObject(ready.get(), 30000), WAIT_OBJECT_0);

    EXPECT_NO_THROW(logger.write(LOG_INFO, "while held", "a.cpp", 2, "f"));

    SetEvent(release.get());
    ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(testsupport::readFile(path), before);

    logger.write(LOG_INFO, "after", "a.cpp", 3, "f");
    EXPECT_NE(testsupport::readFile(path).find("INFO: after"), std::string::npos);
}
