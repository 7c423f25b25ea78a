#include "TrustedLibrary.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "AutoHandle.h"
#include "FileOwner.h"
#include "LibraryTrustRule.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

const SECURITY_INFORMATION kOwnerAndDacl = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

UniqueHandle openForSecurity(const std::wstring& path) {
    UniqueHandle handle(CreateFileW(path.c_str(), READ_CONTROL,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) JP_THROW_LAST_ERROR("CreateFileW(" + tstrings::toUtf8(path) + ")", CreateFileW);
    return handle;
}

std::string sddlOf(HANDLE handle, const std::wstring& path) {
    UniqueLocalMemory descriptor;
    const DWORD status = GetSecurityInfo(handle, SE_FILE_OBJECT, kOwnerAndDacl, nullptr, nullptr,
                                         nullptr, nullptr,
                                         reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.receive()));
    if (status != ERROR_SUCCESS) {
        JP_THROW(SysError(JP_API_ADDRESS(GetSecurityInfo),
                          "GetSecurityInfo(" + tstrings::toUtf8(path) + ")", status));
    }
    wchar_t* text = nullptr;
    JP_CHECK_BOOL(ConvertSecurityDescriptorToStringSecurityDescriptorW(
                      descriptor.get(), SDDL_REVISION_1, kOwnerAndDacl, &text, nullptr),
                  "ConvertSecurityDescriptorToStringSecurityDescriptor(" + tstrings::toUtf8(path) + ")",
                  ConvertSecurityDescriptorToStringSecurityDescriptorW);
    const UniqueLocalMemory hold(text);
    return tstrings::toUtf8(text);
}

std::wstring finalPath(HANDLE handle) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleW(handle, buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
        if (n == 0) JP_THROW_LAST_ERROR("GetFinalPathNameByHandleW", GetFinalPathNameByHandleW);
        if (n < buffer.size()) break;
        buffer.resize(n + 1);
    }
    std::wstring path(buffer.data());
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\\\" + path.substr(8);
    if (path.compare(0, 4, L"\\\\?\\") == 0) return path.substr(4);
    return path;
}

// The owner of the system folder owns what Windows itself loads.
std::string systemOwnerSid() {
    wchar_t folder[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) JP_THROW_LAST_ERROR("GetSystemDirectoryW", GetSystemDirectoryW);
    return FileOwner::ownerSid(folder);
}

// The folder above path, or empty at a drive's or a share's root.
std::wstring parentOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    const std::wstring parent = path.substr(0, slash);
    if (parent.size() == 2 && parent[1] == L':') return parent + L"\\";
    if (parent.compare(0, 2, L"\\\\") == 0 && parent.find(L'\\', 2) == parent.rfind(L'\\')) {
        return parent + L"\\";
    }
    return parent;
}

} // namespace

namespace TrustedLibrary {

Verdict check(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Verdict{path, std::string()};
    const std::string systemOwner = systemOwnerSid();
    UniqueHandle file = openForSecurity(path);
    Verdict verdict{finalPath(file.get()), std::string()};
    std::wstring level = verdict.path;
    std::string reason = libtrust::untrustedReason(sddlOf(file.get(), level), libtrust::Level::File,
                                                   systemOwner);
    for (libtrust::Level kind = libtrust::Level::OwnFolder; reason.empty();
         kind = libtrust::Level::Ancestor) {
        const std::wstring parent = parentOf(level);
        if (parent.empty() || parent == level) break;
        level = parent;
        reason = libtrust::untrustedReason(sddlOf(openForSecurity(level).get(), level), kind,
                                           systemOwner);
    }
    if (!reason.empty()) verdict.refusal = tstrings::toUtf8(level) + ": " + reason;
    return verdict;
}

} // namespace TrustedLibrary
