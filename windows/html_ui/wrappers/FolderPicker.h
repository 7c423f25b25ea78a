#pragma once

#include <windows.h>

#include <string>

// Asks the user for a folder under "Computer" with the shell's picker,
// owned by owner and titled title (UTF-8). true puts the choice into
// folder (UTF-8); false, with folder untouched, when the user cancelled or
// the choice cannot be used (logged).
typedef bool (*FolderPicker)(HWND owner, const std::string& title, std::string& folder);

// The shell's wide picker. A path the ANSI code page cannot hold exactly is
// refused as a failed conversion: the installer service would get another.
bool pickFolder(HWND owner, const std::string& title, std::string& folder);
