#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The installer service's product enumerations, behind an interface so
// that trackers and detection can run over products that are not installed.
class ProductEnumerator {
public:
    virtual ~ProductEnumerator() {}

    // The code of the index-th installed product; none past the last one.
    // Raises msi::Error for other failures.
    virtual std::optional<std::string> installedProduct(DWORD index) const = 0;

    // The code of the index-th product related to upgradeCode; none past
    // the last one. Raises msi::Error for other failures.
    virtual std::optional<std::string> relatedProduct(const std::string& upgradeCode,
                                                      DWORD index) const = 0;
};
