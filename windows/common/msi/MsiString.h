#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace msi {

// A service call that writes text into (buffer, *size characters) and
// answers ERROR_MORE_DATA with the needed length in *size when it does not fit.
typedef std::function<UINT(char* buffer, DWORD* size)> StringCall;

// Runs call with a buffer of 20 characters, doubling it while the service
// answers ERROR_MORE_DATA, and returns exactly the characters the service
// reported. Any other failure raises Error "<callText> failed".
std::string readString(const StringCall& call, const std::string& callText);

} // namespace msi
