#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace msi {

// A product information property of an installed product ("LocalPackage",
// "VersionString", "InstallLocation"...). productCode is the braced GUID
// text. Raises Error with the service's status on any failure.
std::string getProductInfo(const std::string& productCode, const std::string& property);

// The same; any failure gives an empty text.
std::string getProductInfoOrEmpty(const std::string& productCode, const std::string& property);

// The code of the index-th installed product related to upgradeCode (braced
// GUID text), or none when the enumeration is exhausted. Indexes start at 0
// and must go up by one per call, as the service requires. Raises Error on
// other failures.
std::optional<std::string> relatedProduct(const std::string& upgradeCode, DWORD index);

// The code of the index-th installed product, or none past the last one.
std::optional<std::string> installedProduct(DWORD index);

} // namespace msi
