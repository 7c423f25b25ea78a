#include "PingDocument.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using testing::HasSubstr;
using testing::Not;

namespace {

ping::Inputs sample() {
    ping::Inputs in;
    in.reportSuiteId = "testsuite"; in.visitorId = "1a2b-3c4d"; in.accessToken = "tok";
    in.carriedVersion = "1.8.0_451-b10"; in.agentVersion = "2.8.451.10";
    in.processorArch = "amd64"; in.osName = "win10"; in.method = "cxof"; in.country = "YY";
    in.installAttempts = "1"; in.machineCounted = "false"; in.updateCount = "1";
    in.defaultBrowser = 3; in.browserInstalled[1] = true;
    return in;
}

} // namespace

TEST(PingDocument, GoldenDocument) {
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <request> <sc_xml_ver>1.0</sc_xml_ver>"
              "<reportsuiteid>testsuite</reportsuiteid><visitorid>1a2b-3c4d</visitorid>"
              "<prop21>1a2b-3c4d</prop21><prop20>tok</prop20><pagename>ic</pagename><evar42>XX</evar42>"
              "<evar24>0</evar24><evar25>0</evar25><evar2>1.8.0_451-b10</evar2><evar15>1.8.0_451-b10</evar15>"
              "<evar40>0</evar40><evar26>-99</evar26><evar27>2.8.451.10</evar27><evar28>XX</evar28>"
              "<evar4>i586</evar4><evar5>amd64</evar5><evar6>win10</evar6><evar7>cxof</evar7><evar8>YY</evar8>"
              "<events>event6,event7</events><evar17>1</evar17><evar18>false</evar18><evar19>1</evar19>"
              "<evar29>3</evar29><evar30>-1</evar30><evar31>32bit</evar31><evar33>XX</evar33>"
              "<evar43>0</evar43><evar50>B01000</evar50><products>;cxr|0~32bit</products></request>",
              ping::build(sample()).text);
}

TEST(PingDocument, FieldRules) {
    struct Case { const char* name; std::function<void(ping::Inputs&)> change; const char* expected; } cases[] = {
        {"escaped", [](ping::Inputs& in) { in.country = "<&\"'>"; }, "<evar8>&lt;&amp;&quot;&apos;&gt;</evar8>"},
        {"deploy", [](ping::Inputs& in) { in.deployStatus = "YY"; }, "<evar42>YY</evar42>"},
        {"short version", [](ping::Inputs& in) { in.carriedVersion = "1"; }, "<evar2>1</evar2><evar15>XX</evar15>"},
        {"old NA", [](ping::Inputs& in) { in.oldVersion = "NA"; }, "<evar33>XX</evar33>"},
        {"old kept", [](ping::Inputs& in) { in.oldVersion = "1.8.0_441-b07"; }, "<evar33>1.8.0_441-b07</evar33>"},
        {"old 64", [](ping::Inputs& in) { in.installer64 = true; in.oldVersion = "NA"; },
         "<evar31>64bit</evar31><evar34>NA</evar34>"},
        {"64 none", [](ping::Inputs& in) { in.installer64 = true; }, "<evar4>amd64</evar4>"},
        {"oem", [](ping::Inputs& in) { in.oem = true; }, "<evar43>1</evar43>"},
        {"status word", [](ping::Inputs& in) { in.installResult = -128; in.installStatus = "upgrade"; },
         "<products>;cxr|-128~32bit~upgrade</products>"},
        {"exists hidden", [](ping::Inputs& in) { in.installStatus = "exists"; }, "<products>;cxr|0~32bit</products>"},
        {"list", [](ping::Inputs& in) { in.removalList = "a|b"; }, "</products><list1>a|b</list1></request>"},
    };
    for (const Case& c : cases) {
        ping::Inputs in = sample();
        c.change(in);
        EXPECT_THAT(ping::build(in).text, HasSubstr(c.expected)) << c.name;
    }
}

TEST(PingDocument, Capacity) {
    const size_t base = ping::build(sample()).text.size();
    const size_t wrap = std::string("<list1></list1>").size();
    // Expected: list kept, list left out, document empty.
    struct Case { size_t list; size_t country; bool kept, leftOut, empty; } cases[] = {
        {2047 - base - wrap, 0, true, false, false},
        {2048 - base - wrap, 0, false, true, false},
        {10, 2048 - base, false, true, true},
        {0, 2047 - base, false, false, false},
    };
    for (const Case& c : cases) {
        ping::Inputs in = sample();
        in.removalList.assign(c.list, 'r');
        in.country.append(c.country, 'c');
        const ping::Document d = ping::build(in);
        EXPECT_EQ(c.kept, d.text.find("<list1>") != std::string::npos) << c.list;
        EXPECT_EQ(c.leftOut, d.listLeftOut) << c.list;
        EXPECT_EQ(c.empty, d.text.empty()) << c.list;
        EXPECT_LE(d.text.size(), 2047u) << c.list;
    }
}

TEST(PingDocument, UrlTokenAndIdentity) {
    const std::string prod = "https://metrics.calyx.example/b/ss";
    struct Case { std::string url, target, suite, token; } cases[] = {
        {"http://m.calyx.example/b/ss,testsuite,x", "http://m.calyx.example/b/ss", "testsuite,x", "stagingkeyword"},
        {"https://m.calyx.example/b/ss", "https://m.calyx.example/b/ss", "orvelinstallstat", "devtestsecret"},
        {prod + ",s", prod, "s", "5c3a91e7"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.target, ping::target(c.url)) << c.url;
        EXPECT_EQ(c.suite, ping::reportSuiteId(c.url)) << c.url;
        EXPECT_EQ(c.token, ping::accessToken(c.url, prod, 0x5c3a91e7u)) << c.url;
    }
    EXPECT_EQ("1a200fff-ffffffff", ping::visitorId(0x1a2, 0));
    EXPECT_EQ("abcdef01-123456785", ping::visitorId(0xabcdef01, 0x512345678ull));
}

TEST(PingDocument, ResultAndLoggedValues) {
    struct Case { int result; const char* status; int reported; bool forget, send; } cases[] = {
        {1603, "exists", -128, true, true}, {1602, "exists", -128, true, true}, {1638, "", -128, true, true},
        {1603, "", 1603, true, true}, {0, "exists", 0, false, true}, {0, "decline", 0, true, false},
        {1603, "reinstall", 1603, false, false},
    };
    for (const Case& c : cases) {
        const ping::Decision decision = ping::decide(c.result, c.status);
        EXPECT_EQ(c.reported, decision.reportedResult) << c.result << c.status;
        EXPECT_EQ(c.forget, decision.forgetIdentity) << c.result << c.status;
        EXPECT_EQ(c.send, decision.send) << c.result << c.status;
        EXPECT_EQ(std::string(c.status) == "reinstall", decision.reinstall) << c.status;
    }
    ping::Inputs in = sample();
    in.accessToken = "secret";
    in.country = "";
    const std::string logged = ping::loggedValues(ping::build(in).text);
    EXPECT_THAT(logged, HasSubstr("$sc_xml_ver#1.0$reportsuiteid#testsuite$visitorid#1a2b-3c4d"));
    EXPECT_THAT(logged, HasSubstr("$prop20#$pagename#ic"));
    EXPECT_THAT(logged, HasSubstr("$evar8#$events#event6,event7"));
    EXPECT_THAT(logged, Not(HasSubstr("secret")));
}
