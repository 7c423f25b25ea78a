#pragma once

#include <string>

// Standard output for a GUI program, which has no console of its own.
namespace ConsoleOutput {

// Writes UTF-8 text to the standard output the parent redirected, else to
// the parent's console, every line ending in CR LF. False (logged) when there is neither.
bool write(const std::string& text);

} // namespace ConsoleOutput
