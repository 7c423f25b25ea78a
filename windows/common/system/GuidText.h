#pragma once

#include <windows.h>

#include <string>

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper-case hexadecimal, the
// form the installer service uses for product and upgrade codes.
std::string guidToText(const GUID& guid);

// Reads the 8-4-4-4-12 form, with or without braces, in either case.
// Raises std::invalid_argument naming the text for anything else.
GUID guidFromText(const std::string& text);
