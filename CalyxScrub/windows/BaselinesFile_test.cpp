#include "BaselinesFile.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace cxscrub;

// Each document of the stand-in server read as the removal reads it: the
// classes of fixed probes, or the first fault's message.
TEST(BaselinesFile, DocumentsToClassOrError) {
    const std::string stub = "http://127.0.0.1:" + testsupport::readFile(testsupport::binaryDir() + "/netstub/port");
    struct Case {
        std::string url, expected;
    } cases[] = {
        {stub + "/cxr/current.xml", "1.8.0_425=1 1.8.0_411=4 1.7.0_80=4 1.8.0_451=5 "},
        {stub + "/cxr/461.xml", "1.8.0_425=4 1.8.0_411=4 1.7.0_80=0 1.8.0_451=4 "},
        {stub + "/cxr/two-defaults.xml", "Unexpected multiple default families"},
        {stub + "/cxr/intersecting.xml", "Version range [1.8.0_401|1.8.0_441] intersects with 1.8.0_431 security baseline."},
        {stub + "/cxr/doctype.xml", "xml document type definitions are not accepted"},
        {stub + "/cxr/bad.xml", "xml parse error at line 1, pos "},
        {stub + "/missing", "Http error, status: 404"},
        {"http://www.calyx.example/applet/calyxLatestVersion.xml", "Http is disabled"},
    };
    for (const Case& c : cases) {
        std::string got;
        try {
            const SecurityBaselines baselines = parseBaselinesFile(downloadBaselinesFile(c.url));
            for (const char* probe : {"1.8.0_425", "1.8.0_411", "1.7.0_80", "1.8.0_451"}) {
                got += std::string(probe) + "=" + std::to_string(baselines.classify(CalyxVersion(probe))) + " ";
            }
        } catch (const std::exception& e) {
            got = e.what();
        }
        EXPECT_NE(got.find(c.expected), std::string::npos) << c.url << ": " << got;
    }
}
