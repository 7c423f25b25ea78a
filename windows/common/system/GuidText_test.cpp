#include <gtest/gtest.h>

#include "GuidText.h"

TEST(GuidText, RoundTripsInUpperCaseWithBraces) {
    const GUID guid = guidFromText("5e1f7a00-0c4b-4d2e-9a11-7e5700000132");
    EXPECT_EQ(guid.Data1, 0x5E1F7A00u);
    EXPECT_EQ(guid.Data2, 0x0C4B);
    EXPECT_EQ(guid.Data3, 0x4D2E);
    EXPECT_EQ(guid.Data4[0], 0x9A);
    EXPECT_EQ(guid.Data4[7], 0x32);
    EXPECT_EQ(guidToText(guid), "{5E1F7A00-0C4B-4D2E-9A11-7E5700000132}");
    EXPECT_EQ(guidToText(guidFromText(guidToText(guid))), guidToText(guid));
}

TEST(GuidText, RejectsMalformedTextWithItsValue) {
    const char* const bad[] = {
        "",
        "{5E1F7A00-0C4B-4D2E-9A11-7E5700000132",
        "(5E1F7A00-0C4B-4D2E-9A11-7E5700000132)",
        "5E1F7A00-0C4B-4D2E-9A11-7E570000013",
        "5E1F7A00-0C4B-4D2E-9A11-7E57000001320",
        "5E1F7A000-C4B-4D2E-9A11-7E5700000132",
        "5E1F7A00-0C4B-4D2E-9A11-7E570000013G",
        "5E1F7A00+0C4B-4D2E-9A11-7E5700000132",
    };
    for (const char* text : bad) {
        try {
            guidFromText(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find("guidFromText(): Invalid GUID text: [" +
                                                 std::string(text) + "]"),
                      std::string::npos)
                << e.what();
        }
    }
}
