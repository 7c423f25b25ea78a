#pragma once

#include <string>

#include "SecurityBaselines.h"

namespace cxscrub {

// The vendor's latest-version file: one GET with the agent "CalyxScrub".
// overrideUrl (the administrator's "BaselinesXmlURL") replaces the vendor's
// address when not empty; it may use plain HTTP to a loopback host only, and
// then is never redirected. Raises the HTTP client's errors.
std::string downloadBaselinesFile(const std::string& overrideUrl);

// Reads the file's "family" elements and checks them (SecurityBaselines).
// A document type is refused before parsing; raises the XML reader's
// errors and the checks' errors.
SecurityBaselines parseBaselinesFile(const std::string& text);

} // namespace cxscrub
