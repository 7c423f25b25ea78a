#include "PackageEmbedder.h"

#include "SummaryInfo.h"
#include "TeguError.h"

namespace embedding {

cfb::Storage embed(cfb::Storage package, const std::vector<Transform>& transforms) {
    const cfb::Entry* summary = package.find(suminfo::streamName());
    if (!summary) JP_THROW_MSG("the package has no summary information");
    suminfo::Properties info = suminfo::parse(summary->data);
    const std::string oldTemplate = suminfo::textOf(info, suminfo::kTemplate);
    const std::size_t semicolon = oldTemplate.find(';');
    if (semicolon == std::string::npos) JP_THROW_MSG("summary template without languages: " + oldTemplate);
    const std::string ownLanguage = oldTemplate.substr(semicolon + 1, oldTemplate.find(',', semicolon) - semicolon - 1);
    std::string languages = ownLanguage;
    for (const Transform& t : transforms) {
        const std::string name = std::to_string(t.langId);
        if (name == ownLanguage) JP_THROW_MSG("a transform for the package's own language " + name);
        languages += "," + name;
        const cfb::Name entryName = cfb::toName(name);
        cfb::Entry* existing = package.find(entryName);
        if (existing) {
            existing->isStorage = true;
            existing->data.clear();
            existing->storage = t.storage;
        } else {
            package.children.push_back({entryName, true, {}, t.storage});
        }
    }
    info[suminfo::kTemplate] = suminfo::text(oldTemplate.substr(0, semicolon + 1) + languages);
    // Found again: adding entries may have moved the stream's entry.
    package.find(suminfo::streamName())->data = suminfo::serialise(info);
    return package;
}

} // namespace embedding
