#include "AllUsersReadableSecurity.h"

#include <ntsecapi.h>
#include <sddl.h>

#include <vector>

#include "WinErrorHandling.h"

namespace settings_impl {

namespace {

void closeLsaPolicy(LSA_HANDLE h) {
    if (h != nullptr) LsaClose(h);
}
typedef AutoHandle<LSA_HANDLE, AutoHandleTraits<LSA_HANDLE, closeLsaPolicy>> UniqueLsaPolicy;

void freeLsaMemory(void* p) {
    if (p != nullptr) LsaFreeMemory(p);
}
typedef AutoHandle<void*, AutoHandleTraits<void*, freeLsaMemory>> UniqueLsaMemory;

// The local machine's account domain, copied into domain.
void machineAccountDomain(std::vector<BYTE>& domain) {
    LSA_OBJECT_ATTRIBUTES attributes = {};
    UniqueLsaPolicy policy;
    const NTSTATUS opened =
        LsaOpenPolicy(nullptr, &attributes, POLICY_VIEW_LOCAL_INFORMATION, policy.receive());
    if (opened != 0) {
        JP_THROW(SysError(JP_API_ADDRESS(LsaOpenPolicy), "LsaOpenPolicy", LsaNtStatusToWinError(opened)));
    }
    UniqueLsaMemory info;
    const NTSTATUS queried =
        LsaQueryInformationPolicy(policy.get(), PolicyAccountDomainInformation, info.receive());
    if (queried != 0) {
        JP_THROW(SysError(JP_API_ADDRESS(LsaQueryInformationPolicy),
                          "LsaQueryInformationPolicy(PolicyAccountDomainInformation)",
                          LsaNtStatusToWinError(queried)));
    }
    const PSID sid = static_cast<POLICY_ACCOUNT_DOMAIN_INFO*>(info.get())->DomainSid;
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    domain.assign(bytes, bytes + GetLengthSid(sid));
}


} // namespace

std::wstring domainUsersSidText(PSID sid) {
    std::vector<BYTE> domain(SECURITY_MAX_SID_SIZE);
    DWORD domainSize = static_cast<DWORD>(domain.size());
    // The sid comes from a token and is valid, so a refusal means it has no
    // account domain (Windows answers ERROR_NON_ACCOUNT_SID, Wine
    // ERROR_INVALID_SID).
    if (!GetWindowsAccountDomainSid(sid, domain.data(), &domainSize)) {
        machineAccountDomain(domain);
    }
    BYTE users[SECURITY_MAX_SID_SIZE] = {};
    DWORD usersSize = sizeof(users);
    JP_CHECK_BOOL(CreateWellKnownSid(WinAccountDomainUsersSid, domain.data(), users, &usersSize),
                  "CreateWellKnownSid(WinAccountDomainUsersSid)", CreateWellKnownSid);
    wchar_t* text = nullptr;
    JP_CHECK_BOOL(ConvertSidToStringSidW(users, &text), "ConvertSidToStringSid",
                  ConvertSidToStringSidW);
    const UniqueLocalMemory hold(text);
    return text;
}

AllUsersReadableSecurity::AllUsersReadableSecurity()
    : sddl_(L"D:(A;;FA;;;BA)(A;;FR;;;" + domainUsersSidText(processUserSid().data()) +
            L")(A;;FR;;;WD)"),
      descriptor_(sddl_) {}

} // namespace settings_impl
