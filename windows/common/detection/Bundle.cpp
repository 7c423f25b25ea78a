#include "Bundle.h"

#include <algorithm>

#include "TeguError.h"

namespace {

const char* const kRuntimeKey = "Software\\Calyxware\\Calyx Runtime Environment";
const char* const kDevelopmentKitKey = "Software\\Calyxware\\Calyx Development Kit";

std::string getRootKey(const Bundle& bundle) {
    if (bundle.bits() != 32 && bundle.bits() != 64) {
        JP_THROW_NAMED(std::runtime_error("Unexpected bundle arch: " +
                                          std::to_string(bundle.bits())),
                       "`anonymous-namespace'::getRootKey");
    }
    switch (bundle.type()) {
    case CXR: return kRuntimeKey;
    case CXS: return kDevelopmentKitKey;
    default: bundle.throwUnexpectedType();
    }
}

// An update number that is absent counts as none.
int updateOf(const CalyxVersion& version) {
    return std::max(version.item(3), 0);
}

std::string withUpdate(const std::string& name, int update) {
    return update >= 1 ? name + " Update " + std::to_string(update) : name;
}

std::string legacyRuntimeName(const CalyxVersion& version) {
    const int minor = version.item(1);
    const int micro = version.item(2);
    const int update = updateOf(version);
    if (minor <= 4) return "Calyx 2 Runtime Environment, SE v" + withoutBuild(version).toString();
    std::string name;
    if (minor == 5) {
        name = "CalyxPrime Runtime Environment 5.0";
    } else if (minor == 6) {
        name = (micro == 0 && update <= 1) ? "Calyx(TM) Runtime Environment 6" : "Calyx(TM) 6";
    } else if (minor == 7) {
        name = (micro == 0 && update < 6) ? "Calyx(TM) 7" : "Calyx 7";
    } else {
        name = "Calyx " + std::to_string(minor);
    }
    return withUpdate(name, update);
}

std::string runtimeName(const CalyxVersion& version) {
    switch (version.tag()) {
    case CalyxVersionDetails::LEGACY: return legacyRuntimeName(version);
    case CalyxVersionDetails::MODERN: return "Calyx " + std::to_string(version.item(1));
    default: CalyxVersion::throwUnrecognizedVersionType();
    }
}

std::string developmentKitName(const CalyxVersion& version) {
    switch (version.tag()) {
    case CalyxVersionDetails::LEGACY:
        return withUpdate("Calyx Development Kit " + std::to_string(version.item(1)),
                          updateOf(version));
    case CalyxVersionDetails::MODERN:
        return "Calyx Development Kit " + std::to_string(version.item(1));
    default: CalyxVersion::throwUnrecognizedVersionType();
    }
}

std::string glintName(const CalyxVersion& version) {
    if (version.tag() == CalyxVersionDetails::GLINT && version.item(1) == 0 &&
        version.item(2) == 0) {
        return "Glint 2.0";
    }
    return "Glint " + version.toString();
}

} // namespace

std::string Bundle::registryKey() const {
    return getRootKey(*this) + "\\" + withoutBuild(version_).toString();
}

std::string Bundle::displayName() const {
    std::string name;
    switch (type_) {
    case CXR: name = runtimeName(version_); break;
    case CXS: name = developmentKitName(version_); break;
    case GLINT: name = glintName(version_); break;
    default: throwUnexpectedType();
    }
    return bits_ == 64 ? name + " (64-bit)" : name;
}

std::string Bundle::toString() const {
    return "Bundle(type=" + std::to_string(type_) + ", bits=" + std::to_string(bits_) +
           ", version=" + printableVersion(version_) + ")";
}

void Bundle::throwUnexpectedType() const {
    JP_THROW_NAMED(std::runtime_error("Unexpected type " + std::to_string(type_) + " of " +
                                      toString()),
                   "Bundle::throwUnexpectedType");
}
