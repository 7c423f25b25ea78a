// Prints the agent's schedule as the installer reads it, with NotifyDownload
// and NotifyInstall: "frequency=<n> hour=<n> minute=<n> notify=<d>/<i>".
#include <cstdio>
#include <exception>

#include "au/Config.h"
#include "au/RegData.h"

int main() {
    try {
        au::Config config(true);
        const au::Schedule s = config.readSchedule();
        const DWORD download = au::RegData::named("NotifyDownload").getValue(config);
        const DWORD install = au::RegData::named("NotifyInstall").getValue(config);
        std::printf("frequency=%d hour=%d minute=%d notify=%d/%d\n", int(s.frequency), int(s.hour),
                    int(s.minute), int(download), int(install));
        return 0;
    } catch (const std::exception& e) {
        std::printf("error: %s\n", au::reasonOf(e).c_str());
        return 1;
    }
}
