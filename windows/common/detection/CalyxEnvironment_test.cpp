#include <gtest/gtest.h>

#include "CalyxEnvironment.h"
#include "DetectionFactsFake.h"
#include "MsiTestFixtures.h"

namespace {

const char kRuntime32[] = "{325C1E27-B40E-47C2-8E15-0D3F9A17021A}";
const char kRuntime64[] = "{8B3F1D62-E57A-41B8-A2C6-7D64180451AB}";
const char kKit64[] = "{64E61B7C-C05D-47C2-9F43-0D3F9A160ABC}";
const char kGlint32[] = "{3E9C0B25-D418-4A6E-B5D9-2512732B3E29}";
const char kModern32[] = "{0C0FFEE0-0000-4000-8000-000000000017}";
const char kModernUpgrade32[] = "{6FA2C913-D07E-4B19-84F1-A6C5E32F0017}";

std::vector<std::string> codes(const std::vector<InstalledCalyx>& products) {
    std::vector<std::string> result;
    for (const InstalledCalyx& p : products) result.push_back(p.productCode());
    return result;
}

class CalyxEnvironmentTest : public testing::Test {
protected:
    void SetUp() override {
        facts.installed = {kRuntime32, kGlint32, kRuntime64, kKit64};
        facts.related[kModernUpgrade32] = {kModern32};
        facts.productProperties[{kModern32, "FullVersion"}] = "17.0.2+5";
        for (const char* code : {kRuntime32, kRuntime64, kKit64, kGlint32, kModern32}) {
            facts.productProperties[{code, "InstallLocation"}] = std::string("C:\\p\\") + code;
        }
    }
    DetectionFactsFake facts;
    CalyxEnvironment environment{facts};
};

} // namespace

TEST_F(CalyxEnvironmentTest, DetectAllInTrackerOrder) {
    msitest::LogWatch log;
    const auto all = environment.detect(CalyxEnvironment::FILTER_ALL);
    EXPECT_EQ(codes(all),
              (std::vector<std::string>{kRuntime32, kGlint32, kRuntime64, kKit64, kModern32}));
    EXPECT_EQ(all[4].type(), CXR);
    EXPECT_EQ(all[4].bits(), 32);
    EXPECT_EQ(all[4].fullVersion().toString(), "17.0.2+5");
    const std::string written = log.written();
    EXPECT_NE(written.find("(CalyxEnvironment::detect)]\r\n\tTRACE: Installed Calyx detected: "
                           "version=1.7.0_21; arch=32; productCode=" +
                           std::string(kRuntime32) + "; type=CXR"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("Installed Calyx detected: version=; arch=32; productCode=" +
                           std::string(kGlint32) + "; type=GLINT"),
              std::string::npos);
}

TEST_F(CalyxEnvironmentTest, FilterKeepsTypeAndArchitecture) {
    EXPECT_EQ(codes(environment.detect(CalyxEnvironment::FILTER_CXR |
                                       CalyxEnvironment::FILTER_32BIT)),
              (std::vector<std::string>{kRuntime32, kModern32}));
    EXPECT_EQ(codes(environment.detect(CalyxEnvironment::FILTER_CXS |
                                       CalyxEnvironment::FILTER_GLINT |
                                       CalyxEnvironment::FILTER_64BIT)),
              (std::vector<std::string>{kKit64}));
    EXPECT_EQ(codes(environment.detectRuntimes(64)), (std::vector<std::string>{kRuntime64}));
    EXPECT_TRUE(environment.detect(CalyxEnvironment::FILTER_CXR).empty());
    EXPECT_TRUE(environment.detect(CalyxEnvironment::FILTER_32BIT).empty());
}

TEST_F(CalyxEnvironmentTest, BrokenProductIsLoggedAndSkipped) {
    facts.related[kModernUpgrade32] = {"not a product code", kModern32};
    const auto all = environment.detect(CalyxEnvironment::FILTER_ALL);
    EXPECT_EQ(codes(all),
              (std::vector<std::string>{kRuntime32, kGlint32, kRuntime64, kKit64, kModern32}));
}

TEST_F(CalyxEnvironmentTest, FailingEnumerationEndsTheWalkWithWhatWasFound) {
    facts.installedFailures[2] = ERROR_BAD_CONFIGURATION;
    msitest::LogWatch log;
    bool complete = true;
    EXPECT_EQ(codes(environment.detect(CalyxEnvironment::FILTER_ALL, &complete)),
              (std::vector<std::string>{kRuntime32, kGlint32}));
    EXPECT_FALSE(complete);
    EXPECT_NE(log.written().find("MsiEnumProducts(2) failed with error=[1610]"), std::string::npos);
}

TEST_F(CalyxEnvironmentTest, NothingInstalled) {
    DetectionFactsFake empty;
    EXPECT_TRUE(CalyxEnvironment(empty).detect(CalyxEnvironment::FILTER_ALL).empty());
    EXPECT_EQ(empty.relatedCalls, 364u);
}

TEST_F(CalyxEnvironmentTest, LookupByProductCode) {
    const InstalledCalyx kit = environment.fromProductCode("64e61b7c-c05d-47c2-9f43-0d3f9a160abc");
    EXPECT_EQ(kit.productCode(), kKit64);
    EXPECT_EQ(kit.type(), CXS);
    EXPECT_EQ(kit.bits(), 64);
    EXPECT_EQ(kit.homeDir(), std::string("C:\\p\\") + kKit64);
    EXPECT_EQ(environment.fromProductCode(kModern32).fullVersion().toString(), "17.0.2+5");
}

TEST_F(CalyxEnvironmentTest, LookupOfAPackage) {
    facts.packageProperties[{"C:\\x\\cxr.msi", "ProductCode"}] = kRuntime64;
    EXPECT_EQ(environment.fromMsi("C:\\x\\cxr.msi").productCode(), kRuntime64);
    facts.packageProperties[{"C:\\x\\other.msi", "ProductCode"}] =
        "{5E1F7A00-0C4B-4D2E-9A11-7E5700000132}";
    EXPECT_NE(errorOf([&] { environment.fromMsi("C:\\x\\other.msi"); })
                  .find("No matching Calyx found for {5E1F7A00-0C4B-4D2E-9A11-7E5700000132} "
                        "Product Code"),
              std::string::npos);
    EXPECT_EQ(errorOf([&] { environment.fromMsi("C:\\x\\missing.msi"); }),
              "no package C:\\x\\missing.msi");
}

TEST_F(CalyxEnvironmentTest, FilterFlagsOfAnArchitecture) {
    EXPECT_EQ(CalyxEnvironment::toFilterFlags(32), 1u | 16u);
    EXPECT_EQ(CalyxEnvironment::toFilterFlags(64), 1u | 32u);
    EXPECT_NE(errorOf([] { CalyxEnvironment::toFilterFlags(16); })
                  .find("at CalyxEnvironment::toFilterFlags(): unexpected arch: 16"),
              std::string::npos);
    EXPECT_TRUE(CalyxEnvironment::accepts(4 | 16, GLINT, 32));
    EXPECT_FALSE(CalyxEnvironment::accepts(4 | 16, GLINT, 64));
    EXPECT_FALSE(CalyxEnvironment::accepts(CalyxEnvironment::FILTER_ALL, 3, 32));
    EXPECT_FALSE(CalyxEnvironment::accepts(CalyxEnvironment::FILTER_ALL, CXR, 0));
}

TEST_F(CalyxEnvironmentTest, NewestOfAKindAndArchitecture) {
    const auto none = std::make_shared<Uninstaller>();
    const std::vector<InstalledCalyx> products = {
        {kRuntime32, CXR, 32, CalyxVersion("1.7.0_21-b11"), "", 10, none},
        {kModern32, CXR, 32, CalyxVersion("17.0.2+5"), "", 10, none},
        {kRuntime64, CXR, 64, CalyxVersion("1.8.0_451-b10"), "", 20, none},
        {kKit64, CXS, 64, CalyxVersion("1.9.0"), "", -10, none},
        {kGlint32, CXR, 32, CalyxVersion("1.7.0_21-b11"), "", 10, none},
    };
    EXPECT_EQ(CalyxEnvironment::newest(products, CXR, 32), &products[1]);
    EXPECT_EQ(CalyxEnvironment::newest(products, CXR, 64), &products[2]);
    EXPECT_EQ(CalyxEnvironment::newest(products, CXS, 32), nullptr);
    const std::vector<InstalledCalyx> equal = {products[0], products[4]};
    EXPECT_EQ(CalyxEnvironment::newest(equal, CXR, 32), &equal[0]);
}
