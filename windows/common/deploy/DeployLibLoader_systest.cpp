#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include "DeployLibLoader.h"
#include "DeployTestSupport.h"
#include "MsiDatabase.h"
#include "MsiProduct.h"
#include "MsiTestFixtures.h"
#include "SecurityBaselineCheck.h"

namespace {

// The demo runtime package of this build, installed for each test and
// removed afterwards (a leftover of a crashed run first).
class InstalledRuntime : public ::testing::Test {
protected:
    void SetUp() override {
        MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
        if (installed()) {
            ASSERT_EQ(remove(), 0u);
        }
        ASSERT_EQ(MsiInstallProductA(package.c_str(), ""), 0u);
        home = msi::getProductInfo(productCode, "InstallLocation");
    }

    void TearDown() override {
        if (installed()) {
            EXPECT_EQ(remove(), 0u);
        }
    }

    bool installed() const {
        return MsiQueryProductStateA(productCode.c_str()) == INSTALLSTATE_DEFAULT;
    }

    UINT remove() const {
        return MsiConfigureProductA(productCode.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
    }

    const std::string package = msitest::fixturePath("runtime.msi");
    const std::string productCode = msi::Database(package).getProperty("ProductCode");
    deploytest::StandInSteering steering;
    std::string home;
};

} // namespace

TEST_F(InstalledRuntime, LibrariesLieInTheRuntimesBinFolder) {
    const std::string programFiles = sizeof(void*) == 8 ? "C:\\Program Files\\"
                                                        : "C:\\Program Files (x86)\\";
    EXPECT_EQ(home, programFiles + "Calyx\\cxr1.8.0_451\\");
    for (const char* file : {"deploy.dll", "msvcr100.dll"}) {
        EXPECT_NE(GetFileAttributesA((home + "bin\\" + file).c_str()), INVALID_FILE_ATTRIBUTES)
            << file;
    }
}

TEST_F(InstalledRuntime, EveryQueryReachesTheInstalledLibrary) {
    EXPECT_EQ(deploytest::askEverything(home), (std::vector<bool>{false, false, true, true, true}));
    steering.answerEach(0, 1, -1, 0, -1);
    EXPECT_EQ(deploytest::askEverything(home), (std::vector<bool>{true, true, false, false, false}));
    EXPECT_EQ(steering.requests(), deploytest::everyRequest() + deploytest::everyRequest());
}

TEST_F(InstalledRuntime, BaselineSwitchUsesTheInstalledLibrary) {
    msitest::LogWatch log;
    TurnOffSecurityBaselineCheck(home);
    EXPECT_EQ(steering.requests(), deploytest::baselineRequest());
    EXPECT_NE(log.written().find("DeployLib path is " + home + "bin\\deploy.dll"),
              std::string::npos);
}

TEST_F(InstalledRuntime, RemovedRuntimeIsALoaderError) {
    ASSERT_EQ(remove(), 0u);
    EXPECT_THROW(DeployLibLoader loader(home), DeployLibLoader::DeployLibLoaderError);
    msitest::LogWatch log;
    EXPECT_NO_THROW(TurnOffSecurityBaselineCheck(home));
    EXPECT_NE(log.written().find("ERROR: DeployLibLoaderError DeployLibLoader.cpp("),
              std::string::npos);
    EXPECT_NE(log.written().find("Failed to load msvcr library\r\n"), std::string::npos);
    EXPECT_EQ(steering.requests(), "");
}

// The key a script sets to steer a whole installer run, whose process id
// it cannot know in advance.
TEST(DeployStandInSharedKey, SteersProcessesWithoutAKeyOfTheirOwn) {
    const Registry& user = Registry::currentUser();
    const std::string shared = "Software\\cxroffline-deploy-stand-in";
    user.deleteTree(shared);
    const std::string requests = testsupport::tempDir() + "\\shared-requests.txt";
    {
        const Registry key = Registry::open(user, shared, Registry::Mode::Write);
        key.setDword("PluginStatus", 0);
        key.setString("RequestLog", requests);
    }
    const std::string home = deploytest::makeHome("runtime", deploytest::standIns());
    {
        DeployLibLoader loader(home);
        EXPECT_TRUE(loader.isCalyxPluginDisabled());
    }
    {
        // A key of this process's own wins.
        deploytest::StandInSteering own;
        DeployLibLoader loader(home);
        EXPECT_FALSE(loader.isCalyxPluginDisabled());
        EXPECT_EQ(own.requests(), "kind=1 argument=0 config=\n");
    }
    EXPECT_TRUE(user.deleteTree(shared));
    EXPECT_EQ(testsupport::readFile(requests), "kind=1 argument=0 config=\n");
}
