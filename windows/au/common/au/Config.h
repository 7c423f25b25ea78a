#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "Registry.h"

namespace au {

// When the agent checks for updates: days as bits, hour and minute.
struct Schedule {
    int32_t frequency = 0;
    int32_t hour = 0;
    int32_t minute = 0;

    // From four successive draws of rand: one weekday bit in each of the
    // two low bytes, an hour and a minute.
    static Schedule fromDraws(int r1, int r2, int r3, int r4);
    // A new random schedule; the generator is seeded once per process so
    // machines do not all check at the same moment.
    static Schedule fresh();
};

// The agent's policy values in the 32-bit registry view, in both builds.
// Locations: 0 HKLM and 1 HKLM "...\Policy\cxprobe", 2 HKCU, all below
// "SOFTWARE\Calyxware\Calyx Update\Policy", and 3 HKLM "SOFTWARE\Calyxware".
class Config {
public:
    // mode: the agent reads protected values (version 2.8.0.0 or later).
    explicit Config(bool mode);
    // The same locations below other roots, for tests.
    Config(bool mode, const Registry& machine, const Registry& user);
    virtual ~Config();

    bool mode() const { return mode_; }

    // The key of a location, opened (Read) or created (Write) on first use
    // and kept; raises "unknown reg location" for other locations.
    const Registry& key(int location, Registry::Mode access);

    // The stored schedule; raises when any of its values cannot be read.
    Schedule readSchedule();
    // The stored schedule, or a fresh one written at once when it cannot
    // be read; kept is set false only when that write fails too.
    Schedule getSchedule(bool& kept);
    void writeSchedule(const Schedule& schedule);

    // 0 notify before download, 1 before install; inconsistent or missing
    // values are reset to 0.
    int getNotifyType();
    // Raises "unknown notifyType" for values other than 0 and 1.
    void setNotifyType(int type);

private:
    bool mode_;
    const Registry& machine_;
    const Registry& user_;
    std::map<std::pair<int, Registry::Mode>, Registry> keys_;
};

} // namespace au
