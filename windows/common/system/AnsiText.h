#pragma once

#include <optional>
#include <string>

// The UTF-8 text in the ANSI code page when every character has an exact
// form there; nothing when one has not (a best-fit substitute would change
// the text) or when the text is not UTF-8.
std::optional<std::string> exactAnsiText(const std::string& utf8);
