#pragma once

#include <string>

#include "Log.h"

// What the logger needs from the operating system.
namespace logplatform {

LogTime localTime();
unsigned processId();
unsigned threadId();
// One attempt: open for appending with other writers denied, write the
// whole text in one call, close. False when the file could not be opened.
bool appendOnce(const std::string& path, const std::string& text);
void sleepOneMillisecond();
std::string temporaryDirectory();
// Full path of the running executable; raises when it cannot be found.
std::string executablePath();

} // namespace logplatform
