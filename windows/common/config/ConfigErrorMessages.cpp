#include "ConfigErrorMessages.h"

#include "Log.h"
#include "Resource.h"
#include "tstrings.h"

namespace {

const unsigned TITLE_STRING = 3073;
const unsigned ENGLISH = 1033;

struct Message {
    int code;
    unsigned stringId;
    bool logOnly;
};

const Message kMessages[] = {
    {200, 3082, false}, {300, 3086, true},  {304, 3075, false}, {305, 3078, false},
    {306, 3080, false}, {307, 3081, false}, {308, 3083, true},  {309, 3084, true},
    {310, 3074, false}, {311, 3077, false}, {312, 3087, false}, {313, 3079, false},
    {314, 3076, false}, {315, 3088, false}, {ConfigErrorMessages::SWITCH_ERRORS, 3089, false},
};

const Message* messageOf(int code) {
    for (const Message& m : kMessages) {
        if (m.code == code) return &m;
    }
    return nullptr;
}

// Replaces each "%s" in turn; the values never get parsed themselves.
std::string fill(const std::string& pattern, const std::string& first, const std::string& second) {
    std::string result;
    const std::string* values[] = {&first, &second};
    size_t used = 0;
    size_t from = 0;
    for (size_t at = pattern.find("%s"); at != std::string::npos && used < 2;
         at = pattern.find("%s", from)) {
        result += pattern.substr(from, at - from) + *values[used++];
        from = at + 2;
    }
    return result + pattern.substr(from);
}

} // namespace

ConfigErrorMessages::ConfigErrorMessages(HINSTANCE module, unsigned langId,
                                         MessageBoxFunction messageBox)
    : module_(module), langId_(langId), messageBox_(messageBox) {}

unsigned ConfigErrorMessages::stringId(int code) {
    const Message* m = messageOf(code);
    return m ? m->stringId : 0;
}

std::string ConfigErrorMessages::text(int code, const std::string& argument,
                                      const std::string& line, unsigned langId) const {
    const unsigned id = stringId(code);
    if (id == 0) return std::string();
    return fill(StringResource(id, module_, langId).utf8(), argument, line);
}

bool ConfigErrorMessages::show(int code, const std::string& argument, const std::string& line,
                               bool silent) const {
    if (code == 0) return true;
    const Message* m = messageOf(code);
    if (m == nullptr) {
        const std::string unknown = tstrings::sformat("Unknown Error code %d", code);
        LOG_ERROR(unknown);
        if (listener_) listener_(code, unknown);
        return false;
    }
    const std::string english = text(code, argument, line, ENGLISH);
    LOG_ERROR(english);
    if (listener_) listener_(code, english);
    if (!silent && !m->logOnly) {
        const std::string title = StringResource(TITLE_STRING, module_, langId_).utf8();
        messageBox_(nullptr, tstrings::toUtf16(text(code, argument, line, langId_)).c_str(),
                    tstrings::toUtf16(title).c_str(), MB_OK | MB_ICONERROR);
    }
    return false;
}
