#include <gtest/gtest.h>

#include "ExitCodes.h"

TEST(ExitCodes, TheInstallerStyleSpeaksTheServicesCodesAndTheDefaultKeepsTheRunsOwn) {
    using R = Outcome::Reason;
    struct Row {
        R reason;
        int calyx;
        Restart restart;
        int installer;
    } rows[] = {
        {R::INSTALLED, 0, Restart::None, 0},
        {R::INSTALLED, 0, Restart::Required, 3010},
        {R::INSTALLED, 0, Restart::Started, 1641},
        {R::UNINSTALLED, 0, Restart::Required, 3010},
        {R::IN_PROGRESS, -1, Restart::None, 1618},
        {R::NEWER_PRESENT, 0, Restart::None, 1638},
        {R::SAME_STATIC, -1, Restart::None, 1638},
        {R::CONFIG_ERROR, -80, Restart::None, 1639},
        {R::CONFIG_ERROR, 1603, Restart::None, 1603},
        {R::VALIDATE, -80, Restart::None, 1639},
        {R::CANCELLED, 0, Restart::None, 1602},
        {R::EXTRACTION_FAILED, 112, Restart::None, 1603},
        {R::PACKAGE_FAILED, 1625, Restart::Required, 1625},
        {R::PACKAGE_FAILED, 1, Restart::None, 1603},
        {R::HELP, 0, Restart::None, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(exitCodeFor(ExitCodeStyle::Installer, row.reason, row.calyx, row.restart),
                  row.installer)
            << Outcome::word(row.reason) << " " << row.calyx;
        EXPECT_EQ(exitCodeFor(ExitCodeStyle::Calyx, row.reason, row.calyx, row.restart), row.calyx);
    }
    const std::pair<R, int> fixed[] = {{R::IN_PROGRESS, -1}, {R::NEWER_PRESENT, 0}, {R::SAME_STATIC, -1},
                                       {R::CONFIG_ERROR, -80}, {R::CANCELLED, 0}, {R::HELP, 0}};
    for (const auto& row : fixed) EXPECT_EQ(calyxExitCode(row.first), row.second) << Outcome::word(row.first);
}
