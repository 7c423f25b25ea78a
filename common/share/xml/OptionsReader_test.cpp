#include "OptionsReader.h"

#include <gtest/gtest.h>

namespace {

// A tree as "name[attr=value](children)" with texts quoted, or the error.
std::string dump(const xml::Node& node) {
    if (node.isText) return "'" + node.name + "'";
    std::string out = node.name;
    for (const auto& a : node.attributes) out += "[" + a.first + "=" + a.second + "]";
    out += "(";
    for (const xml::Node& c : node.children) out += dump(c);
    return out + ")";
}

std::string read(const std::string& text) {
    try {
        return dump(xml::OptionsReader(text).read());
    } catch (const std::exception& e) {
        return std::string("error: ") + e.what();
    }
}

std::string repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

} // namespace

TEST(OptionsReader, TreeTable) {
    struct Case { std::string text, expected; } cases[] = {  // a tree, or an error
        {"<?xml version=\"1.0\"?><!-- c --><r a=\"1\" b=2><x/>t</r>", "(r[a=1][b=2](x()'t'))"},
        {"<r>&quote;&quot;&apos;&nbsp;</r>", "(r('\"&quot;'&nbsp;'))"},
        {"<r a=\"&amp;\"/>", "(r[a=&amp;]())"},
        {"<r><x>1</y>2</r>", "(r(x('1')'2'))"},
        {"<r><!DOCTYPE r [<!ENTITY e \"x\">]>&e;</r>", "(r(']>&e;'))"},
        {"<r", "(r())"}, {"<r a=\"open", "(r[a=open]())"},
        {"<!-- open", "()"},
        {"<r>< x</r>", "error: "}, {"</>", "error: "},
        {repeat("<a>", 64) + repeat("</a>", 64), "(" + repeat("a(", 64) + repeat(")", 65)},
        {repeat("<a>", 65), "error: "},
    };
    for (const Case& c : cases) {
        // Errors are matched by their start, trees whole.
        const std::string got = read(c.text);
        EXPECT_EQ(c.expected, c.expected == "error: " ? got.substr(0, 7) : got) << c.text.substr(0, 40);
    }
}
