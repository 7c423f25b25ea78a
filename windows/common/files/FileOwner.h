#pragma once

#include <windows.h>

#include <string>

// Whose a file is, for an elevated run deciding whether to trust it.
namespace FileOwner {

// Administrators, SYSTEM, or the account this process runs as (no other
// user can give a file that owner).
bool isTrusted(PSID owner, PSID self);

// Empty when the file is absent or its owner is trusted; otherwise the
// owner as "DOMAIN\name", or its SID text when the name cannot be found.
// Raises SysError when the owner cannot be read.
std::string untrustedOwner(const std::string& utf8Path);

// The owner's SID text ("S-1-5-..."). Raises SysError when it cannot be read.
std::string ownerSid(const std::wstring& path);

// A SID as text. Raises SysError when it cannot be converted.
std::string sidText(PSID sid);

} // namespace FileOwner
