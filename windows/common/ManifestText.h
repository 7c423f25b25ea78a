#pragma once

#include <string>

// Reads one key of a text of "key: value" or "key = value" lines, the
// syntax of the runtime's settings files: blanks around keys and values
// are dropped, lines starting with "#" are comments, the last line of a
// key wins. The first malformed line raises std::runtime_error naming it
// ("line 3; char 1"), as does a key the text does not hold.
std::string manifestValue(const std::string& text, const std::string& key);
