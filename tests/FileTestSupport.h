#pragma once

#include <string>

#include "AutoHandle.h"

// File helpers for the Windows tests.
namespace testsupport {

// This process's log as written, with its CR LF line ends read as "\n".
std::string logText();

// A folder of the given name inside this process's temporary folder,
// created when missing.
std::string testFolder(const std::string& name);

// Creates or replaces the file with the text; false when it cannot.
bool writeFile(const std::string& path, const std::string& text = "x");

// The file opened without delete sharing, so that it cannot be deleted
// while the handle lives.
UniqueHandle holdOpen(const std::string& path);

} // namespace testsupport
