#include <gtest/gtest.h>

#include "Bundle.h"

namespace {

std::string nameOf(int type, int bits, const char* version) {
    return Bundle(type, bits, CalyxVersion(version)).displayName();
}

std::string errorOf(const Bundle& bundle) {
    try {
        bundle.registryKey();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(Bundle, RegistryKeyNamesTheVersionWithoutBuild) {
    EXPECT_EQ(Bundle(CXR, 32, CalyxVersion("1.4.2_07-b03")).registryKey(),
              "Software\\Calyxware\\Calyx Runtime Environment\\1.4.2_07");
    EXPECT_EQ(Bundle(CXR, 64, CalyxVersion("1.8.0")).registryKey(),
              "Software\\Calyxware\\Calyx Runtime Environment\\1.8.0");
    EXPECT_EQ(Bundle(CXS, 64, CalyxVersion("9.1.3.2-ea+12")).registryKey(),
              "Software\\Calyxware\\Calyx Development Kit\\9.1.3.2");
    EXPECT_EQ(Bundle(CXR, 32, CalyxVersion("1.4.2_071")).registryKey(),
              "Software\\Calyxware\\Calyx Runtime Environment\\1.4.2_71");
}

TEST(Bundle, RegistryKeyRejectsOtherTypesAndArchitectures) {
    const std::string glint = errorOf(Bundle(GLINT, 32, CalyxVersion("2.5.6")));
    EXPECT_NE(glint.find("at Bundle::throwUnexpectedType(): Unexpected type 2 of "
                         "Bundle(type=2, bits=32, version=2.5.6)"),
              std::string::npos)
        << glint;
    const std::string arch = errorOf(Bundle(CXR, 16, CalyxVersion("1.8.0")));
    EXPECT_NE(arch.find("at `anonymous-namespace'::getRootKey(): Unexpected bundle arch: 16"),
              std::string::npos)
        << arch;
    EXPECT_NE(errorOf(Bundle(7, 64, CalyxVersion("1.8.0"))).find("Unexpected type 7 of"),
              std::string::npos);
}

TEST(Bundle, LegacyRuntimeNamesFollowTheMinorVersion) {
    EXPECT_EQ(nameOf(CXR, 32, "1.4.2_07-b03"), "Calyx 2 Runtime Environment, SE v1.4.2_07");
    EXPECT_EQ(nameOf(CXR, 32, "1.5.0_22"), "CalyxPrime Runtime Environment 5.0 Update 22");
    EXPECT_EQ(nameOf(CXR, 32, "1.5.0"), "CalyxPrime Runtime Environment 5.0");
    EXPECT_EQ(nameOf(CXR, 32, "1.6.0_01"), "Calyx(TM) Runtime Environment 6 Update 1");
    EXPECT_EQ(nameOf(CXR, 32, "1.6.0_02"), "Calyx(TM) 6 Update 2");
    EXPECT_EQ(nameOf(CXR, 32, "1.6.1"), "Calyx(TM) 6");
    EXPECT_EQ(nameOf(CXR, 32, "1.7.0_05"), "Calyx(TM) 7 Update 5");
    EXPECT_EQ(nameOf(CXR, 32, "1.7.0_06"), "Calyx 7 Update 6");
    EXPECT_EQ(nameOf(CXR, 32, "1.8.0"), "Calyx 8");
    EXPECT_EQ(nameOf(CXR, 64, "1.8.0_451-b10"), "Calyx 8 Update 451 (64-bit)");
}

TEST(Bundle, ModernDevelopmentKitAndGlintNames) {
    EXPECT_EQ(nameOf(CXR, 32, "11.0.2+9"), "Calyx 11");
    EXPECT_EQ(nameOf(CXR, 64, "17.0.1"), "Calyx 17 (64-bit)");
    EXPECT_EQ(nameOf(CXS, 32, "1.6.0_45-b06"), "Calyx Development Kit 6 Update 45");
    EXPECT_EQ(nameOf(CXS, 64, "1.7.0"), "Calyx Development Kit 7 (64-bit)");
    EXPECT_EQ(nameOf(CXS, 32, "17.0.1+3"), "Calyx Development Kit 17");
    EXPECT_EQ(nameOf(GLINT, 32, "2.0.0"), "Glint 2.0");
    EXPECT_EQ(nameOf(GLINT, 64, "2.5.12"), "Glint 2.5.12 (64-bit)");
}
