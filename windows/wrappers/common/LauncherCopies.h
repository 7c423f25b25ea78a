#pragma once

#include <string>
#include <vector>

#include "Version.h"

// Copies of the runtime's launchers that older installers put into the
// system folders; recent enough ones are removed at the end of a run.

// Whether a copy named name ("calyx.exe", "calyxw.exe" or "calyxws.exe",
// any case) with this file version is one to remove.
bool IsRemovableLauncherCopy(const std::string& name, const Version& fileVersion);

// Removes the qualifying copies from each folder. A copy whose version
// cannot be read, or that is in use, is kept and logged.
void RemoveLauncherCopies(const std::vector<std::string>& folders);

// The real system folder (past file-system redirection) and, on a 64-bit
// Windows, the 32-bit system folder.
std::vector<std::string> LauncherCopyFolders();
