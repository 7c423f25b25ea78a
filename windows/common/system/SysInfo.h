#pragma once

#include <string>

// Facts about this machine and process. The Windows version is read once,
// before the entry point runs.
namespace SysInfo {

struct OsVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
    unsigned servicePackMajor = 0;
    unsigned productType = 0;  // 1 workstation, 2 domain controller, 3 server
};

// 0 (older than XP) .. 6 (Windows 8.1 successors).
int osClass(const OsVersion& v);
// "win7", "win2012R2", "10.0", ... with "-sp<n>" for a service pack.
std::string osName(const OsVersion& v);

const OsVersion& getOsVersion();
int getOsClass();
std::string getOsName();

// "amd64" on an x64 processor, else "i586".
std::string getArchName();
bool is64BitOs();
// Whether this 32-bit process runs on a 64-bit Windows.
bool isWow64();
// Whether this process is a native 64-bit process on a 64-bit Windows.
bool isNative64BitProcess();
// Whether this process runs with a full administrator token.
bool isElevated();
// False in session 0 (services, deployment agents running as SYSTEM) and in
// a window station no user sees; there a page would wait for nobody.
bool hasInteractiveDesktop();

std::string getProcessModulePath();

std::string getCommonAppDataDir();
std::string getUserAppDataLowDir();
// The user's profile folder, "C:\Users\<name>".
std::string getUserProfileDir();
std::string getSystemDir();
std::string getWindowsDir();
std::string getCommonProgramFilesDir();
std::string getSystemWow64Dir();
std::string getTempDir();

// The install cache folder of the 32-bit or 64-bit runtime.
std::string getPatchCache(int arch);

// The current path of a shell folder (CSIDL), created when asked.
std::string SHGetFolderPathAdapter(int folderId, bool create);

} // namespace SysInfo
