#include "WrapperUtils.h"

#include <tlhelp32.h>

#include <vector>

#include "Executor.h"
#include "Log.h"
#include "NetUtils.h"
#include "Registry.h"
#include "SysInfo.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

#define LOG_NAMED_ERROR(name, ...) LOG_AT_NAMED(LOG_ERROR, name, tstrings::sformat(__VA_ARGS__))

namespace {

const char* const kVendorKey = "SOFTWARE\\Calyxware";

void deleteRestartFlag(const char* name) {
    try {
        Registry::open(Registry::localMachine(), kVendorKey, Registry::Mode::Write).deleteValue(name);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
}

BOOL CALLBACK postClose(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId)) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

void closeProcess(DWORD processId, DWORD waitMs) {
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
    if (!process) {
        LOG_ERROR(systemFailure("OpenProcess(" + std::to_string(processId) + ")", GetLastError()));
        return;
    }
    // WM_CLOSE for every browser: DestroyWindow fails across processes.
    EnumWindows(postClose, static_cast<LPARAM>(processId));
    if (WaitForSingleObject(process.get(), waitMs) == WAIT_OBJECT_0) return;
    if (!TerminateProcess(process.get(), 0)) {
        LOG_ERROR(systemFailure("TerminateProcess", GetLastError()));
    }
    WaitForSingleObject(process.get(), waitMs);
}

} // namespace

std::string VerifyUrl() {
    return "http://" + NetUtils::vendorHost("www") + "/verify9/?src=install";
}

bool GetRegValueOfStringType(const std::string& valueName, std::string& value,
                             const std::string& keyPath) {
    bool opened = false;
    DWORD lastError = ERROR_FILE_NOT_FOUND;
    for (RegistryView view : {RegistryView::Bits64, RegistryView::Bits32}) {
        try {
            const Registry key = Registry::open(Registry::localMachine(view), keyPath);
            opened = true;
            DWORD type = REG_NONE;
            if (!key.valueExists(valueName, &type)) {
                lastError = ERROR_FILE_NOT_FOUND;
                continue;
            }
            if (type != REG_SZ) {
                LOG_NAMED_ERROR("GetRegValueOfStringType", "Registry Value not of type REG_SZ: %d",
                                static_cast<int>(type));
                return false;
            }
            value = key.getString(valueName);
            return true;
        } catch (const SysError& e) {
            lastError = e.code();
            LOG_NAMED_ERROR("GetRegValueOfStringType",
                            view == RegistryView::Bits64 ? "Error Opening RegKey at 64 bit loaction: %d"
                                                         : "Error Opening RegKey at 32 or 64 bit loaction: %d",
                            static_cast<int>(lastError));
        } catch (const std::exception& e) {
            reportCaughtException(SOURCE_LOCATION_NAMED("GetRegValueOfStringType"), e);
            return false;
        }
    }
    if (opened) {
        LOG_NAMED_ERROR("GetRegValueOfStringType", "Registry Value not found: %d", static_cast<int>(lastError));
    }
    return false;
}

void CloseProcessesByName(const std::string& exeName, DWORD waitMs) {
    DWORD ownSession = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &ownSession);
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        LOG_ERROR(systemFailure("CreateToolhelp32Snapshot", GetLastError()));
        return;
    }
    std::vector<DWORD> matches;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        DWORD session = 0;
        // Another user's browser is not ours to close.
        if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0 &&
            ProcessIdToSessionId(entry.th32ProcessID, &session) && session == ownSession) {
            matches.push_back(entry.th32ProcessID);
        }
    }
    for (DWORD id : matches) closeProcess(id, waitMs);
}

bool BrowserRestart() {
    // A 64-bit installer leaves the browsers alone: its package's plug-in is
    // not the one they load.
    const bool mayClose = !SysInfo::isNative64BitProcess();
    std::string flag;
    bool ieClosed = false;
    bool firefoxClosed = false;
    if (GetRegValueOfStringType("IERESTART", flag, kVendorKey)) {
        deleteRestartFlag("IERESTART");
        if (mayClose) {
            LOG_INFO("The IE browser will be closed");
            CloseProcessesByName("iexplore.exe");
            ieClosed = true;
        }
    }
    if (GetRegValueOfStringType("FIREFOXRESTART", flag, kVendorKey)) {
        deleteRestartFlag("FIREFOXRESTART");
        if (mayClose) {
            LOG_INFO("The Firefox browser will be closed");
            CloseProcessesByName("firefox.exe");
            firefoxClosed = true;
            LOG_INFO("The Firefox browser will be restarted");
            LaunchFirefox();
        }
    }
    if (ieClosed) {
        LOG_INFO("The IE browser will be restarted");
        LaunchIE();
    }
    return ieClosed || firefoxClosed;
}

bool LaunchChrome() {
    std::string folder;
    if (!GetRegValueOfStringType("path", folder,
                                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\chrome.exe")) {
        LOG_NAMED_ERROR("LaunchChrome", "LaunchChrome(): Failed to find Chrome.exe path: %d",
                        static_cast<int>(GetLastError()));
        return false;
    }
    const std::string program = tstrings::sformat("%s\\chrome.exe", folder.c_str());
    const std::string arguments = "-new-window \"" + VerifyUrl() + "\"";
    // As the desktop user: an elevated browser would keep the installer's rights.
    if (Executor::ExecProcessAsDesktopUser(program, arguments) != 0) {
        LOG_NAMED_ERROR("LaunchChrome", "LaunchChrome(): ExecProcess() failed.");
        return false;
    }
    return true;
}

bool LaunchFirefox() {
    try {
        const Registry mozilla = Registry::open(Registry::localMachine(), "SOFTWARE\\Mozilla");
        const char* product = mozilla.keyExists("Mozilla Firefox") ? "Mozilla Firefox" : "Minefield";
        const Registry firefox = Registry::open(mozilla, product);
        const std::string version = firefox.getString("CurrentVersion");
        if (tstrings::toLower(version) < "1.0") {
            LOG_ERROR("LaunchFirefox: unexpected Firefox version " << version);
            return false;
        }
        const std::string folder =
            Registry::open(firefox, version + "\\Main").getString("Install Directory");
        const std::string program = tstrings::sformat("%s\\firefox.exe", folder.c_str());
        return Executor::ExecProcessAsDesktopUser(
                   program, tstrings::sformat(" -new-window %s", VerifyUrl().c_str())) == 0;
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("LaunchFirefox"), e);
        return false;
    }
}

void LaunchIE() {
    LOG_INFO("Restart IE");
    std::string program;
    try {
        const Registry key = Registry::open(Registry::localMachine(),
                                            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE");
        try {
            program = key.getString("");
        } catch (const std::exception&) {
            LOG_INFO("LaunchIE ---- failed to get value of the IExplore.exe string ---- ");
            return;
        }
    } catch (const std::exception&) {
        LOG_INFO("LaunchIE ---- failed to open version IExplore key ---- ");
        return;
    }
    Executor::ExecProcessAsDesktopUser(program, VerifyUrl());
}
