#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "InstallConfigData.h"

// The "/validate" run: the configuration loaded exactly as an install loads
// it, reported on standard output and in the log, with nothing changed on
// the machine and no message box shown.
namespace DryRun {

typedef std::vector<std::pair<int, std::string>> Errors;  // code, message

// Whether the arguments (program first) hold "/validate", in any letter case.
bool requested(const std::vector<std::string>& args);

// One "KEY=value<TAB>(layer)" line per setting ("KEY" alone for a key
// without value), one "ERROR <code>: <message on one line>" line per error,
// then the verdict. Standard output receives it with CR LF line ends.
std::string report(const std::vector<InstallConfigData::Setting>& settings, const Errors& errors);

// Loads, reports and answers the exit code: 0 when valid, -80 when not.
int run(HINSTANCE instance, const std::vector<std::string>& args);

} // namespace DryRun
