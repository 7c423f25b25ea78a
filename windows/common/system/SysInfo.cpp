#include "SysInfo.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "Dll.h"
#include "AutoHandle.h"
#include "Log.h"
#include "LogPlatform.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace SysInfo {

namespace {

typedef LONG(WINAPI RtlGetVersionFn)(OSVERSIONINFOEXW*);
typedef BOOL(WINAPI GetVersionExWFn)(OSVERSIONINFOEXW*);
typedef BOOL(WINAPI IsWow64ProcessFn)(HANDLE, BOOL*);
typedef HRESULT(WINAPI SHGetKnownFolderPathFn)(REFGUID, DWORD, HANDLE, PWSTR*);

bool atLeast(const OsVersion& v, unsigned major, unsigned minor) {
    return v.major > major || (v.major == major && v.minor >= minor);
}

OsVersion fromRecord(const OSVERSIONINFOEXW& r) {
    OsVersion v;
    v.major = r.dwMajorVersion;
    v.minor = r.dwMinorVersion;
    v.build = r.dwBuildNumber;
    v.servicePackMajor = r.wServicePackMajor;
    v.productType = r.wProductType;
    return v;
}

OsVersion readOsVersion() {
    OSVERSIONINFOEXW record;
    ZeroMemory(&record, sizeof(record));
    record.dwOSVersionInfoSize = sizeof(record);
    try {
        DllFunction<RtlGetVersionFn> rtlGetVersion(Dll(L"ntdll.dll"), "RtlGetVersion");
        if (!rtlGetVersion.available()) {
            LOG_WARNING("RtlGetVersion" << " is not available");
        } else {
            const LONG status = static_cast<RtlGetVersionFn*>(rtlGetVersion)(&record);
            if (status == 0) {
                return fromRecord(record);
            }
            LOG_WARNING("RtlGetVersion" << "() failed: " << status);
        }
        DllFunction<GetVersionExWFn> getVersionEx(Dll(L"Kernel32.dll"), "GetVersionExW");
        if (!getVersionEx.available()) {
            LOG_WARNING("GetVersionExW" << " is not available");
            return OsVersion();
        }
        ZeroMemory(&record, sizeof(record));
        record.dwOSVersionInfoSize = sizeof(record);
        if (!static_cast<GetVersionExWFn*>(getVersionEx)(&record)) {
            LOG_WARNING(systemFailure("GetVersionExW()", GetLastError()));
            return OsVersion();
        }
        return fromRecord(record);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return OsVersion();
    }
}

[[maybe_unused]] const OsVersion& startupVersion = getOsVersion();

std::string stripTrailingSeparators(const std::string& path) {
    return tstrings::trimRight(path, "\\/");
}

std::string joinPath(const std::string& a, const std::string& b) {
    return stripTrailingSeparators(a) + "\\" + b;
}

} // namespace

int osClass(const OsVersion& v) {
    if (atLeast(v, 6, 4)) return 6;
    if (atLeast(v, 6, 3)) return 5;
    if (atLeast(v, 6, 2)) return 4;
    if (atLeast(v, 6, 1)) return 3;
    if (atLeast(v, 6, 0)) return 2;
    if (atLeast(v, 5, 1)) return 1;
    return 0;
}

std::string osName(const OsVersion& v) {
    const bool workstation = v.productType == VER_NT_WORKSTATION;
    std::string name;
    switch (osClass(v)) {
    case 6: name = std::to_string(v.major) + "." + std::to_string(v.minor); break;
    case 5: name = workstation ? "win81" : "win2012R2"; break;
    case 4: name = workstation ? "win8" : "win2012"; break;
    case 3: name = workstation ? "win7" : "win2008R2"; break;
    case 2: name = workstation ? "winvista" : "winlong"; break;
    case 1: name = workstation ? "winxp" : "win2003"; break;
    default: name = "win32"; break;
    }
    if (v.servicePackMajor != 0) {
        name += "-sp" + std::to_string(v.servicePackMajor);
    }
    return name;
}

const OsVersion& getOsVersion() {
    static const OsVersion version = readOsVersion();
    return version;
}

int getOsClass() { return osClass(getOsVersion()); }

std::string getOsName() { return osName(getOsVersion()); }

bool is64BitOs() {
    SYSTEM_INFO info;
    GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

std::string getArchName() { return is64BitOs() ? "amd64" : "i586"; }

bool isWow64() {
    DllFunction<IsWow64ProcessFn> fn(Dll(L"kernel32.dll"), "IsWow64Process");
    if (!fn.available()) {
        return false;
    }
    BOOL wow64 = FALSE;
    if (!static_cast<IsWow64ProcessFn*>(fn)(GetCurrentProcess(), &wow64)) {
        JP_THROW_MSG("fnIsWow64Process() failed");
    }
    return wow64 != FALSE;
}

bool isNative64BitProcess() {
    return sizeof(void*) == 8 && is64BitOs();
}

bool isElevated() {
    UniqueHandle token;
    JP_CHECK_BOOL(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()),
                  "OpenProcessToken", OpenProcessToken);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    JP_CHECK_BOOL(GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation),
                                      &size),
                  "GetTokenInformation(TokenElevation)", GetTokenInformation);
    return elevation.TokenIsElevated != 0;
}

bool hasInteractiveDesktop() {
    DWORD session = 0;
    if (ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == 0) return false;
    USEROBJECTFLAGS flags = {};
    DWORD size = 0;
    HWINSTA station = GetProcessWindowStation();
    if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), &size)) {
        // Without an answer the run keeps its pages, as it always did.
        LOG_WARNING(systemFailure("GetUserObjectInformation(UOI_FLAGS)", GetLastError()));
        return true;
    }
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

std::string getProcessModulePath() { return logplatform::executablePath(); }

std::string SHGetFolderPathAdapter(int folderId, bool create) {
    char path[MAX_PATH + 1] = {};
    const int id = folderId | (create ? CSIDL_FLAG_CREATE : 0);
    const HRESULT hr = SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path);
    if (FAILED(hr)) {
        JP_THROW_NAMED(ComError(hr, tstrings::sformat("SHGetFolderPath(0x%x, mode=%d)", folderId,
                                                      create ? CSIDL_FLAG_CREATE : 0)),
                       "SysInfo::SHGetFolderPathAdapter");
    }
    return stripTrailingSeparators(path);
}

std::string getCommonAppDataDir() { return SHGetFolderPathAdapter(CSIDL_COMMON_APPDATA, true); }

namespace {

std::string lookUpUserAppDataLowDir() {
    if (getOsClass() < 2) {
        return SHGetFolderPathAdapter(CSIDL_APPDATA, false);
    }
    DllFunction<SHGetKnownFolderPathFn> fn(Dll(L"shell32.dll"), "SHGetKnownFolderPath", true);
    PWSTR path = nullptr;
    const HRESULT hr = static_cast<SHGetKnownFolderPathFn*>(fn)(FOLDERID_LocalAppDataLow, 0,
                                                                nullptr, &path);
    if (FAILED(hr) || !path) {
        if (path) CoTaskMemFree(path);
        JP_THROW_MSG(tstrings::sformat("SHGetKnownFolderPath(FOLDERID_LocalAppDataLow) failed. 0x%08X",
                                       static_cast<unsigned>(hr)));
    }
    const std::string result = tstrings::toACP(path);
    CoTaskMemFree(path);
    return stripTrailingSeparators(result);
}

} // namespace

// The user's folders do not move while the installer runs; each lookup
// costs a shell call, and the run asks for them at every held folder.
std::string getUserAppDataLowDir() {
    static const std::string folder = lookUpUserAppDataLowDir();
    return folder;
}

std::string getUserProfileDir() {
    static const std::string folder = SHGetFolderPathAdapter(CSIDL_PROFILE, false);
    return folder;
}

std::string getSystemDir() { return SHGetFolderPathAdapter(CSIDL_SYSTEM, false); }

std::string getWindowsDir() { return SHGetFolderPathAdapter(CSIDL_WINDOWS, false); }

std::string getCommonProgramFilesDir() {
    return SHGetFolderPathAdapter(is64BitOs() ? CSIDL_PROGRAM_FILES_COMMONX86
                                              : CSIDL_PROGRAM_FILES_COMMON,
                                  true);
}

std::string getSystemWow64Dir() {
    char path[MAX_PATH + 1] = {};
    const UINT n = GetSystemWow64DirectoryA(path, MAX_PATH);
    if (n == 0 || n > MAX_PATH) {
        LOG_ERROR(systemFailure("GetSystemWow64Directory", GetLastError()));
        JP_THROW_MSG("GetSystemWow64Directory(LPTSTR lpBuffer, UINT uSize) failed");
    }
    return stripTrailingSeparators(std::string(path, n));
}

std::string getTempDir() {
    const std::string dir = logplatform::temporaryDirectory();
    if (dir.empty()) {
        JP_THROW_LAST_ERROR("GetTempPath() failed", GetTempPathA);
    }
    return stripTrailingSeparators(dir);
}

std::string getPatchCache(int arch) {
    if (arch != 32 && arch != 64) {
        JP_THROW_MSG("getPatchCache() failed, invalid arch passed");
    }
    return joinPath(joinPath(joinPath(getCommonAppDataDir(), "Tolvane"), "Calyx"),
                    arch == 32 ? "installcache" : "installcache_x64");
}

} // namespace SysInfo
