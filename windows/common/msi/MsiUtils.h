#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MsiCallback.h"
#include "MsiError.h"

namespace msi {

// What an install and a removal request have in common.
class ActionData {
public:
    // Scope token of one action: while it lives the service runs at the
    // request's UI level, log and message handler; its end puts them back.
    class State {
    public:
        virtual ~State() {}
    };

    // Iterated in ascending byte order of the names.
    typedef std::map<std::string, std::string> Properties;

    virtual ~ActionData() {}

    // Applies the UI level, the service log and the message handler to the
    // service's process-wide settings until the token is destroyed.
    std::unique_ptr<State> createState() const;

    // The trimmed extra text, then every property as name=value with the
    // value quoted by quoteValue. This is what the service receives.
    std::string commandLine() const;

    Properties properties;
    // Placed in front of the properties.
    std::string extraCommandLine;
    // The service's internal UI level; 2 is no user interface at all.
    int uiLevel = 2;
    // Receives every service message of the action when set; not owned.
    Callback* callback = nullptr;
    // Path of the service's own verbose log; empty leaves the machine's
    // logging policy as it is.
    std::string logFile;
};

class InstallData : public ActionData {
public:
    std::string packagePath;
};

class UninstallData : public ActionData {
public:
    // Presets REBOOT=ReallySuppress: a removal never restarts the machine.
    UninstallData();

    GUID productCode = {};
};

// A property value as the service's command line reads it: every double
// quote doubled; enclosed in double quotes when empty or when it holds a
// blank, a tab or a double quote.
std::string quoteValue(const std::string& value);

// The property assignments (NAME=value) of forwarded command-line text,
// each value re-quoted by quoteValue; words are split at blanks outside
// double quotes. Every other word is appended to leftOut.
std::string propertyAssignments(const std::string& text, std::vector<std::string>& leftOut);

// Whether the assignments (as propertyAssignments answers them) set name;
// a value that merely holds "name=" does not count.
bool assignsProperty(const std::string& assignments, const std::string& name);

// Installs the package; raises Error with the service's status on failure.
void install(const InstallData& data);

// Removes the product (every feature absent); raises Error on failure.
void uninstall(const UninstallData& data);

} // namespace msi
