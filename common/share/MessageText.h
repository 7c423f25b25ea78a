#pragma once

#include <string>

// context and detail joined into one sentence: the trimmed context, then
// " " after ";.,:!?" or ". " otherwise, then the trimmed detail. Either side
// may be empty.
std::string joinMessage(const std::string& context, const std::string& detail);
