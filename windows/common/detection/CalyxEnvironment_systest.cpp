#include <gtest/gtest.h>

#include <algorithm>

#include "CalyxEnvironment.h"
#include "GuidText.h"
#include "MsiProduct.h"
#include "MsiTestFixtures.h"
#include "VersionText.h"

namespace {

// What detection must tell of each fixture of packages/fixtures/detection.
struct Fixture {
    const char* package;
    const char* code;
    int type;
    int bits;
    const char* fullVersion;  // empty: not known
    int mode;
};

const Fixture kFixtures[] = {
    {"det_cxr7_x86", "{325C1E27-B40E-47C2-8E15-0D3F9A17021A}", CXR, 32, "1.7.0_21-b11", 10},
    {"det_cxr12_x64", "{8B3F1D62-E57A-41B8-A2C6-7D64180451AB}", CXR, 64, "1.8.0_451-b10", 20},
    {"det_cxr11_x86", "{8B3F1D62-E57A-41B8-A2C6-7D32142071CD}", CXR, 32, "1.4.2_19-b03", 10},
    {"det_cxs6_x64", "{64E61B7C-C05D-47C2-9F43-0D3F9A160ABC}", CXS, 64, "1.6.0_45-b06", -10},
    {"det_glint15_x86", "{3E9C0B25-D418-4A6E-B5D9-2512732B3E29}", GLINT, 32, "", -10},
    {"det_modern_cxr_x64", "{5E1F7A00-0C4B-4D2E-9A11-DE7E00000106}", CXR, 64, "11.0.2+9", 10},
    {"det_modern_cxs_x86", "{5E1F7A00-0C4B-4D2E-9A11-DE7E00000107}", CXS, 32, "17.0.1+3", -10},
};

const Fixture& fixture(const char* package) {
    return *std::find_if(std::begin(kFixtures), std::end(kFixtures),
                         [&](const Fixture& f) { return std::string(f.package) == package; });
}

std::string environment(const char* name) {
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(value) : std::string();
}

// Where the fixture's package installs it.
std::string homeOf(const Fixture& f) {
    return environment(f.bits == 64 ? "ProgramW6432" : "ProgramFiles(x86)") + "\\" + f.package;
}

std::string packagePath(const Fixture& f) {
    return msitest::fixturePath(std::string(f.package) + ".msi");
}

bool installed(const Fixture& f) {
    return !msi::getProductInfoOrEmpty(f.code, "VersionString").empty();
}

// Also clears what a crashed run left behind.
void removeIfInstalled(const Fixture& f) {
    if (!installed(f)) return;
    msi::UninstallData data;
    data.productCode = guidFromText(f.code);
    msi::uninstall(data);
}

void install(const Fixture& f) {
    msi::InstallData data;
    data.packagePath = packagePath(f);
    msi::install(data);
}

const InstalledCalyx* find(const std::vector<InstalledCalyx>& products, const Fixture& f) {
    const InstalledCalyx* found = nullptr;
    for (const InstalledCalyx& p : products) {
        if (p.productCode() != f.code) continue;
        EXPECT_EQ(found, nullptr) << f.package << " answered twice";
        found = &p;
    }
    return found;
}

void expectRecord(const InstalledCalyx& record, const Fixture& f) {
    SCOPED_TRACE(f.package);
    EXPECT_EQ(record.productCode(), f.code);
    EXPECT_EQ(record.type(), f.type);
    EXPECT_EQ(record.bits(), f.bits);
    EXPECT_EQ(printableVersion(record.fullVersion()), f.fullVersion);
    EXPECT_EQ(record.homeDir(), homeOf(f));
    EXPECT_EQ(record.mode(), f.mode);
}

size_t indexOf(const std::vector<InstalledCalyx>& products, const Fixture& f) {
    for (size_t i = 0; i < products.size(); ++i) {
        if (products[i].productCode() == f.code) return i;
    }
    return products.size();
}

size_t occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) {
        ++n;
    }
    return n;
}

class DetectionSystem : public testing::Test {
protected:
    void SetUp() override {
        for (const Fixture& f : kFixtures) removeIfInstalled(f);
    }
    void TearDown() override {
        for (const Fixture& f : kFixtures) removeIfInstalled(f);
    }
};

} // namespace

TEST_F(DetectionSystem, InstalledFixturesAreDescribedCompletely) {
    const CalyxEnvironment calyx;
    for (const Fixture& f : kFixtures) EXPECT_EQ(find(calyx.detect(CalyxEnvironment::FILTER_ALL), f), nullptr);
    for (const Fixture& f : kFixtures) install(f);

    msitest::LogWatch log;
    const auto all = calyx.detect(CalyxEnvironment::FILTER_ALL);
    for (const Fixture& f : kFixtures) {
        const InstalledCalyx* record = find(all, f);
        ASSERT_NE(record, nullptr) << f.package;
        expectRecord(*record, f);
    }
    const std::string written = log.written();
    // Found by template and by its upgrade code, answered once.
    EXPECT_EQ(occurrences(written, "Product with ProductCode=[{325C1E27-B40E-47C2-8E15-"
                                   "0D3F9A17021A}] is tracked multiple times"),
              1u)
        << written;
    EXPECT_EQ(occurrences(written, " Detected version mapping from 1.4.2_71 to 1.4.2_19 in "
                                   "{8B3F1D62-E57A-41B8-A2C6-7D32142071CD} Calyx installation."),
              1u);
    EXPECT_NE(written.find("Unexpected empty value of [InstallLocation] product property of "
                           "{8B3F1D62-E57A-41B8-A2C6-7D32142071CD} Calyx installation."),
              std::string::npos);

    // Template products first, then the upgrade-code series in order.
    const size_t modernKit = indexOf(all, fixture("det_modern_cxs_x86"));
    const size_t modernRuntime = indexOf(all, fixture("det_modern_cxr_x64"));
    for (const char* templated : {"det_cxr7_x86", "det_cxr12_x64", "det_cxr11_x86",
                                  "det_cxs6_x64", "det_glint15_x86"}) {
        EXPECT_LT(indexOf(all, fixture(templated)), modernKit) << templated;
    }
    EXPECT_LT(modernKit, modernRuntime);

    const auto runtimes32 =
        calyx.detect(CalyxEnvironment::FILTER_CXR | CalyxEnvironment::FILTER_32BIT);
    for (const InstalledCalyx& r : runtimes32) {
        EXPECT_EQ(r.type(), CXR) << r.toString();
        EXPECT_EQ(r.bits(), 32) << r.toString();
    }
    EXPECT_NE(find(runtimes32, fixture("det_cxr7_x86")), nullptr);
    EXPECT_NE(find(runtimes32, fixture("det_cxr11_x86")), nullptr);

    const InstalledCalyx* newest64 = CalyxEnvironment::newest(calyx.detectRuntimes(64), CXR, 64);
    ASSERT_NE(newest64, nullptr);
    EXPECT_GE(newest64->fullVersion(), CalyxVersion("11.0.2+9"));

    for (const Fixture& f : kFixtures) expectRecord(calyx.fromMsi(packagePath(f)), f);
}

TEST_F(DetectionSystem, LookupOfAPackageNotInstalledRaises) {
    const CalyxEnvironment calyx;
    const Fixture& glint = fixture("det_glint15_x86");
    try {
        calyx.fromMsi(packagePath(glint));
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("No matching Calyx found for " +
                                             std::string(glint.code) + " Product Code"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_THROW(calyx.fromMsi(msitest::fixturePath("no-such-package.msi")), msi::Error);
}

TEST_F(DetectionSystem, RecordUninstallsItsProduct) {
    const Fixture& kit = fixture("det_modern_cxs_x86");
    install(kit);
    const CalyxEnvironment calyx;
    const InstalledCalyx record = calyx.fromProductCode(kit.code);
    expectRecord(record, kit);
    msi::UninstallData request;
    EXPECT_TRUE(record.uninstall(request));
    EXPECT_FALSE(installed(kit));
    EXPECT_EQ(find(calyx.detect(CalyxEnvironment::FILTER_ALL), kit), nullptr);
    // Gone already: the second removal fails, is logged and answered false.
    msitest::LogWatch log;
    EXPECT_FALSE(record.uninstall(request));
    EXPECT_NE(log.written().find("(InstalledCalyx::uninstall)]\r\n\tERROR: "), std::string::npos);
}
