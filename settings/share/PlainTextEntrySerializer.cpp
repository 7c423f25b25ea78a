#include "PlainTextEntrySerializer.h"

#include "Config.h"

namespace settings_impl {

std::string PlainTextEntrySerializer::serialize(const Config& config) {
    std::string text;
    for (const auto& entry : config.entries()) {
        text += entry.first;
        if (entry.second) text += "=" + entry.second->text();
        text += '\n';
    }
    return text;
}

} // namespace settings_impl
