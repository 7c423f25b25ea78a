#include "CalyxScrubPingData.h"

#include <gtest/gtest.h>

TEST(CalyxScrubPingData, UninstallPingText) {
    const InstalledCalyx a("{5E1F7A00-0C4B-4D2E-9A11-000000000001}", CXR, 32, CalyxVersion("1.6.0_045"), "", 10);
    const InstalledCalyx b("{5E1F7A00-0C4B-4D2E-9A11-000000000002}", CXR, 64, CalyxVersion("1.7.0_80-b15"), "", 10);
    const InstalledCalyx kept("{5E1F7A00-0C4B-4D2E-9A11-000000000003}", CXR, 64, CalyxVersion("11.0.2+9"), "", 10);
    const std::string a20 = "uncxr~-20~1.6.0_45:32;", k22 = "uncxr~-22~11.0.2+9:64;", b1 = "uncxr~1~1.7.0_80-b15:64;";
    struct Case {
        std::vector<InstalledCalyx> installed, notRemoved;
        std::vector<std::pair<InstalledCalyx, int>> removals;
        bool drs, ignored;
        std::string expected;
    } cases[] = {
        {{}, {}, {}, true, true, ""},
        {{a, kept}, {}, {}, true, false, "uninstaller~ua102;"},
        {{a, kept}, {a}, {}, false, true, k22 + a20 + "uninstaller~ua101;"},  // declined
        {{a}, {a}, {}, false, false, a20 + "uninstaller~ua101;"},               // all unticked
        {{a, b, kept}, {}, {{a, 1}, {b, 1}}, false, false, k22 + "uncxr~1~1.6.0_45:32;" + b1 + "uninstaller~ua500;"},
        {{a, b}, {}, {{a, 0}, {b, 0}}, false, false, "uncxr~0~1.6.0_45:32;uncxr~0~1.7.0_80-b15:64;uninstaller~ua100;"},
        {{a, b}, {a}, {{b, 1}}, false, false, a20 + b1 + "uninstaller~ua500;"},
    };
    for (const Case& c : cases) {
        cxscrub::CalyxScrubPingData data;
        std::tie(data.installed, data.notRemoved, data.removals, data.isDrs, data.isIgnoredByUser) =
            std::tie(c.installed, c.notRemoved, c.removals, c.drs, c.ignored);
        EXPECT_EQ(c.expected, data.createUninstallPing());
    }
}
