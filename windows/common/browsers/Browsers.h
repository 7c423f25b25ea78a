#pragma once

#include <string>

// The user's browsers: which are registered and how to open a page in the
// default one. Started browsers run as the desktop user, never elevated.
namespace browsers {

enum BrowserId { InternetExplorer = 0, Firefox = 1, Chrome = 2 };

// The program associated with ".html" files; raises TeguError<SysError>
// when there is none.
std::string getDefaultBrowserPath();

// Opens url in the default browser; false (logged) when it could not start.
bool launchDefault(const std::string& url);

// Whether the browser is registered under StartMenuInternet in that view;
// false (logged) on any failure.
bool isInstalled(int browserId, bool view32);

} // namespace browsers
