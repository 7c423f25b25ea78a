#include <gtest/gtest.h>

#include "MessageText.h"
#include "TeguError.h"
#include "tstrings.h"

TEST(Tstrings, FormatsLongMessagesWhole) {
    const std::string big(5000, 'x');
    std::string out;
    tstrings::format(&out, "<%s|%d>", big.c_str(), 42);
    EXPECT_EQ(out, "<" + big + "|42>");
}

TEST(Tstrings, FormatRefusesNullDestination) {
    try {
        tstrings::format(nullptr, "%d", 1);
        FAIL() << "no exception";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("at tstrings::format(): Destination buffer can't be NULL"),
                  std::string::npos)
            << e.what();
    }
}

TEST(Tstrings, SplitKeepsEmptyPiecesAndRemainder) {
    std::vector<std::string> out;
    tstrings::split(".", out, "a..b.");
    EXPECT_EQ(out, (std::vector<std::string>{"a", "", "b", ""}));
    out.clear();
    tstrings::split(".", out, "");
    tstrings::split("", out, "abc");
    EXPECT_TRUE(out.empty());
}

TEST(Tstrings, CaseRules) {
    EXPECT_TRUE(tstrings::equals("ABC", "abc", tstrings::IGNORE_CASE));
    EXPECT_FALSE(tstrings::equals("ABC", "abc"));
    EXPECT_TRUE(tstrings::endsWith("Setup.EXE", ".exe"));
    EXPECT_FALSE(tstrings::endsWith("exe", "a.exe"));
}

TEST(JoinMessage, SeparatorsAndEmptySides) {
    EXPECT_EQ(joinMessage("", " detail "), "detail");
    EXPECT_EQ(joinMessage("Context.", "detail"), "Context. detail");
    EXPECT_EQ(joinMessage("Context", "detail"), "Context. detail");
    EXPECT_EQ(joinMessage("Context:  ", "detail"), "Context: detail");
    EXPECT_EQ(joinMessage("  Context  ", "  "), "  Context");
}

TEST(TeguError, LocatedMessageNamesFileLineAndFunction) {
    unsigned line = 0;
    try {
        line = __LINE__ + 1;
        throw makeTeguError(std::runtime_error("plain"), SOURCE_LOCATION_NAMED("Registry::getValue"));
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "tstrings_test.cpp(" + std::to_string(line) + ") at Registry::getValue(): plain");
        const std::runtime_error sliced = e;
        EXPECT_STREQ(sliced.what(), "plain");
    }
}

namespace demo {
struct Widget {
    template <class T>
    static std::string where(T) { return qualifiedFunctionName(__PRETTY_FUNCTION__); }
    const char* const* pointer() const {
        static std::string name = qualifiedFunctionName(__PRETTY_FUNCTION__);
        static const char* p = name.c_str();
        return &p;
    }
};
} // namespace demo

TEST(SourceLocation, QualifiedNamesFromCompilerSignatures) {
    EXPECT_EQ(demo::Widget::where(3), "demo::Widget::where");
    EXPECT_STREQ(*demo::Widget().pointer(), "demo::Widget::pointer");
    EXPECT_EQ(qualifiedFunctionName("int main(int, char**)"), "main");
    EXPECT_EQ(sourceBaseName("a/b\\c/d.cpp"), "d.cpp");
    EXPECT_EQ(sourceBaseName("plain.cpp"), "plain.cpp");
}
