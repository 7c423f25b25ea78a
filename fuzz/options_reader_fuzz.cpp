// Any text reads without a crash or hang; a text escaped with the reader's
// entities reads back unchanged as an element's text and attribute.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "OptionsReader.h"

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\'': out += "&apos;"; break;
        case '"': out += "&quote;"; break;
        default: out += c;
        }
    }
    return out;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        xml::OptionsReader(text).read();
    } catch (const std::exception&) {
    }

    // Leading blanks are skipped before a text token.
    std::string value = text;
    while (!value.empty() && isBlank(value.front())) value.erase(0, 1);
    std::string attribute;
    for (char c : value) {
        if (c != '"') attribute += c;
    }
    const std::string document =
        "<r a=\"" + attribute + "\">" + escaped(value) + "</r>";
    const xml::Node root = xml::OptionsReader(document).read();
    const xml::Node& r = root.children.at(0);
    const std::string* a = r.attribute("a");
    if (r.name != "r" || !a || *a != attribute) abort();
    if (value.empty() ? !r.children.empty() : (r.children.size() != 1 || r.children[0].name != value)) {
        abort();
    }
    return 0;
}
