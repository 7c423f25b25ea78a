#include "OnlineOptions.h"

#include "OptionsReader.h"
#include "TeguError.h"

namespace {

// The child's text when it fits in capacity characters, else "".
std::string fitting(const xml::Node& element, const char* child, size_t capacity) {
    std::string text = element.childText(child);
    return text.size() <= capacity ? text : std::string();
}

} // namespace

OnlineOptions OnlineOptions::fromDocument(const std::string& text, const std::string& locale) {
    const xml::Node document = xml::OptionsReader(text).read();
    const xml::Node* root = nullptr;
    for (const xml::Node& node : document.children) {
        if (!node.isText) {
            root = &node;
            break;
        }
    }
    if (root == nullptr || root->name != "calyx-update") {
        JP_THROW_MSG("options document: the root element is not calyx-update");
    }
    OnlineOptions options;
    for (const xml::Node& information : root->children) {
        if (information.isText || information.name != "information") continue;
        const std::string* version = information.attribute("version");
        const std::string* lang = information.attribute("xml:lang");
        if (!version || *version != "1.0" || !lang || (*lang != locale && *lang != "en")) continue;
        options.offlineOptions = fitting(information, "offline-options", 2047);
        const std::string postStatus = information.childText("post-status");
        options.postStatusUrl = postStatus != "0" ? fitting(information, "post-status", 255) : "";
        options.countryLookupUrl = fitting(information, "cntry-lookup", 255);
        options.packageUrl = fitting(information, "msi-url", 259);
        if (*lang == locale) break;
    }
    return options;
}
