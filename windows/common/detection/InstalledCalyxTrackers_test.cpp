#include <gtest/gtest.h>

#include "DetectionFactsFake.h"
#include "InstalledCalyxTrackers.h"
#include "MsiTestFixtures.h"

namespace {

const char kRuntime7[] = "{325C1E27-B40E-47C2-8E15-0D3F9A17021A}";
const char kGlint[] = "{3E9C0B25-D418-4A6E-B5D9-2512732B3E29}";
const char kModern[] = "{0C0FFEE0-0000-4000-8000-000000000011}";

std::vector<std::string> walk(InstalledCalyxTracker& tracker) {
    std::vector<std::string> codes;
    while (const InstalledProduct* e = tracker.next()) codes.push_back(e->productCode);
    return codes;
}

} // namespace

TEST(AllInstalledCalyxTracker, TemplateProductsFirstThenUpgradeCodesEachOnce) {
    DetectionFactsFake facts;
    facts.installed = {kGlint, "{5E1F7A00-0C4B-4D2E-9A11-7E5700000132}", kRuntime7};
    // The runtime of template 7 also carries a modern upgrade code.
    facts.related["{6FA2C913-D07E-4B19-84F1-A6C5E32F0009}"] = {kRuntime7};
    facts.related["{6FA2C913-D07E-4B19-84F1-A6C5E64F0011}"] = {kModern};
    const TrackerContext context{facts, true};
    AllInstalledCalyxTracker tracker(context);
    msitest::LogWatch log;
    EXPECT_EQ(walk(tracker), (std::vector<std::string>{kGlint, kRuntime7, kModern}));
    const std::string written = log.written();
    const std::string warning = "Product with ProductCode=[" + std::string(kRuntime7) +
                                "] is tracked multiple times";
    const size_t first = written.find(warning);
    EXPECT_NE(first, std::string::npos) << written;
    EXPECT_EQ(written.find(warning, first + 1), std::string::npos) << written;
}

TEST(AllInstalledCalyxTracker, NothingInstalledMakesEveryUpgradeCodeQuery) {
    DetectionFactsFake facts;
    const TrackerContext context64{facts, true};
    AllInstalledCalyxTracker tracker64(context64);
    EXPECT_EQ(tracker64.next(), nullptr);
    EXPECT_EQ(facts.installedCalls, 1u);
    EXPECT_EQ(facts.relatedCalls, 364u);

    DetectionFactsFake facts32;
    const TrackerContext context32{facts32, false};
    AllInstalledCalyxTracker tracker32(context32);
    EXPECT_EQ(tracker32.next(), nullptr);
    EXPECT_EQ(facts32.relatedCalls, 182u);
}
