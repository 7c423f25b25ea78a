#include "CalyxScrubPingData.h"

#include <gtest/gtest.h>

using cxscrub::CalyxScrubPingData;

TEST(CalyxScrubPingData, UninstallPingText) {
    const InstalledCalyx old16("{5E1F7A00-0C4B-4D2E-9A11-000000000001}", CXR, 32, CalyxVersion("1.6.0_045"), "", 10);
    const InstalledCalyx old17("{5E1F7A00-0C4B-4D2E-9A11-000000000002}", CXR, 64, CalyxVersion("1.7.0_80-b15"), "", 10);
    const InstalledCalyx kept("{5E1F7A00-0C4B-4D2E-9A11-000000000003}", CXR, 64, CalyxVersion("11.0.2+9"), "", 10);
    struct Case {
        const char* name;
        std::vector<InstalledCalyx> installed, notRemoved;
        std::vector<std::pair<InstalledCalyx, int>> removals;
        bool drs, ignored;
        std::string expected;
    } cases[] = {
        {"nothing else installed", {}, {}, {}, true, true, ""},
        {"rule set", {old16, kept}, {}, {}, true, false, "uninstaller~ua102;"},
        {"declined", {old16, kept}, {old16}, {}, false, true, "uncxr~-22~11.0.2+9:64;uncxr~-20~1.6.0_45:32;uninstaller~ua101;"},
        {"all unticked", {old16}, {old16}, {}, false, false, "uncxr~-20~1.6.0_45:32;uninstaller~ua101;"},
        {"two removed", {old16, old17, kept}, {}, {{old16, 1}, {old17, 1}}, false, false,
         "uncxr~-22~11.0.2+9:64;uncxr~1~1.6.0_45:32;uncxr~1~1.7.0_80-b15:64;uninstaller~ua500;"},
        {"two failed", {old16, old17}, {}, {{old16, 0}, {old17, 0}}, false, false,
         "uncxr~0~1.6.0_45:32;uncxr~0~1.7.0_80-b15:64;uninstaller~ua100;"},
        {"one kept, one removed", {old16, old17}, {old16}, {{old17, 1}}, false, false,
         "uncxr~-20~1.6.0_45:32;uncxr~1~1.7.0_80-b15:64;uninstaller~ua500;"},
        {"nothing out of date", {kept}, {}, {}, false, false, "uncxr~-22~11.0.2+9:64;uninstaller~ua100;"},
    };
    for (const Case& c : cases) {
        CalyxScrubPingData data;
        data.installed = c.installed;
        data.notRemoved = c.notRemoved;
        data.removals = c.removals;
        data.isDrs = c.drs;
        data.isIgnoredByUser = c.ignored;
        EXPECT_EQ(c.expected, data.createUninstallPing()) << c.name;
    }
}
