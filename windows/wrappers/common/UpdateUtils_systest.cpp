#include "UpdateUtils.h"

#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "InstallerKeys.h"
#include "Registry.h"
#include "TestSupport.h"
#include "UsageValues.h"
#include "tstrings.h"

// Vendor hosts reach the stand-in server (fixture "netstub") as a proxy;
// the loopback address bypasses it for the tests that run beside this one.
TEST(GetCountry, CountryTable) {
    const Registry proxy = Registry::open(Registry::currentUser(),
        "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", Registry::Mode::Write);
    proxy.setString("ProxyServer", "127.0.0.1:" + testsupport::readFile(testsupport::binaryDir() + "/netstub/port"));
    proxy.setString("ProxyOverride", "127.0.0.1;<local>");
    proxy.setDword("ProxyEnable", 1);
    struct ProxyOff { const Registry& key; ~ProxyOff() { key.setDword("ProxyEnable", 0); } } off{proxy};
    const Registry policy = InstallerKeys::create(SharedKey::Policy);
    struct Case { const char* url; const char* stored; bool found; const char* country; } cases[] = {
        {"http://www.calyx.example/geo3", "", false, "YY"},  {"http://evilcalyx.example/geo", "", false, "YY"},
        {"http://www.calyx.example/geo-moved", "", false, "YY"}, {"http://www.calyx.example/geo3", "DE", true, "DE"},
        {"http://www.calyx.example/geo", "X1", true, "JP"},
    };
    for (const Case& c : cases) {
        if (policy.valueExists("Country")) policy.deleteValue("Country");
        if (*c.stored) policy.setString("Country", c.stored);
        EXPECT_EQ(c.found, GetCountry(c.url)) << c.url;
        EXPECT_EQ(c.country, UsageValues::current().country) << c.url;
    }
    if (policy.valueExists("Country")) policy.deleteValue("Country");

    const std::string empty = testsupport::testFolder("checksum") + "\\empty";
    const std::string digest = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
    EXPECT_TRUE(testsupport::writeFile(empty, "") && verifyCheckSum(empty, digest));
    EXPECT_FALSE(verifyCheckSum(empty, tstrings::toUpper(digest)));
}
