#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include "GuidText.h"
#include "MsiUtils.h"

namespace {

class NullCallback : public msi::Callback {
public:
    void handle(UINT, UINT, const std::string&) override {}
};

int WINAPI noHandler(LPVOID, UINT, LPCWSTR) { return 0; }

} // namespace

TEST(MsiCommandLine, EmptyRequestGivesEmptyText) {
    msi::InstallData data;
    EXPECT_EQ(data.commandLine(), "");
    data.extraCommandLine = " \t ";
    EXPECT_EQ(data.commandLine(), "");
}

TEST(MsiCommandLine, PropertiesInNameOrderWithQuotedValues) {
    msi::InstallData data;
    data.properties["B"] = "x y";
    data.properties["A"] = "";
    EXPECT_EQ(data.commandLine(), "A=\"\" B=\"x y\"");
}

TEST(MsiCommandLine, ExtraTextTrimmedAndSeparatedByOneBlank) {
    msi::InstallData data;
    data.extraCommandLine = "  /norestart\t ";
    EXPECT_EQ(data.commandLine(), "/norestart");
    data.properties["X"] = "1";
    EXPECT_EQ(data.commandLine(), "/norestart X=1");
}

TEST(MsiCommandLine, NamesSortByByteValue) {
    msi::InstallData data;
    data.properties["b"] = "1";
    data.properties["B"] = "2";
    data.properties["_"] = "3";
    EXPECT_EQ(data.commandLine(), "B=2 _=3 b=1");
}

TEST(MsiQuoteValue, PlainValuesStayAsTheyAre) {
    EXPECT_EQ(msi::quoteValue("1"), "1");
    EXPECT_EQ(msi::quoteValue("C:\\Program"), "C:\\Program");
}

TEST(MsiQuoteValue, EmptyAndBlankValuesAreEnclosed) {
    EXPECT_EQ(msi::quoteValue(""), "\"\"");
    EXPECT_EQ(msi::quoteValue("x y"), "\"x y\"");
    EXPECT_EQ(msi::quoteValue("x\ty"), "\"x\ty\"");
    EXPECT_EQ(msi::quoteValue(" "), "\" \"");
}

TEST(MsiQuoteValue, DoubleQuotesAreDoubledInsideEnclosingQuotes) {
    EXPECT_EQ(msi::quoteValue("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(msi::quoteValue("say \"hi\""), "\"say \"\"hi\"\"\"");
    // A lone quote takes the enclosed form, never the empty value's "".
    EXPECT_EQ(msi::quoteValue("\""), "\"\"\"\"");
    EXPECT_NE(msi::quoteValue("\""), msi::quoteValue(""));
}

TEST(MsiCommandLine, NestedPropertyStringSurvivesQuoting) {
    msi::InstallData data;
    data.properties["CMDLINE"] = " INSTALLDIR=\"C:\\a b\" STATIC=\"1\"";
    EXPECT_EQ(data.commandLine(),
              "CMDLINE=\" INSTALLDIR=\"\"C:\\a b\"\" STATIC=\"\"1\"\"\"");
}

TEST(MsiForwardedText, OnlyPropertyAssignmentsPassRequoted) {
    struct Case {
        const char* text;
        const char* assignments;
        std::vector<std::string> leftOut;
    } cases[] = {
        {"/qn", "", {"/qn"}},
        {" A=1  /l*v x.log B=two ", "A=1 B=two", {"/l*v", "x.log"}},
        {"DIR=\"C:\\a b\" E=", "DIR=\"C:\\a b\" E=\"\"", {}},
        {"Q=\"say \"\"hi\"\"\"", "Q=\"say \"\"hi\"\"\"", {}},
        {"REBOOT =1 1X=2 _p.q=3", "_p.q=3", {"REBOOT", "=1", "1X=2"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> leftOut;
        EXPECT_EQ(msi::propertyAssignments(c.text, leftOut), c.assignments) << c.text;
        EXPECT_EQ(leftOut, c.leftOut) << c.text;
    }
    EXPECT_TRUE(msi::assignsProperty("A=1 REBOOT=Force", "REBOOT"));
    EXPECT_FALSE(msi::assignsProperty("A=\"x REBOOT=1\" NOREBOOT=1", "REBOOT"));
}

TEST(MsiUninstallData, PresetsRebootSuppressionAndZeroCode) {
    msi::UninstallData data;
    EXPECT_EQ(data.properties.size(), 1u);
    EXPECT_EQ(data.properties["REBOOT"], "ReallySuppress");
    EXPECT_EQ(guidToText(data.productCode), "{00000000-0000-0000-0000-000000000000}");
    EXPECT_EQ(data.commandLine(), "REBOOT=ReallySuppress");
}

TEST(MsiActionData, Defaults) {
    const msi::InstallData data;
    EXPECT_EQ(data.uiLevel, INSTALLUILEVEL_NONE);
    EXPECT_EQ(data.callback, nullptr);
    EXPECT_TRUE(data.logFile.empty());
    EXPECT_TRUE(data.extraCommandLine.empty());
}

TEST(MsiActionState, AppliesUiLevelAndRestoresIt) {
    const INSTALLUILEVEL original = MsiSetInternalUI(INSTALLUILEVEL_BASIC, nullptr);
    {
        msi::InstallData data;
        data.uiLevel = INSTALLUILEVEL_NONE;
        const auto state = data.createState();
        EXPECT_EQ(MsiSetInternalUI(INSTALLUILEVEL_NOCHANGE, nullptr), INSTALLUILEVEL_NONE);
    }
    EXPECT_EQ(MsiSetInternalUI(INSTALLUILEVEL_NOCHANGE, nullptr), INSTALLUILEVEL_BASIC);
    MsiSetInternalUI(original, nullptr);
}

TEST(MsiActionState, RegistersHandlerOnlyWithCallbackAndRemovesIt) {
    NullCallback callback;
    msi::InstallData data;
    {
        const auto state = data.createState();
        EXPECT_EQ(MsiSetExternalUIW(nullptr, 0, nullptr), nullptr);
    }
    data.callback = &callback;
    {
        const auto state = data.createState();
        // Reading the handler replaces it; put a stand-in back for the token to remove.
        EXPECT_NE(MsiSetExternalUIW(noHandler, 0xFFFFFFFF, nullptr), nullptr);
    }
    EXPECT_EQ(MsiSetExternalUIW(nullptr, 0, nullptr), nullptr);
}
