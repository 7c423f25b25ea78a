// Both version parsers over arbitrary bytes: every input must give either a
// version or a std::runtime_error; an accepted version's text form must
// read back to the same text form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CalyxVersion.h"
#include "Version.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

void checkProductVersion(const std::string& text) {
    CalyxVersion version;
    try {
        version.init(text);
    } catch (const std::runtime_error&) {
        return;
    }
    require(version.tag() >= CalyxVersionDetails::LEGACY &&
            version.tag() <= CalyxVersionDetails::MODERN);
    require(version.count() >= 3);
    for (size_t i = 0; i < CalyxVersion::size(); ++i) require(version.item(i) >= -1);
    const std::string written = version.toString();
    const CalyxVersion again(written);
    require(again.toString() == written);
    require(!(again > version));
}

void checkDottedVersion(const std::string& text) {
    Version version;
    try {
        version.init(text);
    } catch (const std::runtime_error&) {
        return;
    }
    require(version.count() == 4);
    require(Version(version.toString()) == version);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkProductVersion(text);
    checkDottedVersion(text);
    return 0;
}
