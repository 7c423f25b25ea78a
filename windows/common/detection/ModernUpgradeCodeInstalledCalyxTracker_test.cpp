#include <gtest/gtest.h>

#include "DetectionFactsFake.h"
#include "ModernUpgradeCodeInstalledCalyxTracker.h"

namespace {

struct Seen {
    std::string code;
    int type;
    int bits;
    bool operator==(const Seen& o) const {
        return code == o.code && type == o.type && bits == o.bits;
    }
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
    return out << s.code << "/" << s.type << "/" << s.bits;
}

// A product related to each of the four series, listed last series first.
DetectionFactsFake factsWithEverySeries() {
    DetectionFactsFake facts;
    facts.related["{64E61B7C-C05D-47C2-9F43-0D3F9A10017E}"] = {"{00000000-0000-0000-0000-000000000004}"};
    facts.related["{6FA2C913-D07E-4B19-84F1-A6C5E64F0011}"] = {"{00000000-0000-0000-0000-000000000003}"};
    facts.related["{32E61B7C-C05D-47C2-9F43-0D3F9A10017E}"] = {"{00000000-0000-0000-0000-000000000002}"};
    facts.related["{6FA2C913-D07E-4B19-84F1-A6C5E32F0099}"] = {"{00000000-0000-0000-0000-000000000001}"};
    return facts;
}

std::vector<Seen> walk(InstalledCalyxTracker& tracker) {
    std::vector<Seen> seen;
    while (const InstalledProduct* e = tracker.next()) {
        seen.push_back({e->productCode, e->type, e->bits});
    }
    return seen;
}

} // namespace

TEST(ModernUpgradeCodeTracker, SixtyFourBitWindowsWalksFourSeries) {
    DetectionFactsFake facts = factsWithEverySeries();
    const TrackerContext context{facts, true};
    ModernUpgradeCodeInstalledCalyxTracker tracker(context);
    EXPECT_EQ(walk(tracker), (std::vector<Seen>{{"{00000000-0000-0000-0000-000000000001}", CXR, 32},
                                                {"{00000000-0000-0000-0000-000000000002}", CXS, 32},
                                                {"{00000000-0000-0000-0000-000000000003}", CXR, 64},
                                                {"{00000000-0000-0000-0000-000000000004}", CXS, 64}}));
    EXPECT_EQ(facts.relatedCalls, 364u + 4u);
}

TEST(ModernUpgradeCodeTracker, ThirtyTwoBitWindowsWalksTheThirtyTwoBitSeriesOnly) {
    DetectionFactsFake facts = factsWithEverySeries();
    const TrackerContext context{facts, false};
    ModernUpgradeCodeInstalledCalyxTracker tracker(context);
    EXPECT_EQ(walk(tracker), (std::vector<Seen>{{"{00000000-0000-0000-0000-000000000001}", CXR, 32},
                                                {"{00000000-0000-0000-0000-000000000002}", CXS, 32}}));
    EXPECT_EQ(facts.relatedCalls, 182u + 2u);
}
