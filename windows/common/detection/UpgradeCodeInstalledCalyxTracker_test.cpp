#include <gtest/gtest.h>

#include "DetectionFactsFake.h"
#include "UpgradeCodeInstalledCalyxTracker.h"

namespace {

const char kMajor9[] = "{6FA2C913-D07E-4B19-84F1-A6C5E64F0009}";
const char kMajor11[] = "{6FA2C913-D07E-4B19-84F1-A6C5E64F0011}";

std::vector<std::string> walk(InstalledCalyxTracker& tracker) {
    std::vector<std::string> codes;
    while (const InstalledProduct* entry = tracker.next()) {
        EXPECT_EQ(entry->type, CXR);
        EXPECT_EQ(entry->bits, 64);
        EXPECT_EQ(entry->version.count(), 0u);
        codes.push_back(entry->productCode);
    }
    return codes;
}

} // namespace

TEST(UpgradeCodeTracker, AnswersRelatedProductsMajorByMajor) {
    DetectionFactsFake facts;
    facts.related[kMajor11] = {"{00000000-0000-0000-0000-000000000011}",
                               "{00000000-0000-0000-0000-000000000012}"};
    facts.related[kMajor9] = {"{00000000-0000-0000-0000-000000000009}"};
    const TrackerContext context{facts, true};
    UpgradeCodeInstalledCalyxTracker<CXR, 64> tracker(context);
    EXPECT_EQ(walk(tracker), (std::vector<std::string>{"{00000000-0000-0000-0000-000000000009}",
                                                       "{00000000-0000-0000-0000-000000000011}",
                                                       "{00000000-0000-0000-0000-000000000012}"}));
    // One closing query per code and one per product found.
    EXPECT_EQ(facts.relatedCalls, 91u + 3u);
    EXPECT_EQ(tracker.next(), nullptr);
    EXPECT_EQ(facts.relatedCalls, 91u + 3u);
}

TEST(UpgradeCodeTracker, NothingInstalledStillAsksEveryCode) {
    DetectionFactsFake facts;
    const TrackerContext context{facts, false};
    UpgradeCodeInstalledCalyxTracker<CXS, 32> tracker(context);
    EXPECT_EQ(tracker.next(), nullptr);
    EXPECT_EQ(facts.relatedCalls, 91u);
    EXPECT_EQ(facts.installedCalls, 0u);
}

TEST(UpgradeCodeTracker, ServiceFailureRaisesWithCodeIndexAndStatus) {
    DetectionFactsFake facts;
    facts.related[kMajor11] = {"{00000000-0000-0000-0000-000000000011}"};
    facts.relatedFailures[{kMajor11, 1}] = ERROR_BAD_CONFIGURATION;
    const TrackerContext context{facts, true};
    UpgradeCodeInstalledCalyxTracker<CXR, 64> tracker(context);
    ASSERT_NE(tracker.next(), nullptr);
    try {
        tracker.next();
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("at InstalledCalyxTrackerBase::next(): "
                                             "MsiEnumRelatedProducts(" +
                                             std::string(kMajor11) +
                                             ", 1) failed with error=[1610]"),
                  std::string::npos)
            << e.what();
    }
}
