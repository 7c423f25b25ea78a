#include "DryRun.h"

#include "ConsoleOutput.h"
#include "Log.h"
#include "SettingsException.h"
#include "tstrings.h"

namespace {

const char* const kSwitch = "/validate";
const int kConfigurationError = -80;

bool isSwitch(const std::string& arg) {
    return tstrings::equals(arg, kSwitch, tstrings::IGNORE_CASE);
}

// Every error goes into the report instead.
int WINAPI noMessageBox(HWND, LPCWSTR, LPCWSTR, UINT) {
    return IDOK;
}

// Line breaks of a message become single blanks, so one error is one line.
std::string oneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        const bool brk = c == '\r' || c == '\n';
        if (!brk) {
            line += c;
        } else if (!line.empty() && line.back() != ' ') {
            line += ' ';
        }
    }
    return line;
}

} // namespace

bool DryRun::requested(const std::vector<std::string>& args) {
    for (size_t i = 1; i < args.size(); ++i) {
        if (isSwitch(args[i])) return true;
    }
    return false;
}

std::string DryRun::report(const std::vector<InstallConfigData::Setting>& settings,
                           const Errors& errors) {
    std::string text;
    for (const InstallConfigData::Setting& s : settings) {
        text += s.key + (s.value ? "=" + *s.value : std::string()) + "\t(" + s.layer + ")\n";
    }
    for (const auto& error : errors) {
        text += "ERROR " + std::to_string(error.first) + ": " + oneLine(error.second) + "\n";
    }
    text += errors.empty() ? "Configuration is valid." : "Configuration is not valid.";
    return text;
}

int DryRun::run(HINSTANCE instance, const std::vector<std::string>& args) {
    std::vector<std::string> loaded;
    for (const std::string& arg : args) {
        if (loaded.empty() || !isSwitch(arg)) loaded.push_back(arg);
    }
    Errors errors;
    std::vector<InstallConfigData::Setting> settings;
    try {
        InstallConfigData config(instance, false, noMessageBox);
        config.listenToErrors(
            [&errors](int code, const std::string& text) { errors.emplace_back(code, text); });
        const int code = config.LoadConfigSettings(loaded);
        settings = config.effectiveSettings();
        if (code != 0 && errors.empty()) {
            errors.emplace_back(code, tstrings::sformat("Unknown Error code %d", code));
        }
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        errors.emplace_back(settings::STATUS_INTERNAL_ERROR, e.what());
    }
    const std::string text = report(settings, errors);
    LOG_INFO("Configuration check (" << kSwitch << "):\n" << text);
    ConsoleOutput::write(text + "\n");
    return errors.empty() ? 0 : kConfigurationError;
}
