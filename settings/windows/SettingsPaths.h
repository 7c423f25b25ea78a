#pragma once

#include <string>

#include "FileName.h"

namespace settings_impl {

// The machine-wide runtime settings file below the all-users application
// data folder, as UTF-8. A failed folder lookup raises SysError.
std::string runtimeSettingsPath();

// The canonical form of path below the process's current folder; raises
// settings::Exception with the path code, or SysError when the current
// folder cannot be read.
FileName canonicalFileName(const std::string& path);

// The UTF-16 form of a path, for opening; raises std::runtime_error when
// the text does not convert.
std::wstring widePath(const std::string& path);

// Creates every missing folder above a canonical file name, each with the
// protected folder descriptor. Raises
// std::logic_error for a name that is not canonical and settings::Exception
// 311 when a folder cannot be created.
void createParentDirectories(const FileName& fileName);

} // namespace settings_impl
