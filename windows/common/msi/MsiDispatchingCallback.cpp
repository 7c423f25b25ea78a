#include "MsiDispatchingCallback.h"

#include <msi.h>

#include <cerrno>
#include <cstdlib>

namespace msi {

ProgressFields parseProgressFields(const std::string& text) {
    ProgressFields fields;
    const char* p = text.c_str();
    while (fields.size() < 4) {
        char* end = nullptr;
        errno = 0;
        const long number = std::strtol(p, &end, 10);
        if (end == p || *end != ':' || number != static_cast<long>(fields.size()) + 1) break;
        p = end + 1;
        const long long value = std::strtoll(p, &end, 10);
        if (end == p || errno == ERANGE) break;
        fields.push_back(value);
        p = end;
    }
    return fields;
}

void DispatchingCallback::handle(UINT messageType, UINT flags, const std::string& text) {
    switch (messageType) {
    case INSTALLMESSAGE_ACTIONSTART:
        onActionStart(text);
        break;
    case INSTALLMESSAGE_ACTIONDATA:
        onActionData(text);
        break;
    case INSTALLMESSAGE_PROGRESS:
        onProgress(parseProgressFields(text));
        break;
    default:
        onMessage(messageType, flags, text);
        break;
    }
}

} // namespace msi
