#include "MessageBoxes.h"

#include "Resource.h"
#include "tstrings.h"

std::string loadInstallerString(HINSTANCE instance, unsigned langId, unsigned id) {
    return StringResource(id, instance, langId).utf8();
}

namespace {

const unsigned SetupTitleId = 3500;

// The text with its first placeholder (such as "%s") replaced by value.
std::string filledIn(std::string text, const char* placeholder, const std::string& value) {
    const size_t at = text.find(placeholder);
    if (at != std::string::npos) text.replace(at, 2, value);
    return text;
}

} // namespace

void showUnsupportedSystemMessage(HINSTANCE instance, unsigned langId, const char* majorVersion) {
    const std::string title = loadInstallerString(instance, langId, 115);
    const std::string text = filledIn(loadInstallerString(instance, langId, 120), "%s", majorVersion);
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

bool askInstallWithoutPages(HINSTANCE instance, unsigned langId) {
    return MessageBoxW(nullptr, tstrings::toUtf16(loadInstallerString(instance, langId, 3530)).c_str(),
                       tstrings::toUtf16(loadInstallerString(instance, langId, SetupTitleId)).c_str(),
                       MB_ICONWARNING | MB_YESNO | MB_SETFOREGROUND) == IDYES;
}

void showInstallOutcome(HINSTANCE instance, unsigned langId, int exitCode) {
    const std::string text = exitCode == 0 ? loadInstallerString(instance, langId, 3531)
                                           : filledIn(loadInstallerString(instance, langId, 3532), "%d",
                                                      std::to_string(exitCode));
    MessageBoxW(nullptr, tstrings::toUtf16(text).c_str(),
                tstrings::toUtf16(loadInstallerString(instance, langId, SetupTitleId)).c_str(),
                (exitCode == 0 ? MB_ICONINFORMATION : MB_ICONSTOP) | MB_OK | MB_SETFOREGROUND);
}
