#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The user-facing messages of configuration errors, from the carried
// string tables: code 0 is success, the settings_api codes and 3090 (bad
// switches) have a message each, anything else is an unknown error.
class ConfigErrorMessages {
public:
    typedef int(WINAPI* MessageBoxFunction)(HWND, LPCWSTR, LPCWSTR, UINT);
    // Told of every error show reports: its code and logged text.
    typedef std::function<void(int code, const std::string& text)> Listener;

    static constexpr int SWITCH_ERRORS = 3090;

    // Strings come from module in langId's table (0: the thread's own).
    explicit ConfigErrorMessages(HINSTANCE module, unsigned langId = 0,
                                 MessageBoxFunction messageBox = MessageBoxW);

    void setLanguage(unsigned langId) { langId_ = langId; }
    void setListener(Listener listener) { listener_ = std::move(listener); }

    // The string id of code's message; 0 when code has none.
    static unsigned stringId(int code);

    // The message of code in langId's language with its "%s" filled by
    // argument (a path or the switch list) and, for 313, by line.
    std::string text(int code, const std::string& argument, const std::string& line,
                     unsigned langId) const;

    // True for 0. Otherwise logs the English message and, unless silent or
    // the code is only ever logged, shows it in an error box; false.
    bool show(int code, const std::string& argument, const std::string& line, bool silent) const;

private:
    HINSTANCE module_;
    unsigned langId_;
    MessageBoxFunction messageBox_;
    Listener listener_;
};
