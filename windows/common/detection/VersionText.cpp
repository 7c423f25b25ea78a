#include "VersionText.h"

CalyxVersion keepItems(const CalyxVersion& version, size_t keep) {
    std::array<int, 6> items;
    for (size_t i = 0; i < items.size(); ++i) {
        items[i] = i < keep ? version.item(i) : -1;
    }
    return CalyxVersion(items);
}

CalyxVersion withoutBuild(const CalyxVersion& version) {
    return keepItems(version, version.tag() == CalyxVersionDetails::MODERN ? 5 : 4);
}

std::string printableVersion(const CalyxVersion& version) {
    const int tag = version.tag();
    if (tag != CalyxVersionDetails::LEGACY && tag != CalyxVersionDetails::GLINT &&
        tag != CalyxVersionDetails::MODERN) {
        return std::string();
    }
    return version.toString();
}
