#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "AutoHandle.h"

// A security descriptor built from its string form, ready to pass to a
// create call.
class SecurityDescriptor {
public:
    // Raises SysError when the text is not a valid descriptor.
    explicit SecurityDescriptor(const std::wstring& sddl);

    SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

    // Protected (no inherited entries): Administrators and SYSTEM full
    // control, Users read, for the folder and everything created in it.
    static const wchar_t kProtectedFolder[];

private:
    UniqueLocalMemory descriptor_;
    SECURITY_ATTRIBUTES attributes_;
};

// The SID of the account this process runs as; raises SysError.
std::vector<BYTE> processUserSid();
