#include "SecurityDescriptor.h"

#include <sddl.h>

#include "WinErrorHandling.h"

const wchar_t SecurityDescriptor::kProtectedFolder[] =
    L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;GRGX;;;BU)";

SecurityDescriptor::SecurityDescriptor(const std::wstring& sddl) : attributes_() {
    JP_CHECK_BOOL(ConvertStringSecurityDescriptorToSecurityDescriptorW(
                      sddl.c_str(), SDDL_REVISION_1, descriptor_.receive(), nullptr),
                  "ConvertStringSecurityDescriptorToSecurityDescriptor",
                  ConvertStringSecurityDescriptorToSecurityDescriptorW);
    attributes_.nLength = sizeof(attributes_);
    attributes_.lpSecurityDescriptor = descriptor_.get();
    attributes_.bInheritHandle = FALSE;
}

std::vector<BYTE> processUserSid() {
    UniqueHandle token;
    JP_CHECK_BOOL(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive()),
                  "OpenProcessToken", OpenProcessToken);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    JP_CHECK_BOOL(GetTokenInformation(token.get(), TokenUser, user.data(), size, &size),
                  "GetTokenInformation(TokenUser)", GetTokenInformation);
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}
