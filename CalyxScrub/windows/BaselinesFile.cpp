#include "BaselinesFile.h"

#include "ComInitializer.h"
#include "HttpConnection.h"
#include "NetUtils.h"
#include "XmlElement.h"

namespace cxscrub {

std::string downloadBaselinesFile(const std::string& overrideUrl) {
    HttpConnection::Settings settings;
    settings.url = overrideUrl.empty()
                       ? "https://" + NetUtils::vendorHost("www") + "/applet/calyxLatestVersion.xml"
                       : overrideUrl;
    settings.agent = "CalyxScrub";
    // A redirect could take a plain request off the loopback host.
    settings.allowHttp = !overrideUrl.empty() && NetUtils::isLoopbackUrl(overrideUrl);
    settings.followRedirects = !settings.allowHttp;
    const std::vector<char> body = HttpConnection::connect(settings).saveToBuffer();
    return std::string(body.begin(), body.end());
}

SecurityBaselines parseBaselinesFile(const std::string& text) {
    std::vector<BaselineFamilyEntry> entries;
    {
        ComInitializer com;
        const xml::Element document = xml::Element::load(text);
        const auto textOf = [](const xml::Element& parent, const char* path) {
            const std::optional<xml::Element> found = parent.selectElementIfExist(path);
            return found ? found->text() : std::string();
        };
        for (const xml::Element& family : document.selectElements("/cxrVersions/family")) {
            BaselineFamilyEntry entry;
            entry.id = family.attribute("id");
            entry.isDefault = family.selectElementIfExist("@default").has_value();
            entry.baseline = textOf(family, "baselineVersion");
            entry.latest = textOf(family, "latestVersion");
            for (const xml::Element& range : family.selectElements("ranges/range")) {
                entry.ranges.push_back({textOf(range, "minVersion"), textOf(range, "maxVersion")});
            }
            entries.push_back(entry);
        }
    }
    return SecurityBaselines(entries);
}

} // namespace cxscrub
