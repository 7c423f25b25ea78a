// The plain-text check against a decoder written the other way round
// (counting lead bits), and the string source that applies it.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "SettingsException.h"
#include "StringBuffer.h"
#include "ValueText.h"

namespace {

bool referencePlainText(const uint8_t* data, size_t size) {
    size_t i = 0;
    while (i < size) {
        int leadingOnes = 0;
        while (leadingOnes < 8 && (data[i] & (0x80 >> leadingOnes))) ++leadingOnes;
        if (leadingOnes == 1 || leadingOnes > 6) return false;
        const size_t length = leadingOnes == 0 ? 1 : static_cast<size_t>(leadingOnes);
        if (length > size - i) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((data[i + k] >> 6) != 2) return false;
        }
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool plain = settings_impl::isPlainText(text);
    if (plain != referencePlainText(data, size)) std::abort();
    try {
        if (settings_impl::StringBuffer(text).read() != text || !plain) std::abort();
    } catch (const settings::Exception& e) {
        if (e.code() != settings::STATUS_NOT_PLAIN_TEXT || plain) std::abort();
    }
    return 0;
}
