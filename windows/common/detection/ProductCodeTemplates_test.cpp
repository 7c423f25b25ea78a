#include <gtest/gtest.h>

#include <cstring>

#include "ProductCodeTemplates.h"

namespace {

struct Sample {
    const char* code;
    size_t templateIndex;
    const char* version;
};

// One code per template, each taken by that template and no earlier one.
const Sample kSamples[] = {
    {"{9D5C1E27-B40E-47C2-8E15-0D3F9A14205A}", 0, "1.4.2_05"},
    {"{2BE61B7C-C05D-47C2-9F43-0D3F9A14200F}", 1, "1.4.2"},
    {"{32E61B7C-C05D-47C2-9F43-0D3F9A15210A}", 2, "1.5.2_10"},
    {"{64E61B7C-C05D-47C2-9F43-0D3F9A15001B}", 3, "1.5.0_01"},
    {"{32E61B7C-C05D-47C2-9F43-0D3F9A160ABC}", 4, "1.6.0"},
    {"{64E61B7C-C05D-47C2-9F43-0D3F9A171F00}", 5, "1.7.1"},
    {"{325C1E27-B40E-47C2-8E15-0D3F9A17021A}", 6, "1.7.0_21"},
    {"{645C1E27-B40E-47C2-8E15-0D3F9A18045F}", 7, "1.8.0_45"},
    {"{8B3F1D62-E57A-41B8-A2C6-7DA321802500}", 8, "1.8.0_25"},
    {"{8B3F1D62-E57A-41B8-A2C6-7DF641601099}", 9, "1.6.0_10"},
    {"{8B3F1D62-E57A-41B8-A2C6-7D32142071CD}", 10, "1.4.2_071"},
    {"{8B3F1D62-E57A-41B8-A2C6-7D64180451AB}", 11, "1.8.0_451"},
    {"{3E9C0B25-D418-4A6E-B5D9-25632C5B3E29}", 12, "2.5.6"},
    {"{3E9C0B25-D418-4A6E-B5D9-20064C5B3E29}", 13, "2.0.0"},
    {"{3E9C0B25-D418-4A6E-B5D9-2512732B3E29}", 14, "2.5.12"},
    {"{3E9C0B25-D418-4A6E-B5D9-3104764B3E29}", 15, "3.1.04"},
};

std::optional<ProductCodeMatch> match(const std::string& code) {
    return matchProductCodeTemplates(code);
}

} // namespace

TEST(ProductCodeTemplates, TableHoldsSixteenTemplatesOfGuidLength) {
    const auto& templates = productCodeTemplates();
    ASSERT_EQ(templates.size(), 16u);
    for (const ProductCodeTemplate& t : templates) EXPECT_EQ(std::strlen(t.pattern), 38u);
    EXPECT_EQ(templates[0].type, CXR);
    EXPECT_EQ(templates[3].type, CXS);
    EXPECT_EQ(templates[3].bits, 64);
    EXPECT_EQ(templates[15].type, GLINT);
    EXPECT_EQ(templates[15].bits, 64);
}

TEST(ProductCodeTemplates, EachTemplateTakesItsCodesAndSpellsTheVersion) {
    const auto& templates = productCodeTemplates();
    for (const Sample& s : kSamples) {
        const auto found = match(s.code);
        ASSERT_TRUE(found.has_value()) << s.code;
        EXPECT_EQ(found->entry, &templates[s.templateIndex]) << s.code;
        EXPECT_EQ(found->versionText, s.version) << s.code;
    }
}

TEST(ProductCodeTemplates, VersionTextKeepsUpdateDigitsAsRead) {
    // Leading zeros stay; the version parser reads them later.
    EXPECT_EQ(match("{8B3F1D62-E57A-41B8-A2C6-7D32142071CD}")->versionText, "1.4.2_071");
    // An update of zeros only is no update.
    EXPECT_EQ(match("{325C1E27-B40E-47C2-8E15-0D3F9A16000A}")->versionText, "1.6.0");
    EXPECT_EQ(match("{8B3F1D62-E57A-41B8-A2C6-7D64170000AB}")->versionText, "1.7.0");
}

TEST(ProductCodeTemplates, EarlierTemplateWinsOverALaterOneThatAlsoFits) {
    // Templates 3 and 5 both fit; 3 reads "210A" as micro 2 and update 10.
    const auto found = match("{32E61B7C-C05D-47C2-9F43-0D3F9A15210A}");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->entry, &productCodeTemplates()[2]);
}

TEST(ProductCodeTemplates, RejectedCodes) {
    // Lower-case hexadecimal at an X position.
    EXPECT_FALSE(match("{325C1E27-B40E-47C2-8E15-0D3F9A17021a}").has_value());
    // A hexadecimal letter where a version digit belongs.
    EXPECT_FALSE(match("{325C1E27-B40E-47C2-8E15-0D3F9AA7021A}").has_value());
    // Fixed text differs.
    EXPECT_FALSE(match("{325C1E27-B40E-47C2-8E15-0D3F9B17021A}").has_value());
    // Lengths other than the templates'.
    EXPECT_FALSE(match("325C1E27-B40E-47C2-8E15-0D3F9A17021A").has_value());
    EXPECT_FALSE(match("{325C1E27-B40E-47C2-8E15-0D3F9A17021AB}").has_value());
    EXPECT_FALSE(match("").has_value());
    // Architecture marks are fixed text.
    EXPECT_FALSE(match("{8B3F1D62-E57A-41B8-A2C6-7DA161802500}").has_value());
    // Not a character of the hexadecimal set.
    EXPECT_FALSE(match(std::string("{325C1E27-B40E-47C2-8E15-0D3F9A17021") + '\0' + "}")
                     .has_value());
    EXPECT_FALSE(match("{5E1F7A00-0C4B-4D2E-9A11-7E5700000132}").has_value());
}
