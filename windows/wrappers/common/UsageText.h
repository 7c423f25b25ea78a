#pragma once

#include <string>

// What "/?" tells an administrator about the carried build.
struct CarriedBuild {
    std::string version;       // the runtime's version text
    std::string msiVersion;    // the package's ProductVersion
    std::string productCode;   // "{...}"
    std::string upgradeCode;   // "{...}"
    std::string program;       // this executable's file name
    bool package64Bit = false;
};

// The switches, the keys (one line each, from the key table), both
// exit-code tables, the log locations, the build's identity, its uninstall
// command and a detection rule. Lines end in "\n".
std::string usageText(const CarriedBuild& build);
