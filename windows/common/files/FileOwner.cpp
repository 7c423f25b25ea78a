#include "FileOwner.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "AutoHandle.h"
#include "SecurityDescriptor.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

std::string accountText(PSID sid) {
    wchar_t name[256] = {};
    wchar_t domain[256] = {};
    DWORD nameSize = 256;
    DWORD domainSize = 256;
    SID_NAME_USE use;
    if (LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &use)) {
        return tstrings::toUtf8(std::wstring(domain) + L"\\" + name);
    }
    return FileOwner::sidText(sid);
}

} // namespace

namespace FileOwner {

bool isTrusted(PSID owner, PSID self) {
    return IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
           IsWellKnownSid(owner, WinLocalSystemSid) || EqualSid(owner, self);
}

std::string untrustedOwner(const std::string& utf8Path) {
    PSID owner = nullptr;
    UniqueLocalMemory descriptor;
    const DWORD status = GetNamedSecurityInfoW(
        tstrings::toUtf16(utf8Path).c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
        nullptr, nullptr, nullptr, reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.receive()));
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) return std::string();
    if (status != ERROR_SUCCESS) {
        JP_THROW(SysError(JP_API_ADDRESS(GetNamedSecurityInfoW),
                          "GetNamedSecurityInfo(" + utf8Path + ")", status));
    }
    std::vector<BYTE> self = processUserSid();
    return isTrusted(owner, self.data()) ? std::string() : accountText(owner);
}

std::string ownerSid(const std::wstring& path) {
    PSID owner = nullptr;
    UniqueLocalMemory descriptor;
    const DWORD status = GetNamedSecurityInfoW(
        path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
        reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.receive()));
    if (status != ERROR_SUCCESS) {
        JP_THROW(SysError(JP_API_ADDRESS(GetNamedSecurityInfoW),
                          "GetNamedSecurityInfo(" + tstrings::toUtf8(path) + ")", status));
    }
    return sidText(owner);
}

std::string sidText(PSID sid) {
    wchar_t* text = nullptr;
    JP_CHECK_BOOL(ConvertSidToStringSidW(sid, &text), "ConvertSidToStringSid",
                  ConvertSidToStringSidW);
    const UniqueLocalMemory hold(text);
    return tstrings::toUtf8(text);
}

} // namespace FileOwner
