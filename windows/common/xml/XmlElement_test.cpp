#include "XmlElement.h"

#include <gmock/gmock.h>

#include "ComInitializer.h"

using ::testing::HasSubstr;

namespace {

const std::string kBaselines =
    "<?xml version=\"1.0\"?>\n<cxrVersions>\n"
    " <family id=\"1.8.0\" default=\"true\"><baselineVersion>1.8.0_441</baselineVersion>"
    "<latestVersion>1.8.0_451</latestVersion>"
    "<ranges><range><minVersion>1.8.0_1</minVersion><maxVersion>1.8.0_99</maxVersion></range>"
    "<range><minVersion>1.8.0_100</minVersion></range></ranges></family>\n"
    " <family id=\"1.7.0\"><baselineVersion>1.7.0_401</baselineVersion></family>\n"
    "</cxrVersions>\n";

// The selected elements' texts (and "@" + any "id" attribute) joined by "|",
// or the error's message.
std::string select(const std::string& document, const std::string& xpath) {
    try {
        std::string joined;
        for (const xml::Element& e : xml::Element::load(document).selectElements(xpath)) {
            joined += (joined.empty() ? "" : "|") + e.text() + (e.attribute("id").empty() ? "" : "@" + e.attribute("id"));
        }
        return joined;
    } catch (const std::exception& e) {
        return e.what();
    }
}

} // namespace

TEST(XmlElement, DocumentXPathTable) {
    ComInitializer com;
    const std::string laughs =
        "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;\">]><l>&b;</l>";
    struct Case {
        std::string document;
        std::string xpath;
        std::string expected;
    } cases[] = {
        {kBaselines, "/cxrVersions/family/baselineVersion", "1.8.0_441|1.7.0_401"},
        {kBaselines, "/cxrVersions/family[@default]/latestVersion", "1.8.0_451"},
        {kBaselines, "/cxrVersions/family/ranges/range/minVersion", "1.8.0_1|1.8.0_100"},
        {kBaselines, "/cxrVersions/family[@id='1.7.0']/latestVersion", ""},
        {kBaselines, "/cxrVersions/family[2]", "1.7.0_401@1.7.0"},
        {kBaselines, "///", "selectElements(///) failed"},
        {"<cxrVersions><family>", "/a", "xml parse error at line "},
        {laughs, "/l", "xml document type definitions are not accepted"},
        {"<l><!eNtItY x></l>", "/l", "xml parse error at line "},
        {std::string("<l>a\0b</l>", 10), "/l", "xml parse error at line "},
        {"", "/l", "Invalid argument"},
    };
    for (const Case& c : cases) {
        const std::string got = select(c.document, c.xpath);
        // Errors (texts with blanks) are matched by their words, selections whole.
        typedef ::testing::Matcher<std::string> M;
        EXPECT_THAT(got, c.expected.find(' ') == std::string::npos ? M(::testing::Eq(c.expected))
                                                                    : M(HasSubstr(c.expected)))
            << c.xpath;
    }
}

// The parser reads each encoding, so a definition is refused in all of them.
TEST(XmlElement, DefinitionsAreRefusedInEveryEncoding) {
    ComInitializer com;
    const std::string body = "<!DOCTYPE l [<!ENTITY a \"x\">]><l>&a;</l>";
    const auto utf16 = [](const std::string& text, bool bigEndian, bool bom) {
        std::string bytes = bom ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
        for (const char c : "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + text) {
            bytes += bigEndian ? std::string(1, '\0') + c : std::string(1, c) + '\0';
        }
        return bytes;
    };
    const std::string documents[] = {
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + body,
        utf16(body, false, true), utf16(body, true, true), utf16(body, false, false), utf16(body, true, false),
        "<?xml version=\"1.0\" encoding=\"UTF-7\"?>"
        "+ADwAIQBEAE8AQwBUAFkAUABFACAAbAAgAFsAPAAhAEUATgBUAEkAVABZACAAYQAgACIAeAAiAD4AXQA+ADwAbAA+ACYAYQA7ADwALwBsAD4-",
    };
    for (const std::string& document : documents) {
        EXPECT_THROW(xml::Element::load(document), std::exception) << select(document, "/l");
    }
    EXPECT_EQ("x", select(utf16("<l>x</l>", false, true), "/l"));
}
