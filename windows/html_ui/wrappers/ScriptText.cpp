#include "ScriptText.h"

#include "tstrings.h"

std::string jsString(const std::string& text) {
    std::string quoted = "'";
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        // U+2028 and U+2029 end a line in script, E2 80 A8/A9 in UTF-8.
        if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
            quoted += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
            continue;
        }
        // C1 controls U+0080..U+009F are C2 80..C2 9F.
        if (c == 0xC2 && i + 1 < text.size()) {
            const unsigned char next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9F) {
                quoted += tstrings::sformat("\\u%04x", next);
                ++i;
                continue;
            }
        }
        switch (c) {
        case '\\': quoted += "\\\\"; break;
        case '\'': quoted += "\\'"; break;
        case '"': quoted += "\\\""; break;
        case '\r': quoted += "\\r"; break;
        case '\n': quoted += "\\n"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                quoted += tstrings::sformat("\\u%04x", c);
            } else {
                quoted += static_cast<char>(c);
            }
        }
    }
    return quoted + "'";
}

std::string flagCall(const char* function, bool flag) {
    return std::string(function) + (flag ? "(1)" : "(0)");
}
