#include "Executor.h"

#include <shobjidl.h>

#include <algorithm>
#include <vector>

#include "ComInitializer.h"
#include "FileUtils.h"
#include "GuidText.h"
#include "Log.h"
#include "SecurityDescriptor.h"
#include "SysInfo.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

// How often captured output is collected while the child runs.
const DWORD kOutputPollMs = 20;
// Bytes read per collection, so a child that writes without pause cannot
// keep the waiter from its timeout.
const size_t kOutputChunk = 1 << 20;

// Milliseconds left of `limit` since `start`: INFINITE for no limit, 0 once
// it has passed.
DWORD remaining(DWORD start, DWORD limit) {
    if (limit == INFINITE) return INFINITE;
    const DWORD elapsed = GetTickCount() - start;
    return elapsed >= limit ? 0 : limit - elapsed;
}

// A folder no other run or user has seen: created new, with the protected
// descriptor, below a vendor folder that is no link to somewhere else.
std::string createPrivateFolder() {
    SecurityDescriptor security(SecurityDescriptor::kProtectedFolder);
    const std::string vendor = FileUtils::joinPath(SysInfo::getCommonAppDataDir(), "Tolvane");
    if (!CreateDirectoryA(vendor.c_str(), security.attributes()) &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
        JP_THROW_LAST_ERROR("CreateDirectory(" + vendor + ") failed", CreateDirectoryA);
    }
    const DWORD attributes = GetFileAttributesA(vendor.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        JP_THROW_MSG(vendor + " is not a plain folder; refused");
    }
    GUID id;
    JP_CHECK_HRESULT(CoCreateGuid(&id), "CoCreateGuid");
    const std::string folder = FileUtils::joinPath(vendor, "tmpinstall" + guidToText(id));
    JP_CHECK_BOOL(CreateDirectoryA(folder.c_str(), security.attributes()),
                  "CreateDirectory(" + folder + ") failed", CreateDirectoryA);
    return folder;
}

} // namespace

Executor::Executor(const std::string& applicationPath) {
    std::string path = tstrings::trim(applicationPath, " \t");
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    if (path.empty()) {
        LOG_ERROR("Executor: applicationPath is empty");
        JP_THROW(ExecutorError("applicationPath is empty"));
    }
    applicationPath_ = path;
    commandLine_ = "\"" + path + "\"";
}

Executor& Executor::setArguments(const std::string& arguments) {
    const std::string text = tstrings::trim(arguments, " \t");
    if (tstrings::startsWith(text, applicationPath_)) {
        commandLine_ += text.substr(applicationPath_.size());
    } else if (tstrings::startsWith(text, "\"" + applicationPath_)) {
        commandLine_ = text;
    } else if (!text.empty()) {
        commandLine_ += " " + text;
    }
    return *this;
}

bool Executor::createPipe() {
    SECURITY_ATTRIBUTES inheritable = {};
    inheritable.nLength = sizeof(inheritable);
    inheritable.bInheritHandle = TRUE;
    if (!CreatePipe(readPipe_.receive(), writePipe_.receive(), &inheritable, 0)) {
        LOG_INFO("Create pipe FAILURE");
        return false;
    }
    startupInfo_.dwFlags |= STARTF_USESTDHANDLES;
    startupInfo_.hStdOutput = writePipe_.get();
    startupInfo_.hStdError = writePipe_.get();
    SetHandleInformation(readPipe_.get(), HANDLE_FLAG_INHERIT, 0);
    inheritHandles_ = true;
    LOG_INFO("Create pipe SUCCESS");
    return true;
}

bool Executor::startExecution() {
    LOG_INFO("Executor.exec(): " << commandLine_);
    startupInfo_ = STARTUPINFOA();
    startupInfo_.cb = sizeof(startupInfo_);
    DWORD creationFlags = 0;
    if (hideWindow_) {
        startupInfo_.dwFlags |= STARTF_USESHOWWINDOW;
        startupInfo_.wShowWindow = SW_HIDE;
        creationFlags |= CREATE_NO_WINDOW;
    }
    if (captureOutput_) createPipe();
    std::vector<char> commandLine(commandLine_.begin(), commandLine_.end());
    commandLine.push_back('\0');
    PROCESS_INFORMATION info = {};
    started_ = CreateProcessA(applicationPath_.c_str(), commandLine.data(), nullptr, nullptr,
                              inheritHandles_, creationFlags, nullptr, nullptr, &startupInfo_,
                              &info) != FALSE;
    if (started_) {
        process_.reset(info.hProcess);
        thread_.reset(info.hThread);
    }
    // The child has its own copy of the write end; without ours the pipe
    // breaks when the child is done.
    writePipe_.reset();
    return started_;
}

DWORD Executor::exec() {
    if (!startExecution()) {
        const DWORD error = GetLastError();
        LOG_ERROR(systemFailure("Executor.exec(): CreateProcess", error));
        return error;
    }
    return finishExecution();
}

DWORD Executor::finishExecution() {
    if (!process_) {
        const DWORD error = GetLastError();
        LOG_ERROR(systemFailure("Executor.finishExecution()", error));
        return error;
    }
    DWORD result = 0;
    if (waitForExit_ || pumpMessages_) {
        if (waitForProcess() == WAIT_TIMEOUT) {
            LOG_INFO("Executor.finishExecution(): The timeout is elapsed. Terminating Process.");
            TerminateProcess(process_.get(), 1);
            result = WAIT_TIMEOUT;
        } else {
            if (!GetExitCodeProcess(process_.get(), &result)) {
                result = GetLastError();
                LOG_ERROR(systemFailure("Executor.finishExecution(): GetExitCodeProcess()", result));
            }
            LOG_INFO("Executor.finishExecution(): ExitCode = " << result);
            if (result != 0) {
                LOG_ERROR(systemFailure("Executor.finishExecution(): Process execution ",
                                     GetLastError()));
            }
        }
    }
    process_.reset();
    thread_.reset();
    return result;
}

// Waits for the process within the timeout, collecting captured output
// meanwhile so that a child writing more than the pipe holds never blocks.
DWORD Executor::waitForProcess() {
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD slice = remaining(start, timeout_);
        if (readPipe_) slice = std::min(slice, kOutputPollMs);
        const DWORD result = waitForExit_ ? WaitForSingleObject(process_.get(), slice)
                                          : pumpMessages(slice);
        // Once the process has ended nothing new arrives: take all of it.
        size_t read = drainOutput();
        while (result == WAIT_OBJECT_0 && read >= kOutputChunk) read = drainOutput();
        if (result != WAIT_TIMEOUT || remaining(start, timeout_) == 0) {
            if (waitForExit_) {
                LOG_INFO("Executor.finishExecution(): WaitForSingleObject exited with code "
                         << result);
            }
            return result;
        }
    }
}

// Dispatches this thread's messages until the process ends or the time is
// up. Answers WAIT_OBJECT_0, WAIT_TIMEOUT or the failed wait's result.
DWORD Executor::pumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        HANDLE process = process_.get();
        const DWORD result = MsgWaitForMultipleObjectsEx(
            1, &process, remaining(start, milliseconds), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result != WAIT_OBJECT_0 + 1) return result;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            const bool wide = message.hwnd == nullptr || IsWindowUnicode(message.hwnd);
            if (wide ? PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)
                     : PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                if (wide) {
                    DispatchMessageW(&message);
                } else {
                    DispatchMessageA(&message);
                }
            }
            if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return WAIT_OBJECT_0;
            if (remaining(start, milliseconds) == 0) return WAIT_TIMEOUT;
        }
    }
}

// Reads what the pipe holds now, at most one chunk; answers the bytes read.
size_t Executor::drainOutput() {
    size_t total = 0;
    char buffer[4096];
    while (readPipe_ && total < kOutputChunk) {
        DWORD available = 0;
        if (!PeekNamedPipe(readPipe_.get(), nullptr, 0, nullptr, &available, nullptr) ||
            available == 0) {
            break;
        }
        DWORD read = 0;
        if (!ReadFile(readPipe_.get(), buffer, std::min<DWORD>(available, sizeof(buffer)), &read,
                      nullptr) ||
            read == 0) {
            break;
        }
        output_.append(buffer, read);
        total += read;
    }
    return total;
}

DWORD Executor::ExecProcess(const std::string& applicationPath, const std::string& arguments) {
    try {
        Executor executor(applicationPath);
        executor.setArguments(arguments);
        return executor.exec();
    } catch (const ExecutorError& e) {
        LOG_ERROR("ExecutorError in Executor::ExecProcess " << e.what());
        return ERROR_FUNCTION_FAILED;
    }
}

namespace {

template <class T>
struct ComRelease {
    T* object = nullptr;
    ~ComRelease() {
        if (object) object->Release();
    }
};

// A shell link to the program, saved at `shortcut`; false after logging
// the failed step.
bool createShortcut(const std::string& shortcut, const std::string& applicationPath,
                    const std::string& arguments) {
    ComRelease<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link.object)))) {
        LOG_ERROR("CreateShortCutItem() - pCalyxShortCutItem.CoCreateInstance call failed");
        return false;
    }
    if (FAILED(link.object->SetPath(applicationPath.c_str()))) {
        LOG_ERROR("ExecProcessAsDesktopUser: pCalyxShortCutItem->SetPath(" << applicationPath
                                                                           << ") call failed");
        return false;
    }
    if (FAILED(link.object->SetArguments(arguments.c_str()))) {
        LOG_ERROR("ExecProcessAsDesktopUser: pCalyxShortCutItem->SetArguments(" << arguments
                                                                                << ") call failed");
        return false;
    }
    ComRelease<IPersistFile> file;
    if (FAILED(link.object->QueryInterface(IID_IPersistFile,
                                           reinterpret_cast<void**>(&file.object)))) {
        LOG_ERROR("CreateShortCutItem() - pCalyxShortCutItem->QueryInterface call failed");
        return false;
    }
    if (FAILED(file.object->Save(tstrings::fromACP(shortcut).c_str(), TRUE))) {
        LOG_ERROR("CreateShortCutItem() - pCalyxShortCutItemFile->Save call failed");
        return false;
    }
    return true;
}

} // namespace

DWORD Executor::ExecProcessAsDesktopUser(const std::string& applicationPath,
                                         const std::string& arguments, DWORD timeout) {
    LOG_TRACE_FUNCTION();
    if (tstrings::trim(applicationPath, " \t").empty()) {
        LOG_ERROR("ExecProcessAsDesktopUser: appPath is empty");
        return ERROR_INVALID_PARAMETER;
    }
    try {
        const ComInitializer com;
        // The desktop's own shell program, as the process sees it.
        const std::string shell = FileUtils::joinPath(
            SysInfo::isWow64() ? SysInfo::getSystemDir() : SysInfo::getWindowsDir(),
            "explorer.exe ");
        const std::string folder = createPrivateFolder();
        const std::string shortcut = folder + "\\calyxtmp.lnk";
        DWORD result = ERROR_FUNCTION_FAILED;
        if (!createShortcut(shortcut, applicationPath, arguments)) {
            LOG_ERROR("ExecProcessAsDesktopUser failed to create temporary shortcut");
        } else {
            Executor executor(shell);
            executor.setArguments("\"" + shortcut + "\"").setWaitForExit(true).setTimeout(timeout);
            if (executor.startExecution()) {
                result = executor.finishExecution();
            } else {
                result = GetLastError();
                LOG_ERROR(systemFailure("ExecProcessAsDesktopUser: Executor.exec()", result));
            }
        }
        FileUtils::tryDeleteFile(shortcut);
        FileUtils::tryDeleteDirectory(folder);
        return result;
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return ERROR_FUNCTION_FAILED;
    }
}
