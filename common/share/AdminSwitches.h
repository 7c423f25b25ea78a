#pragma once

#include <optional>
#include <string>
#include <vector>

// The words deployment tools give every installer, read before the
// configuration loads and outside its key table.
struct AdminSwitches {
    std::vector<std::string> configArgs;  // what the configuration loads
    bool silent = false;         // a quiet word, or no user to ask
    bool passive = false;        // the progress page only, no questions
    bool noRestart = false;      // "/norestart"
    bool noDesktop = false;      // silent because no user can see a page
    bool installerExitCodes = false;  // "/exitcodes=msi"
    bool help = false;           // "/?" or "/help": the usage, nothing else
    bool uninstall = false;      // "/uninstall": remove the carried build
    std::optional<std::string> extractTo;  // "/extract <folder>": the packages only
};

// args[0] is the program. A quiet word makes the run silent as "/s" does;
// the msi-style ones ("/q...") stay for the configuration, which forwards
// them.
AdminSwitches readAdminSwitches(const std::vector<std::string>& args, bool interactiveDesktop);
