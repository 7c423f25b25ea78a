#pragma once

#include <windows.h>

#include <string>
#include <vector>

// "/extract <folder>": the carried packages written for a deployment of the
// bare packages.
namespace PackageExport {

// Writes the runtime package (with its embedded transforms) and the update
// agent's package into folder, made when missing, each checked byte for
// byte against what the executable carries. A file already there is kept
// when it holds exactly those bytes and refused otherwise: nothing is
// overwritten. Answers the paths written; raises a located error on the
// first failure.
std::vector<std::string> run(HINSTANCE instance, const std::string& folder, bool package64Bit);

// What to tell the administrator: the files and the properties a bare
// deployment of each needs.
std::string report(const std::vector<std::string>& paths);

} // namespace PackageExport
