#pragma once

#include <functional>

#include "MsiUtils.h"

// Runs an install (or any service call) again while the installer service answers 1618 (another
// installation is in progress), polling until a bounded total wait is spent.
class ServiceBusyWait {
public:
    typedef std::function<void(const msi::InstallData&)> Install;
    typedef std::function<void(unsigned milliseconds)> Sleeper;

    static const unsigned POLL_MS = 5000;

    // boundMs 0: the first answer stands.
    explicit ServiceBusyWait(unsigned boundMs, unsigned pollMs = POLL_MS,
                             Sleeper sleep = sleepMilliseconds);

    // The build's bound for a silent run; none for a run the user sees, who
    // is told and decides instead.
    static ServiceBusyWait forRun(bool silent, Sleeper sleep = sleepMilliseconds);

    // Calls install; while it raises msi::Error 1618 and the bound is not
    // spent, logs, sleeps one poll and calls it again. What the last call
    // raised reaches the caller.
    void install(const msi::InstallData& request, const Install& install = msi::install) const;
    // The same for any service call: a removal waits as an install does.
    void run(const std::function<void()>& call) const;

    static void sleepMilliseconds(unsigned milliseconds);

private:
    unsigned boundMs_;
    unsigned pollMs_;
    Sleeper sleep_;
};
