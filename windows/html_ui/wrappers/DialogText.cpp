#include "DialogText.h"

#include "Locale.h"
#include "Resource.h"
#include "tstrings.h"

std::string dialogString(const std::string& locale, unsigned id) {
    unsigned langId = Locale::english().langId();
    for (const Locale& candidate : Locale::all()) {
        if (candidate.name() == locale) langId = candidate.langId();
    }
    return StringResource(id, nullptr, langId).utf8OrRaise();
}

std::string withValue(std::string text, const std::string& value) {
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

int askUser(MessageBoxFunction messageBox, const std::string& caption, const std::string& text, UINT type) {
    return messageBox(nullptr, tstrings::toUtf16(text).c_str(), tstrings::toUtf16(caption).c_str(),
                      type | MB_TASKMODAL);
}
