#include "StringBuffer.h"

#include "SettingsException.h"
#include "ValueText.h"

namespace settings_impl {

std::string StringBuffer::read() const {
    if (!isPlainText(text_)) SETTINGS_THROW(settings::STATUS_NOT_PLAIN_TEXT);
    return text_;
}

} // namespace settings_impl
