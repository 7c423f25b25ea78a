#include "VersionText.h"

std::string versionTextWithoutBuild(const CalyxVersion& version) {
    std::array<int, 6> items;
    for (size_t i = 0; i < items.size(); ++i) items[i] = version.item(i);
    switch (version.tag()) {
    case CalyxVersionDetails::LEGACY: items[4] = -1; break;
    case CalyxVersionDetails::MODERN: items[5] = -1; break;
    default: break;
    }
    return CalyxVersion(items).toString();
}

std::string printableVersion(const CalyxVersion& version) {
    const int tag = version.tag();
    if (tag != CalyxVersionDetails::LEGACY && tag != CalyxVersionDetails::GLINT &&
        tag != CalyxVersionDetails::MODERN) {
        return std::string();
    }
    return version.toString();
}

CalyxVersion leadingItems(const CalyxVersion& version, size_t count) {
    std::array<int, 6> items;
    items.fill(-1);
    for (size_t i = 0; i < count && i < items.size(); ++i) items[i] = version.item(i);
    return CalyxVersion(items);
}
