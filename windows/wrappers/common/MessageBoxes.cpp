#include "MessageBoxes.h"

#include "Resource.h"
#include "tstrings.h"

std::string loadInstallerString(HINSTANCE instance, unsigned langId, unsigned id) {
    return StringResource(id, instance, langId).utf8();
}

void showUnsupportedSystemMessage(HINSTANCE instance, unsigned langId, const char* majorVersion) {
    const std::string title = loadInstallerString(instance, langId, 115);
    std::string text = loadInstallerString(instance, langId, 120);
    const size_t at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, majorVersion);
    }
    MessageBoxW(nullptr, tstrings::toUtf16(text).c_str(), tstrings::toUtf16(title).c_str(),
                MB_ICONINFORMATION | MB_TASKMODAL);
}

void showInProgressMessage(HINSTANCE instance, unsigned langId) {
    MessageBoxW(nullptr, tstrings::toUtf16(loadInstallerString(instance, langId, 117)).c_str(),
                tstrings::toUtf16(loadInstallerString(instance, langId, 116)).c_str(),
                MB_ICONINFORMATION);
}

void showStopMessage(HINSTANCE instance, unsigned langId, unsigned titleId, unsigned textId) {
    MessageBoxW(nullptr, tstrings::toUtf16(loadInstallerString(instance, langId, textId)).c_str(),
                tstrings::toUtf16(loadInstallerString(instance, langId, titleId)).c_str(),
                MB_ICONSTOP | MB_OK);
}

void showUsageMessage(const std::string& text) {
    MessageBoxW(nullptr, tstrings::toUtf16(text).c_str(), L"Calyx Setup", MB_ICONINFORMATION | MB_OK);
}
