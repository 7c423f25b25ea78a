#pragma once

#include <string>

namespace ui {

// "res://" + the program's path (UTF-8) + "/", with the characters a URL
// would misread escaped: "%" %25, "#" %23, "\" %5C and " " %20.
std::string resourceUrlBase(const std::wstring& programPath);

// The URL of a page carried by the running program, e.g. "progress.html".
std::string pageUrl(const std::string& page);

} // namespace ui
