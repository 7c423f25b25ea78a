// Prints the update agent's stored schedule and notification type as the
// installer reads them, "frequency=<n> hour=<n> minute=<n> notify=<d>/<i>"
// (d and i: NotifyDownload and NotifyInstall), or "error: <reason>" with
// exit code 1.
#include <cstdio>
#include <exception>

#include "au/Config.h"
#include "au/RegData.h"

int main() {
    try {
        au::Config config(true);
        const au::Schedule schedule = config.readSchedule();
        const DWORD download = au::RegData::named("NotifyDownload").getValue(config);
        const DWORD install = au::RegData::named("NotifyInstall").getValue(config);
        std::printf("frequency=%ld hour=%ld minute=%ld notify=%lu/%lu\n",
                    static_cast<long>(schedule.frequency), static_cast<long>(schedule.hour),
                    static_cast<long>(schedule.minute), static_cast<unsigned long>(download),
                    static_cast<unsigned long>(install));
        return 0;
    } catch (const std::exception& e) {
        std::printf("error: %s\n", au::reasonOf(e).c_str());
        return 1;
    }
}
