#pragma once

#include <string>

// Whether an elevated run may load a library outside the system folder.
namespace TrustedLibrary {

struct Verdict {
    std::wstring path;     // the library's own path, every link resolved
    std::string refusal;   // empty when it may be loaded, else "<path>: <reason>"
};

// A missing library is not refused here: loading it then fails as it would.
Verdict check(const std::wstring& path);

} // namespace TrustedLibrary
