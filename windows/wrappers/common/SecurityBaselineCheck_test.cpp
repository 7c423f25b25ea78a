#include <gtest/gtest.h>

#include "DeployTestSupport.h"
#include "MsiTestFixtures.h"
#include "SecurityBaselineCheck.h"

namespace {

// The log records between the tracer's entry and exit records.
std::string tracedSection(const std::string& written) {
    const size_t entered = written.find("TRACE: Entering TurnOffSecurityBaselineCheck\r\n");
    const size_t exited = written.find("TRACE: Exiting TurnOffSecurityBaselineCheck (entered at "
                                       "SecurityBaselineCheck.cpp:");
    EXPECT_NE(entered, std::string::npos) << written;
    EXPECT_NE(exited, std::string::npos) << written;
    if (entered == std::string::npos || exited == std::string::npos || exited < entered) {
        return std::string();
    }
    return written.substr(entered, exited - entered);
}

} // namespace

TEST(TurnOffSecurityBaselineCheck, AsksTheRuntimesLibrary) {
    deploytest::StandInSteering steering;
    const std::string home = deploytest::makeHome("runtime", deploytest::standIns());
    msitest::LogWatch log;
    TurnOffSecurityBaselineCheck(home);
    EXPECT_EQ(steering.requests(), deploytest::baselineRequest());
    const std::string traced = tracedSection(log.written());
    EXPECT_NE(traced.find("DeployLibLoader::turnOffSecurityBaselineCheck() succeed"),
              std::string::npos);
    EXPECT_EQ(traced.find("ERROR"), std::string::npos) << traced;
    // Freed before returning.
    EXPECT_EQ(GetModuleHandleW(tstrings::toUtf16(home + "\\bin\\deploy.dll").c_str()), nullptr);
}

TEST(TurnOffSecurityBaselineCheck, LogsLoaderErrorsWithoutRaising) {
    deploytest::StandInSteering steering;
    const std::string home =
        deploytest::makeHome("msvcr-only", {{"runtime-bin/msvcr100.dll", "msvcr100.dll"}});
    msitest::LogWatch log;
    EXPECT_NO_THROW(TurnOffSecurityBaselineCheck(home));
    EXPECT_NO_THROW(TurnOffSecurityBaselineCheck(""));
    const std::string written = log.written();
    const std::string traced = tracedSection(written);
    EXPECT_NE(traced.find("(TurnOffSecurityBaselineCheck)]\r\n\tERROR: DeployLibLoaderError "
                          "DeployLibLoader.cpp("),
              std::string::npos)
        << traced;
    EXPECT_NE(traced.find("at DeployLibLoader::DeployLibLoader(): Failed to load Deploy library\r\n"),
              std::string::npos)
        << traced;
    EXPECT_NE(written.find("ERROR: DeployLibLoaderError DeployLibLoader.cpp("), std::string::npos);
    EXPECT_NE(written.find("): calyxHome is empty. Fail to load deploy lib\r\n"),
              std::string::npos);
    EXPECT_EQ(steering.requests(), "");
}

TEST(TurnOffSecurityBaselineCheck, RefusalByTheLibraryIsNotAnError) {
    deploytest::StandInSteering steering;
    steering.answer("SystemConfig", -1);
    const std::string home = deploytest::makeHome("runtime", deploytest::standIns());
    msitest::LogWatch log;
    TurnOffSecurityBaselineCheck(home);
    EXPECT_EQ(steering.requests(), deploytest::baselineRequest());
    const std::string written = log.written();
    EXPECT_NE(written.find("DeployLibLoader::turnOffSecurityBaselineCheck() return false"),
              std::string::npos);
    EXPECT_EQ(written.find("DeployLibLoaderError"), std::string::npos);
}
