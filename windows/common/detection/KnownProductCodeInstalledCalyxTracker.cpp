#include "KnownProductCodeInstalledCalyxTracker.h"

#include "Log.h"
#include "MsiError.h"
#include "VersionText.h"

std::optional<ProductCodeMatch> KnownProductCodeInstalledCalyxTracker::match(
    const std::string& productCode) {
    try {
        return matchProductCodeTemplates(productCode);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return std::nullopt;
    }
}

const InstalledProduct* KnownProductCodeInstalledCalyxTracker::next() {
    for (;;) {
        std::optional<std::string> code;
        try {
            code = products_.installedProduct(index_);
        } catch (const msi::Error& e) {
            JP_THROW_MSG("MsiEnumProducts(" + std::to_string(index_) + ") failed with error=[" +
                         std::to_string(e.getStatus()) + "]");
        }
        if (!code) return nullptr;
        ++index_;

        const auto found = match(*code);
        if (!found) continue;
        CalyxVersion version;
        if (found->entry->type != GLINT) {
            // A code whose digits spell no version is not a Calyx product
            // after all; it must not end the walk for the others.
            try {
                version = keepItems(CalyxVersion(found->versionText), 4);
            } catch (const std::exception& e) {
                REPORT_CAUGHT(e);
                continue;
            }
        }
        current_ = InstalledProduct{*code, found->entry->type, found->entry->bits, version};
        return &current_;
    }
}
