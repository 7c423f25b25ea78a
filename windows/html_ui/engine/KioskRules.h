#pragma once

#include <string>

namespace ui {

// The installer's pages run in an elevated process, so the control shows
// nothing but them: keys that would open, print, reload, navigate or find
// never reach it.
bool isKioskBlockedKey(unsigned key, bool ctrl, bool alt);

// True when url is a page carried by the program whose res: base is given
// ("res://<path>/"). Both are compared un-escaped, ignoring case and which
// slash separates the path, as the control may report either form.
bool isOwnPage(const std::string& url, const std::string& base);

} // namespace ui
