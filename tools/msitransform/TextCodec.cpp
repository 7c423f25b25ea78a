#include "TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

#include "TeguError.h"

namespace text {

namespace {

bool isUtf8(unsigned codepage) { return codepage == 0 || codepage == 65001; }

std::string convert(const std::string& in, const std::string& to, const std::string& from) {
    const iconv_t opened = iconv_open(to.c_str(), from.c_str());
    if (opened == reinterpret_cast<iconv_t>(-1)) JP_THROW_MSG("no conversion from " + from + " to " + to);
    const std::unique_ptr<void, int (*)(iconv_t)> cd(opened, iconv_close);
    std::string out(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = &out[0];
    std::size_t dstLeft = out.size();
    if (iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft) == std::size_t(-1)) {
        JP_THROW_MSG("text \"" + in + "\" cannot be converted from " + from + " to " + to +
                     " (errno " + std::to_string(errno) + ")");
    }
    out.resize(out.size() - dstLeft);
    return out;
}

} // namespace

std::string toUtf8(const std::string& bytes, unsigned codepage) {
    return isUtf8(codepage) ? bytes : convert(bytes, "UTF-8", "CP" + std::to_string(codepage));
}

std::string fromUtf8(const std::string& utf8, unsigned codepage) {
    return isUtf8(codepage) ? utf8 : convert(utf8, "CP" + std::to_string(codepage), "UTF-8");
}

} // namespace text
