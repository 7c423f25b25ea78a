#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

#include "AutoHandle.h"

// One process launch: optional hidden window, captured output and waiting.
// After construction it never raises; it answers Win32 result codes and
// logs what failed.
class Executor {
public:
    class ExecutorError : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // Raises ExecutorError when the path is empty after trimming.
    explicit Executor(const std::string& applicationPath);
    ~Executor() = default;
    Executor(const Executor&) = delete;
    Executor& operator=(const Executor&) = delete;

    // Arguments may repeat the application path first, plain or quoted.
    Executor& setArguments(const std::string& arguments);
    Executor& setHideWindow(bool value) { hideWindow_ = value; return *this; }
    Executor& setWaitForExit(bool value) { waitForExit_ = value; return *this; }
    // Milliseconds; INFINITE by default. A process that outlives it is
    // terminated with exit code 1 and the result is WAIT_TIMEOUT.
    Executor& setTimeout(DWORD value) { timeout_ = value; return *this; }
    Executor& setPumpMessagesWhileWaiting(bool value) { pumpMessages_ = value; return *this; }
    // Collects standard output and standard error while waiting.
    Executor& setCaptureOutput(bool value) { captureOutput_ = value; return *this; }

    const std::string& applicationPath() const { return applicationPath_; }
    const std::string& commandLine() const { return commandLine_; }
    const std::string& output() const { return output_; }
    bool started() const { return started_; }

    // Starts the process; false (last error set) when it could not start.
    bool startExecution();
    // Starts and finishes; the last Win32 error when it could not start.
    DWORD exec();
    // Waits as configured, then answers the exit code (0 when not waiting).
    DWORD finishExecution();
    // The pipe for captured output; false when it could not be made.
    bool createPipe();

    // Starts a visible process without waiting: 0 once it has started.
    static DWORD ExecProcess(const std::string& applicationPath, const std::string& arguments);
    // Starts the program through the shell as the signed-in desktop user,
    // waiting at most `timeout` milliseconds for the shell.
    static DWORD ExecProcessAsDesktopUser(const std::string& applicationPath,
                                          const std::string& arguments,
                                          DWORD timeout = kDesktopLaunchTimeout);

    static const DWORD kDesktopLaunchTimeout = 120000;

private:
    DWORD waitForProcess();
    DWORD pumpMessages(DWORD milliseconds);
    size_t drainOutput();

    std::string applicationPath_;
    std::string commandLine_;
    bool inheritHandles_ = false;
    bool hideWindow_ = false;
    bool waitForExit_ = false;
    DWORD timeout_ = INFINITE;
    bool pumpMessages_ = false;
    bool captureOutput_ = false;
    bool started_ = false;
    STARTUPINFOA startupInfo_ = {};
    UniqueHandle process_;
    UniqueHandle thread_;
    UniqueHandle readPipe_;
    UniqueHandle writePipe_;
    std::string output_;
};
