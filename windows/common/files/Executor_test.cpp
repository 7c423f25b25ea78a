#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include "Executor.h"
#include "FileTestSupport.h"
#include "FileUtils.h"
#include "TestSupport.h"

using testing::AllOf;
using testing::EndsWith;
using testing::HasSubstr;
using testing::StartsWith;
using testing::ThrowsMessage;

using testsupport::logText;
using testsupport::testFolder;

namespace {

// Every wait on a child in these tests is bounded by this.
const DWORD kChildTimeout = 60000;

std::string pattern(size_t size) {
    std::string text(size, ' ');
    for (size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + i % 26);
    return text;
}

bool writeStd(DWORD which, const std::string& text) {
    DWORD written = 0;
    return WriteFile(GetStdHandle(which), text.data(), static_cast<DWORD>(text.size()), &written,
                     nullptr) &&
           written == text.size();
}

std::string childArguments(const std::string& child, const std::string& arguments) {
    return "--cx-child " + child + " " + arguments;
}

} // namespace

// <bytes> <exit code> [<delay ms>]: writes the pattern to standard output
// and "E" to standard error, waits, exits with the code.
TEST_CHILD_MAIN(executorOutput) {
    if (args.size() < 2) return 100;
    if (!writeStd(STD_OUTPUT_HANDLE, pattern(std::stoul(args[0]))) ||
        !writeStd(STD_ERROR_HANDLE, "E")) {
        return 101;
    }
    if (args.size() > 2) Sleep(std::stoul(args[2]));
    return std::stoi(args[1]);
}

// <marker>: writes the marker file after 1.5 s, unless terminated before.
TEST_CHILD_MAIN(executorLate) {
    if (args.empty()) return 100;
    Sleep(1500);
    return testsupport::writeFile(args[0]) ? 0 : 101;
}

// <event> <marker>: writes "signalled" or "timed out" to the marker.
TEST_CHILD_MAIN(executorAwaitEvent) {
    if (args.size() < 2) return 100;
    const UniqueHandle event(OpenEventA(SYNCHRONIZE, FALSE, args[0].c_str()));
    const bool signalled = event && WaitForSingleObject(event.get(), 20000) == WAIT_OBJECT_0;
    return testsupport::writeFile(args[1], signalled ? "signalled" : "timed out") ? 0 : 101;
}

TEST(Executor, EmptyPathRaisesLocatedError) {
    for (const char* path : {"", " \t ", "\"\""}) {
        EXPECT_THAT([&] { Executor executor(path); },
                    ThrowsMessage<Executor::ExecutorError>(
                        AllOf(StartsWith("Executor.cpp("),
                              EndsWith(") at Executor::Executor(): applicationPath is empty"))))
            << path;
    }
    EXPECT_THAT(logText(), HasSubstr("(Executor::Executor)]\n\tERROR: Executor: applicationPath is empty"));
}

TEST(Executor, CommandLineFollowsTheArguments) {
    Executor quoted(" \t\"C:\\p q\\app.exe\" ");
    EXPECT_EQ(quoted.applicationPath(), "C:\\p q\\app.exe");
    EXPECT_EQ(quoted.commandLine(), "\"C:\\p q\\app.exe\"");
    quoted.setArguments("  -a b\t");
    EXPECT_EQ(quoted.commandLine(), "\"C:\\p q\\app.exe\" -a b");

    Executor repeated("C:\\app.exe");
    repeated.setArguments("C:\\app.exe -x");
    EXPECT_EQ(repeated.commandLine(), "\"C:\\app.exe\" -x");

    Executor replaced("C:\\app.exe");
    replaced.setArguments("\"C:\\app.exe\" -new-window \"http://a/b\"");
    EXPECT_EQ(replaced.commandLine(), "\"C:\\app.exe\" -new-window \"http://a/b\"");

    Executor none("C:\\app.exe");
    none.setArguments("  ");
    EXPECT_EQ(none.commandLine(), "\"C:\\app.exe\"");
}

TEST(Executor, CapturesOutputLargerThanThePipeWhileTheChildRuns) {
    const size_t size = 300000;
    Executor executor(testsupport::selfPath());
    executor.setArguments(childArguments("executorOutput", std::to_string(size) + " 7"))
        .setHideWindow(true)
        .setCaptureOutput(true)
        .setWaitForExit(true)
        .setTimeout(kChildTimeout);
    EXPECT_EQ(executor.exec(), 7u);
    EXPECT_TRUE(executor.started());
    EXPECT_EQ(executor.output().size(), size + 1);
    EXPECT_TRUE(executor.output() == pattern(size) + "E");
    const std::string log = logText();
    EXPECT_THAT(log, HasSubstr("INFO: Executor.exec(): \"" + testsupport::selfPath() +
                               "\" --cx-child executorOutput"));
    EXPECT_THAT(log, HasSubstr("INFO: Create pipe SUCCESS"));
    EXPECT_THAT(log, HasSubstr("INFO: Executor.finishExecution(): WaitForSingleObject exited "
                               "with code 0"));
    EXPECT_THAT(log, HasSubstr("INFO: Executor.finishExecution(): ExitCode = 7"));
    EXPECT_THAT(log, HasSubstr("ERROR: Executor.finishExecution(): Process execution  failed with "
                               "system error "));
}

TEST(Executor, ChildThatOutlivesTheTimeoutIsTerminated) {
    const std::string folder = testFolder("late");
    for (const bool pump : {false, true}) {
        const std::string marker = folder + (pump ? "\\pumped" : "\\waited");
        Executor executor(testsupport::selfPath());
        executor.setArguments(childArguments("executorLate", marker))
            .setHideWindow(true)
            .setTimeout(200);
        if (pump) {
            executor.setPumpMessagesWhileWaiting(true);
        } else {
            executor.setWaitForExit(true);
        }
        EXPECT_EQ(executor.exec(), static_cast<DWORD>(WAIT_TIMEOUT)) << pump;
    }
    EXPECT_THAT(logText(), HasSubstr("INFO: Executor.finishExecution(): The timeout is elapsed. "
                                     "Terminating Process."));
    // Long enough for a surviving child to have written its marker.
    Sleep(2500);
    EXPECT_FALSE(FileUtils::exists(folder + "\\waited"));
    EXPECT_FALSE(FileUtils::exists(folder + "\\pumped"));
}

namespace {

UINT gDispatched = 0;

LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) ++gDispatched;
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

TEST(Executor, PumpingWaitDispatchesMessagesUntilTheChildEnds) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = countingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"ExecutorPumpTest";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    const HWND window = CreateWindowW(L"ExecutorPumpTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PostMessageW(window, WM_APP, 0, 0));

    Executor executor(testsupport::selfPath());
    executor.setArguments(childArguments("executorOutput", "0 3 500"))
        .setHideWindow(true)
        .setPumpMessagesWhileWaiting(true)
        .setTimeout(kChildTimeout);
    EXPECT_EQ(executor.exec(), 3u);
    EXPECT_EQ(gDispatched, 1u);
    DestroyWindow(window);
}

TEST(Executor, MissingProgramAnswersTheSystemError) {
    Executor executor("C:\\no\\such\\program.exe");
    executor.setWaitForExit(true).setTimeout(kChildTimeout);
    const DWORD result = executor.exec();
    EXPECT_TRUE(result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND) << result;
    EXPECT_FALSE(executor.started());
    EXPECT_THAT(logText(), HasSubstr("ERROR: Executor.exec(): CreateProcess failed with system "
                                     "error " + std::to_string(result) + " ("));

    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(executor.finishExecution(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_THAT(logText(), HasSubstr("ERROR: Executor.finishExecution() failed with system error 2 ("));
}

TEST(Executor, ExecProcessAnswersOnceTheChildHasStarted) {
    const std::string name = "ExecutorTestEvent" + std::to_string(GetCurrentProcessId());
    const UniqueHandle event(CreateEventA(nullptr, TRUE, FALSE, name.c_str()));
    ASSERT_TRUE(event.valid());
    const std::string marker = testFolder("started") + "\\marker";

    EXPECT_EQ(Executor::ExecProcess(testsupport::selfPath(),
                                    childArguments("executorAwaitEvent", name + " " + marker)),
              0u);
    SetEvent(event.get());
    for (int i = 0; i < 300 && testsupport::readFile(marker).empty(); ++i) Sleep(100);
    EXPECT_EQ(testsupport::readFile(marker), "signalled");
}

TEST(Executor, ExecProcessTurnsAnEmptyPathIntoFunctionFailed) {
    EXPECT_EQ(Executor::ExecProcess(" ", "-x"), static_cast<DWORD>(ERROR_FUNCTION_FAILED));
    EXPECT_THAT(logText(), HasSubstr("ERROR: ExecutorError in Executor::ExecProcess Executor.cpp("));
}
