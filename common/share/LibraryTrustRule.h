#pragma once

#include <string>

// Whether an elevated run may load a library, judged from the security
// descriptors (as SDDL text) of the file and of every folder above it.
namespace libtrust {

enum class Level {
    File,        // the library itself
    OwnFolder,   // the folder it lives in, searched for its dependencies
    Ancestor     // any folder further up
};

// Empty when no one but Administrators, SYSTEM, TrustedInstaller or the
// owner of the system folder (systemOwnerSid) can change what this level
// holds; otherwise the reason, e.g. "S-1-5-11 may change it".
std::string untrustedReason(const std::string& sddl, Level level,
                            const std::string& systemOwnerSid);

} // namespace libtrust
