#include "GuidText.h"

#include "TeguError.h"
#include "tstrings.h"

namespace {

// Hexadecimal digits per group of the text form.
const int kGroupDigits[] = {8, 4, 4, 4, 12};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

[[noreturn]] void rejectText(const std::string& text) {
    JP_THROW_NAMED(std::invalid_argument("Invalid GUID text: [" + text + "]"), "guidFromText");
}

} // namespace

std::string guidToText(const GUID& guid) {
    return tstrings::sformat("{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                             static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3,
                             guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                             guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
}

GUID guidFromText(const std::string& text) {
    std::string body = text;
    if (body.size() == 38) {
        if (body.front() != '{' || body.back() != '}') rejectText(text);
        body = body.substr(1, 36);
    }
    if (body.size() != 36) rejectText(text);

    // The 32 digits in order, as 16 bytes read big-endian group by group.
    unsigned char bytes[16] = {};
    size_t pos = 0;
    int digit = 0;
    for (int group = 0; group < 5; ++group) {
        if (group > 0) {
            if (body[pos] != '-') rejectText(text);
            ++pos;
        }
        for (int i = 0; i < kGroupDigits[group]; ++i, ++pos, ++digit) {
            const int value = hexValue(body[pos]);
            if (value < 0) rejectText(text);
            bytes[digit / 2] = static_cast<unsigned char>(bytes[digit / 2] << 4 | value);
        }
    }

    GUID guid = {};
    guid.Data1 = static_cast<unsigned long>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
    guid.Data2 = static_cast<unsigned short>(bytes[4] << 8 | bytes[5]);
    guid.Data3 = static_cast<unsigned short>(bytes[6] << 8 | bytes[7]);
    for (int i = 0; i < 8; ++i) {
        guid.Data4[i] = bytes[8 + i];
    }
    return guid;
}
