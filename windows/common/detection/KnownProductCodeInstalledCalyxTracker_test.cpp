#include <gtest/gtest.h>

#include "DetectionFactsFake.h"
#include "KnownProductCodeInstalledCalyxTracker.h"
#include "MsiTestFixtures.h"

namespace {

const char kRuntime71[] = "{8B3F1D62-E57A-41B8-A2C6-7D32142071CD}";
const char kGlint[] = "{3E9C0B25-D418-4A6E-B5D9-2512732B3E29}";
const char kDevelopmentKit[] = "{64E61B7C-C05D-47C2-9F43-0D3F9A160ABC}";
const char kOther[] = "{5E1F7A00-0C4B-4D2E-9A11-7E5700000132}";

std::array<int, 6> itemsOf(const CalyxVersion& v) {
    std::array<int, 6> items;
    for (size_t i = 0; i < 6; ++i) items[i] = v.item(i);
    return items;
}

} // namespace

TEST(KnownProductCodeTracker, AnswersMatchingProductsInServiceOrder) {
    DetectionFactsFake facts;
    facts.installed = {kOther, kRuntime71, kGlint, kOther, kDevelopmentKit};
    const TrackerContext context{facts, true};
    KnownProductCodeInstalledCalyxTracker tracker(context);

    const InstalledProduct* first = tracker.next();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->productCode, kRuntime71);
    EXPECT_EQ(first->type, CXR);
    EXPECT_EQ(first->bits, 32);
    EXPECT_EQ(itemsOf(first->version), (std::array<int, 6>{{1, 4, 2, 71, -1, -1}}));

    const InstalledProduct* glint = tracker.next();
    ASSERT_NE(glint, nullptr);
    EXPECT_EQ(glint->productCode, kGlint);
    EXPECT_EQ(glint->type, GLINT);
    EXPECT_EQ(glint->bits, 32);
    EXPECT_EQ(glint->version.count(), 0u);

    const InstalledProduct* kit = tracker.next();
    ASSERT_NE(kit, nullptr);
    EXPECT_EQ(kit->type, CXS);
    EXPECT_EQ(kit->bits, 64);
    EXPECT_EQ(itemsOf(kit->version), (std::array<int, 6>{{1, 6, 0, -1, -1, -1}}));

    EXPECT_EQ(tracker.next(), nullptr);
    EXPECT_EQ(facts.installedCalls, 6u);
}

TEST(KnownProductCodeTracker, VersionKeepsOnlyTheFirstFourItems) {
    DetectionFactsFake facts;
    facts.installed = {"{8B3F1D62-E57A-41B8-A2C6-7D64180451AB}"};
    const TrackerContext context{facts, true};
    KnownProductCodeInstalledCalyxTracker tracker(context);
    const InstalledProduct* entry = tracker.next();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->version.count(), 4u);
    EXPECT_EQ(entry->version.toString(), "1.8.0_451");
}

TEST(KnownProductCodeTracker, CodeSpellingNoVersionIsSkippedAndLogged) {
    DetectionFactsFake facts;
    // Template 7 with major digit 5: "5.1.0" is no product version.
    facts.installed = {"{325C1E27-B40E-47C2-8E15-0D3F9A51000A}", kRuntime71};
    const TrackerContext context{facts, true};
    KnownProductCodeInstalledCalyxTracker tracker(context);
    msitest::LogWatch log;
    const InstalledProduct* entry = tracker.next();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->productCode, kRuntime71);
    EXPECT_NE(log.written().find("Failed to parse [5.1.0] version string completely"),
              std::string::npos)
        << log.written();
}

TEST(KnownProductCodeTracker, ServiceFailureRaisesWithIndexAndStatus) {
    DetectionFactsFake facts;
    facts.installed = {kRuntime71, kOther, kGlint};
    facts.installedFailures[2] = ERROR_BAD_CONFIGURATION;
    const TrackerContext context{facts, true};
    KnownProductCodeInstalledCalyxTracker tracker(context);
    ASSERT_NE(tracker.next(), nullptr);
    try {
        tracker.next();
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("at KnownProductCodeInstalledCalyxTracker::next(): "
                                             "MsiEnumProducts(2) failed with error=[1610]"),
                  std::string::npos)
            << e.what();
    }
}

TEST(KnownProductCodeTracker, MatchAnswersTemplateAndVersionText) {
    const auto found = KnownProductCodeInstalledCalyxTracker::match(kRuntime71);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->entry, &productCodeTemplates()[10]);
    EXPECT_EQ(found->versionText, "1.4.2_071");
    EXPECT_FALSE(KnownProductCodeInstalledCalyxTracker::match(kOther).has_value());
}
