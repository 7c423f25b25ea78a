#pragma once

#include <windows.h>

#include <string>

#include "SecurityDescriptor.h"

namespace settings_impl {

// The text form of the "domain users" group of the account domain that sid
// belongs to. A sid of no account domain (the system account, for one) uses
// the local machine's account domain.
std::wstring domainUsersSidText(PSID sid);

// The security descriptor of files every user may read: full access for
// administrators, read access for the current user's domain users and for
// everyone.
class AllUsersReadableSecurity {
public:
    // Raises SysError when the current user or the descriptor cannot be had.
    AllUsersReadableSecurity();

    // "D:(A;;FA;;;BA)(A;;FR;;;<domain users>)(A;;FR;;;WD)"
    const std::wstring& sddl() const { return sddl_; }
    SECURITY_ATTRIBUTES* attributes() { return descriptor_.attributes(); }

private:
    std::wstring sddl_;
    SecurityDescriptor descriptor_;
};

} // namespace settings_impl
