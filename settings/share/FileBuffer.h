#pragma once

#include <string>

#include "FileName.h"
#include "PlainTextFileConfigParser.h"

namespace settings_impl {

// A settings file, read whole as bytes.
class FileBuffer : public PlainTextFileConfigParser::IBuffer {
public:
    // Settings files are small; a longer file is refused, not truncated.
    static const size_t kMaxSize = 1048576;

    explicit FileBuffer(const FileName& fileName) : fileName_(fileName) {}
    // Raises settings::Exception 304 (cannot open), 305 (access denied),
    // 307 (read error), 315 (longer than kMaxSize) or 314 (not plain text).
    std::string read() const override;

private:
    FileName fileName_;
};

} // namespace settings_impl
