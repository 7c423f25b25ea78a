#include "HeldChild.h"

#include "TestSupport.h"

namespace {

unsigned nextChildNumber() {
    static unsigned number = 0;
    return ++number;
}

} // namespace

HeldChild::HeldChild(const std::string& name, const std::vector<std::string>& args) {
    const std::string prefix = "cxtest-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(nextChildNumber());
    readyEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, (prefix + "-ready").c_str()));
    releaseEvent_.reset(CreateEventA(nullptr, TRUE, FALSE, (prefix + "-release").c_str()));
    std::string commandLine = "\"" + testsupport::selfPath() + "\" --cx-child " + name;
    for (const std::string& arg : args) {
        commandLine += " \"" + arg + "\"";
    }
    commandLine += " " + prefix + "-ready " + prefix + "-release";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &si, &pi)) {
        process_.reset(pi.hProcess);
        CloseHandle(pi.hThread);
    }
}

HeldChild::~HeldChild() {
    if (process_) release();
}

bool HeldChild::ready() const {
    if (!process_ || !readyEvent_) return false;
    const HANDLE handles[] = {readyEvent_.get(), process_.get()};
    return WaitForMultipleObjects(2, handles, FALSE, 30000) == WAIT_OBJECT_0;
}

DWORD HeldChild::release() {
    if (!process_) return 99;
    SetEvent(releaseEvent_.get());
    DWORD code = 99;
    if (WaitForSingleObject(process_.get(), 30000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process_.get(), &code);
    }
    process_.reset();
    return code;
}

bool HeldChild::holdUntilReleased(const std::vector<std::string>& args) {
    if (args.size() < 2) return false;
    UniqueHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, args[args.size() - 2].c_str()));
    UniqueHandle release(OpenEventA(SYNCHRONIZE, FALSE, args.back().c_str()));
    if (!ready || !release) return false;
    SetEvent(ready.get());
    return WaitForSingleObject(release.get(), 60000) == WAIT_OBJECT_0;
}
