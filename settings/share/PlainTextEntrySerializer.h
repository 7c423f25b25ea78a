#pragma once

#include <string>

namespace settings_impl {

class Config;

// Writes a configuration back as settings text: "key=text\n" per key in
// key order, "key\n" for a key without value. Each value keeps the text it
// was read from.
class PlainTextEntrySerializer {
public:
    static std::string serialize(const Config& config);
};

} // namespace settings_impl
