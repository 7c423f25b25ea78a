#pragma once

#include <windows.h>

#include <string>

// Browser restart after an install and the launch of the verification page.
// These routines log and answer results; they do not raise.

// "http://www.<vendor domain>/verify9/?src=install"
std::string VerifyUrl();

// A REG_SZ value of HKLM\keyPath, 64-bit view first, then the 32-bit view
// (where the 32-bit package writes) when the key or the value is missing.
bool GetRegValueOfStringType(const std::string& valueName, std::string& value,
                             const std::string& keyPath);

// Closes the browsers the package flagged ("IERESTART", "FIREFOXRESTART"),
// deleting the flags, and starts them again on the verification page.
// True when a browser was closed.
bool BrowserRestart();

// Every process of that executable name in the installer's session gets
// WM_CLOSE on its top-level windows; one still running after 5 s is
// terminated. waitMs is the wait before and after terminating.
void CloseProcessesByName(const std::string& exeName, DWORD waitMs = 5000);

bool LaunchChrome();
bool LaunchFirefox();
void LaunchIE();
