#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include <algorithm>

#include "GuidText.h"
#include "MsiDatabase.h"
#include "MsiDispatchingCallback.h"
#include "MsiProduct.h"
#include "MsiTestFixtures.h"
#include "MsiUtils.h"

namespace {

const char kEchoKey[] = "Software\\Tolvane Test\\CxFixtureGood";

class Recorder : public msi::DispatchingCallback {
public:
    std::vector<std::string> actionStarts;
    std::vector<msi::ProgressFields> progress;
    size_t others = 0;

protected:
    void onActionStart(const std::string& text) override { actionStarts.push_back(text); }
    void onProgress(const msi::ProgressFields& fields) override { progress.push_back(fields); }
    void onMessage(UINT, UINT, const std::string&) override { ++others; }
};

class Throwing : public msi::Callback {
public:
    size_t calls = 0;
    void handle(UINT, UINT, const std::string&) override {
        ++calls;
        throw std::runtime_error("receiver broke");
    }
};

bool installed(const std::string& productCode) {
    return !msi::getProductInfoOrEmpty(productCode, "VersionString").empty();
}

// Also clears what a crashed earlier run left behind.
void removeIfInstalled(const std::string& productCode) {
    if (!installed(productCode)) return;
    msi::UninstallData data;
    data.productCode = guidFromText(productCode);
    msi::uninstall(data);
}

std::string echoValue(const char* name) {
    char value[512] = {};
    DWORD size = sizeof(value);
    const LONG status = RegGetValueA(HKEY_LOCAL_MACHINE, kEchoKey, name, RRF_RT_REG_SZ, nullptr,
                                     value, &size);
    return status == ERROR_SUCCESS ? std::string(value) : "<" + std::to_string(status) + ">";
}

bool echoKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEchoKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) {
        ++n;
    }
    return n;
}

void installGood(msi::Callback* callback = nullptr) {
    msi::InstallData data;
    data.packagePath = msitest::fixturePath("fixture_good.msi");
    data.callback = callback;
    msi::install(data);
}

class MsiInstall : public testing::Test {
protected:
    void SetUp() override {
        removeIfInstalled(msitest::goodProductCode());
        removeIfInstalled(msitest::failingProductCode());
    }
    void TearDown() override { removeIfInstalled(msitest::goodProductCode()); }
};

} // namespace

TEST_F(MsiInstall, InstallAndRemovalForwardMessagesAndLogOneRecordEach) {
    Recorder recorder;
    msi::InstallData data;
    data.packagePath = msitest::fixturePath("fixture_good.msi");
    data.properties["FixtureProp"] = "from the test";
    data.callback = &recorder;
    data.logFile = testsupport::tempDir() + "\\service.log";
    const INSTALLUILEVEL original = MsiSetInternalUI(INSTALLUILEVEL_BASIC, nullptr);

    msitest::LogWatch installLog;
    msi::install(data);
    const std::string installed = installLog.written();

    EXPECT_EQ(count(installed, "(msi::`anonymous-namespace'::handleMsiStatus)]\r\n\tINFO: "
                               "MsiInstallProduct(" + data.packagePath +
                                   ", FixtureProp=\"from the test\") succeeded\r\n"),
              1u)
        << installed;
    EXPECT_EQ(count(installed, "\tINFO: "), 1u) << installed;
    EXPECT_TRUE(std::any_of(recorder.actionStarts.begin(), recorder.actionStarts.end(),
                            [](const std::string& t) {
                                return t.find("InstallFiles") != std::string::npos;
                            }));
    EXPECT_FALSE(recorder.progress.empty());
    EXPECT_FALSE(testsupport::readFile(data.logFile).empty());
    // The service's settings are back as they were.
    EXPECT_EQ(MsiSetInternalUI(original, nullptr), INSTALLUILEVEL_BASIC);
    EXPECT_EQ(MsiSetExternalUIW(nullptr, 0, nullptr), nullptr);

    recorder.actionStarts.clear();
    msi::UninstallData removal;
    removal.productCode = guidFromText(msitest::goodProductCode());
    removal.callback = &recorder;
    msitest::LogWatch removalLog;
    msi::uninstall(removal);
    const std::string removed = removalLog.written();

    EXPECT_EQ(count(removed, "\tINFO: MsiConfigureProductEx(" + msitest::goodProductCode() +
                                 ", 65535, 2, REBOOT=ReallySuppress) succeeded\r\n"),
              1u)
        << removed;
    EXPECT_FALSE(recorder.actionStarts.empty());
    EXPECT_FALSE(installed.empty());
    EXPECT_FALSE(::installed(msitest::goodProductCode()));
    EXPECT_FALSE(echoKeyExists());
}

TEST_F(MsiInstall, ProductPropertiesOfTheInstalledFixture) {
    installGood();
    const std::string code = msitest::goodProductCode();
    EXPECT_EQ(msi::getProductInfo(code, "VersionString"), "1.2.3");
    EXPECT_EQ(msi::getProductInfo(code, "ProductName"), "Cx Fixture Good");

    const std::string localPackage = msi::getProductInfo(code, "LocalPackage");
    EXPECT_GT(localPackage.size(), 20u);
    EXPECT_NE(GetFileAttributesA(localPackage.c_str()), INVALID_FILE_ATTRIBUTES) << localPackage;

    const msi::Database cached(guidFromText(code));
    EXPECT_EQ(cached.path(), localPackage);
    EXPECT_EQ(cached.getProperty("ProductCode"), code);
    EXPECT_EQ(cached.getProperty("ProductVersion"), "1.2.3");

    bool listed = false;
    for (DWORD i = 0; const auto product = msi::installedProduct(i); ++i) {
        listed = listed || *product == code;
    }
    EXPECT_TRUE(listed);
}

TEST_F(MsiInstall, RelatedProductsFollowTheUpgradeCode) {
    EXPECT_FALSE(msi::relatedProduct(msitest::goodUpgradeCode(), 0).has_value());
    installGood();
    const auto first = msi::relatedProduct(msitest::goodUpgradeCode(), 0);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first, msitest::goodProductCode());
    EXPECT_FALSE(msi::relatedProduct(msitest::goodUpgradeCode(), 1).has_value());
    EXPECT_FALSE(msi::relatedProduct(msitest::failingUpgradeCode(), 0).has_value());
}

TEST_F(MsiInstall, PropertyValuesReachThePackageIntact) {
    msi::InstallData data;
    data.packagePath = msitest::fixturePath("fixture_good.msi");
    data.properties["ECHO_A"] = "say \"hi\" twice";
    data.properties["ECHO_B"] = "a\"b";
    data.properties["ECHO_C"] = "C:\\Program Files\\x y";
    data.properties["ECHO_D"] = "";
    msi::install(data);
    EXPECT_EQ(echoValue("EchoA"), "say \"hi\" twice");
    EXPECT_EQ(echoValue("EchoB"), "a\"b");
    EXPECT_EQ(echoValue("EchoC"), "C:\\Program Files\\x y");
    EXPECT_EQ(echoValue("EchoD"), "");
}

TEST_F(MsiInstall, FailingPackageRaisesTheServiceStatus) {
    msi::InstallData data;
    data.packagePath = msitest::fixturePath("fixture_failing.msi");
    msitest::LogWatch log;
    try {
        msi::install(data);
        FAIL() << "no exception";
    } catch (const TeguError<msi::Error>& e) {
        EXPECT_EQ(e.getStatus(), static_cast<UINT>(ERROR_INSTALL_FAILURE));
        EXPECT_NE(std::string(e.what()).find("at msi::`anonymous-namespace'::handleMsiStatus(): "
                                             "MsiInstallProduct(" + data.packagePath +
                                             ", ) failed. MSI error [1603]"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_EQ(log.written().find("succeeded"), std::string::npos);
    EXPECT_FALSE(installed(msitest::failingProductCode()));
    EXPECT_EQ(MsiSetExternalUIW(nullptr, 0, nullptr), nullptr);
}

TEST_F(MsiInstall, ReceiverExceptionsStayOutOfTheService) {
    Throwing receiver;
    msitest::LogWatch log;
    installGood(&receiver);
    EXPECT_TRUE(installed(msitest::goodProductCode()));
    EXPECT_GT(receiver.calls, 0u);
    const std::string written = log.written();
    EXPECT_EQ(count(written, "(msi::`anonymous-namespace'::CallbackTrigger::adapter)]\r\n\t"
                             "ERROR: Exception with message 'receiver broke' caught"),
              receiver.calls);
}

TEST_F(MsiInstall, RemovingAProductThatIsNotThereRaises) {
    msi::UninstallData data;
    data.productCode = guidFromText(msitest::goodProductCode());
    try {
        msi::uninstall(data);
        FAIL() << "no exception";
    } catch (const msi::Error& e) {
        EXPECT_EQ(e.getStatus(), static_cast<UINT>(ERROR_UNKNOWN_PRODUCT));
        EXPECT_NE(std::string(e.what()).find("MsiConfigureProductEx(" +
                                             msitest::goodProductCode() +
                                             ", 65535, 2, REBOOT=ReallySuppress) failed"),
                  std::string::npos)
            << e.what();
    }
}
