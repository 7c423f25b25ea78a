// Any text reads without a crash or hang; escaped with the reader's entities it reads
// back unchanged as an element's text, and without double quotes as an attribute.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "OptionsReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        xml::OptionsReader(text).read();
    } catch (const std::exception&) {
    }
    // Leading blanks are skipped before a text.
    const std::string value = text.substr(std::min(text.find_first_not_of(" \t\r\n"), text.size()));
    std::string escaped, attribute;
    for (char c : value) {
        const char* entity = c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;"
                           : c == '\'' ? "&apos;" : c == '"' ? "&quote;" : nullptr;
        escaped += entity ? std::string(entity) : std::string(1, c);
        if (c != '"') attribute += c;
    }
    const xml::Node document = xml::OptionsReader("<r a=\"" + attribute + "\">" + escaped + "</r>").read();
    const xml::Node& r = document.children.at(0);
    const std::string* a = r.attribute("a");
    const bool textOk = value.empty() ? r.children.empty()
                                      : r.children.size() == 1 && r.children[0].name == value;
    if (r.name != "r" || !a || *a != attribute || !textOk) abort();
    return 0;
}
