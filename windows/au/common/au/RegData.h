#pragma once

#include <windows.h>

#include <array>
#include <exception>
#include <string>

namespace au {

class Config;

// One policy value of the update agent: its name, its registry location
// (0 to 3, see Config::key) and how a number is stored there.
class RegData {
public:
    enum Protection {
        Text = -1,            // a string, no number form
        Plain = 0,            // REG_DWORD
        UserProtected = 1,    // sealed for the user, REG_BINARY
        MachineProtected = 2, // sealed for the machine, Base64 in REG_SZ
    };

    constexpr RegData(const char* name, int location, int protection)
        : name_(name), location_(location), protection_(protection) {}

    // Raises "getValue(DWORD) failed: <reason>"; an agent that predates
    // protection (config mode false) reads type 2 as plain and location 1
    // as location 0.
    DWORD getValue(Config& config) const;
    // Raises "setValue(DWORD) failed: <reason>"; the same mapping.
    void setValue(Config& config, DWORD value) const;

    const char* name() const { return name_; }
    int location(bool mode) const { return !mode && location_ == 1 ? 0 : location_; }
    int protection(bool mode) const {
        return !mode && protection_ == MachineProtected ? Plain : protection_;
    }

    // Every value the agent's configuration knows.
    static const std::array<RegData, 20>& all();
    // The descriptor of that name; raises for a name not in all().
    static const RegData& named(const std::string& name);

private:
    const char* name_;
    int location_;
    int protection_;
};

// The message of e without the place it was raised, for one-line reasons.
std::string reasonOf(const std::exception& e);

} // namespace au
