#include "MsiUtils.h"

#include <msi.h>

#include <cctype>

#include "GuidText.h"
#include "Log.h"
#include "tstrings.h"

namespace {

const char kBlanks[] = " \t";

// Sends the service's messages to a Callback while it lives.
class CallbackTrigger {
public:
    explicit CallbackTrigger(msi::Callback* callback) {
        MsiSetExternalUIW(adapter, 0xFFFFFFFF, callback);
    }
    ~CallbackTrigger() { MsiSetExternalUIW(nullptr, 0, nullptr); }
    CallbackTrigger(const CallbackTrigger&) = delete;
    CallbackTrigger& operator=(const CallbackTrigger&) = delete;

private:
    // Never takes a message over and never cancels: the service goes on with
    // its own handling. Nothing may be thrown back into the service.
    static int WINAPI adapter(LPVOID context, UINT messageWord, LPCWSTR text) {
        if (!context || !text) return 0;
        const char* const name = "msi::`anonymous-namespace'::CallbackTrigger::adapter";
        try {
            static_cast<msi::Callback*>(context)->handle(
                messageWord & 0xFF000000, messageWord & 0x00FFFFFF, tstrings::toUtf8(text));
        } catch (const std::exception& e) {
            reportCaughtException(SOURCE_LOCATION_NAMED(name), e);
        } catch (...) {
            reportCaughtException(SOURCE_LOCATION_NAMED(name));
        }
        return 0;
    }
};

class UiLevelScope {
public:
    explicit UiLevelScope(int level)
        : previous_(MsiSetInternalUI(static_cast<INSTALLUILEVEL>(level), nullptr)) {}
    ~UiLevelScope() { MsiSetInternalUI(previous_, nullptr); }
    UiLevelScope(const UiLevelScope&) = delete;
    UiLevelScope& operator=(const UiLevelScope&) = delete;

private:
    INSTALLUILEVEL previous_;
};

// The service's own log: verbose into the file while it lives. Without a
// file the machine's logging policy is left alone.
class ServiceLogScope {
public:
    explicit ServiceLogScope(const std::string& logFile) : enabled_(!logFile.empty()) {
        if (enabled_) {
            MSI_CHECK_NAMED(MsiEnableLogA(INSTALLLOGMODE_VERBOSE, logFile.c_str(), 0),
                            "MsiEnableLog(" + logFile + ") failed",
                            "msi::ActionData::createState");
        }
    }
    ~ServiceLogScope() {
        if (enabled_) MsiEnableLogA(0, nullptr, 0);
    }
    ServiceLogScope(const ServiceLogScope&) = delete;
    ServiceLogScope& operator=(const ServiceLogScope&) = delete;

private:
    bool enabled_;
};

// Words of text split at blanks outside double quotes, quotes kept.
std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (!quoted && (c == ' ' || c == '\t')) {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// A value as written on the command line: enclosing quotes removed and
// doubled quotes inside them made single.
std::string unquoted(const std::string& value) {
    std::string plain;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '"') {
            plain += value[i];
        } else if (i + 1 < value.size() && value[i + 1] == '"' && i != 0) {
            plain += '"';
            ++i;
        }
    }
    return plain;
}

bool isPropertyName(const std::string& name) {
    if (name.empty() || !(isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) {
        return false;
    }
    for (const char c : name) {
        if (!isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.') return false;
    }
    return true;
}

// Members end in reverse order: handler gone, log off, UI level restored.
class StateImpl : public msi::ActionData::State {
public:
    explicit StateImpl(const msi::ActionData& data)
        : uiLevel_(data.uiLevel), serviceLog_(data.logFile) {
        if (data.callback) {
            trigger_.reset(new CallbackTrigger(data.callback));
        }
    }

private:
    UiLevelScope uiLevel_;
    ServiceLogScope serviceLog_;
    std::unique_ptr<CallbackTrigger> trigger_;
};

} // namespace

namespace msi {

std::unique_ptr<ActionData::State> ActionData::createState() const {
    return std::unique_ptr<State>(new StateImpl(*this));
}

std::string quoteValue(const std::string& value) {
    std::string quoted;
    for (const char c : value) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    if (value.empty() || value.find_first_of(" \t\"") != std::string::npos) {
        quoted = '"' + quoted + '"';
    }
    return quoted;
}

std::string propertyAssignments(const std::string& text, std::vector<std::string>& leftOut) {
    std::string assignments;
    for (const std::string& word : splitWords(text)) {
        const size_t equals = word.find('=');
        if (equals == std::string::npos || !isPropertyName(word.substr(0, equals))) {
            leftOut.push_back(word);
            continue;
        }
        assignments += (assignments.empty() ? "" : " ") + word.substr(0, equals + 1) +
                       quoteValue(unquoted(word.substr(equals + 1)));
    }
    return assignments;
}

bool assignsProperty(const std::string& assignments, const std::string& name) {
    for (const std::string& word : splitWords(assignments)) {
        if (word.compare(0, name.size() + 1, name + "=") == 0) return true;
    }
    return false;
}

std::string ActionData::commandLine() const {
    const std::string extra = tstrings::trim(extraCommandLine, kBlanks);
    std::string propertyText;
    for (const auto& property : properties) {
        propertyText += " " + property.first + "=" + quoteValue(property.second);
    }
    propertyText = tstrings::trim(propertyText, kBlanks);
    const char* const separator = !extra.empty() && !propertyText.empty() ? " " : "";
    return extra + separator + propertyText;
}

UninstallData::UninstallData() {
    properties["REBOOT"] = "ReallySuppress";
}

void install(const InstallData& data) {
    const std::unique_ptr<ActionData::State> state = data.createState();
    const std::string commandLine = data.commandLine();
    const UINT status = MsiInstallProductA(data.packagePath.c_str(), commandLine.c_str());
    handleMsiStatus("MsiInstallProduct(" + data.packagePath + ", " + commandLine + ") ", status);
}

void uninstall(const UninstallData& data) {
    const std::unique_ptr<ActionData::State> state = data.createState();
    const std::string commandLine = data.commandLine();
    const std::string productCode = guidToText(data.productCode);
    const UINT status = MsiConfigureProductExA(productCode.c_str(), INSTALLLEVEL_MAXIMUM,
                                               INSTALLSTATE_ABSENT, commandLine.c_str());
    handleMsiStatus("MsiConfigureProductEx(" + productCode + ", " +
                        std::to_string(INSTALLLEVEL_MAXIMUM) + ", " +
                        std::to_string(INSTALLSTATE_ABSENT) + ", " + commandLine + ") ",
                    status);
}

} // namespace msi
