#pragma once

#include <string>

#include "PlainTextFileConfigParser.h"

namespace settings_impl {

// A text held in memory.
class StringBuffer : public PlainTextFileConfigParser::IBuffer {
public:
    explicit StringBuffer(std::string text) : text_(std::move(text)) {}
    // Raises settings::Exception 314 when the text is not plain text.
    std::string read() const override;

private:
    std::string text_;
};

} // namespace settings_impl
