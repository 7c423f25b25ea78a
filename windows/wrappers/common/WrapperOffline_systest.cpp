#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include "MsiTestFixtures.h"
#include "WrapperOffline.h"

namespace {

void removeIfInstalled(const std::string& productCode) {
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    MsiConfigureProductA(productCode.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
}

} // namespace

TEST(ExecCommand, ResultCodesOfSuccessAndFailure) {
    removeIfInstalled(msitest::goodProductCode());
    msi::InstallData good;
    good.packagePath = msitest::fixturePath("fixture_good.msi");
    EXPECT_EQ(ExecCommand(good), 0);
    removeIfInstalled(msitest::goodProductCode());

    msitest::LogWatch log;
    msi::InstallData failing;
    failing.packagePath = msitest::fixturePath("fixture_failing.msi");
    EXPECT_EQ(ExecCommand(failing), 1603);
    EXPECT_NE(log.written().find("(ExecCommand)]"), std::string::npos) << log.written();

    msi::InstallData missing;
    missing.packagePath = msitest::fixturePath("no_such_package.msi");
    const int missingCode = ExecCommand(missing);
    EXPECT_NE(missingCode, 0);
    EXPECT_NE(missingCode, 1603);
}
