#include "CalyxProbe.h"

#include <memory>

#include "Bundle.h"
#include "FileUtils.h"
#include "Log.h"
#include "SettingsApi.h"
#include "VersionText.h"
#include "ZipFile.h"
#include "tstrings.h"

namespace {

const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

void checkBits(int bits) {
    if (bits != 32 && bits != 64) JP_THROW_MSG("Unknown bits value: " + std::to_string(bits));
}

RegistryView viewOf(int bits) {
    return bits == 64 ? RegistryView::Bits64 : RegistryView::Bits32;
}

bool isAbsolute(const std::string& path) {
    return (!path.empty() && (path[0] == '\\' || path[0] == '/')) || FileUtils::startsWithDriveRoot(path);
}

// The Implementation-Version of an archive manifest, read as a settings text
// (no validator, no key mapper, stopping at the first malformed line).
std::string implementationVersion(const std::string& manifest) {
    const settings_api& api = settingsApi();
    const std::unique_ptr<settings_impl::Context, void (*)(settings_impl::Context*)> config(
        api.createConfig(), api.destroyConfig);
    int status = api.loadString(config.get(), manifest.c_str(), nullptr, nullptr, true, false);
    const char* value = nullptr;
    if (status == 0) status = api.getString(config.get(), "Implementation-Version", &value);
    if (status != 0) {
        JP_THROW_MSG("No Implementation-Version in the manifest: settings status " +
                     std::to_string(status));
    }
    return value;
}

bool sameFamily(const CalyxVersion& a, const CalyxVersion& b) {
    return a.item(0) == b.item(0) && a.item(1) == b.item(1) && a.item(2) == b.item(2);
}

} // namespace

int CalyxProbe::detectType(const std::string& productCode) const {
    LOG_TRACE("Detect type of " << productCode << " Calyx installation");
    const std::string name = facts_.productProperty(productCode, "ProductName");
    return name.find("Calyx Development Kit") != std::string::npos ? CXS : CXR;
}

int CalyxProbe::detectBits(const std::string& productCode) const {
    LOG_TRACE("Detect arch of " << productCode << " Calyx installation");
    const std::string key = kUninstallKey + productCode;
    const bool in32 = facts_.keyExists(RegistryView::Bits32, key);
    const bool in64 = facts_.is64BitOs() && facts_.keyExists(RegistryView::Bits64, key);
    if (in32 && in64) {
        LOG_WARNING("Registry key [" << key << "] exists in both 32bit and 64bit HKLM registry "
                                        "hives. Use from 64bit hive.");
    }
    if (in64) return 64;
    if (in32) return 32;
    JP_THROW_MSG("Registry key '" + key + "' not found in none of HKLM hives");
}

InstalledCalyx CalyxProbe::getInstalledCalyx(const InstalledProduct& entry) const {
    const std::string homeDir = findHomeDir(entry);
    InstalledProduct product = entry;
    if (product.type == CXR || product.type == CXS) {
        if (product.type == CXR && !homeDir.empty()) {
            product.version = adjustVersion(product, homeDir);
        }
        if (product.version.count() < CalyxVersion::size()) {
            product.version = detectFullVersion(product, homeDir);
        }
    }
    const int mode = product.type == CXR ? detectCxrMode(product) : CALYX_MODE_NONE;
    checkBits(product.bits);
    InstalledCalyx result(product.productCode, product.type, product.bits, product.version,
                          homeDir, mode);
    LOG_TRACE(result.toString());
    return result;
}

std::string CalyxProbe::findHomeDir(const InstalledProduct& entry) const {
    const std::string& code = entry.productCode;
    LOG_TRACE("Find home dir of " << code << " Calyx installation");
    // Installers write the location with a trailing separator; records keep none.
    std::string home =
        FileUtils::stripTrailingSeparators(facts_.productProperty(code, "InstallLocation"));
    if (!home.empty()) return home;
    LOG_WARNING("Unexpected empty value of [InstallLocation] product property of "
                << code << " Calyx installation. Fall back to heuristic home directory detection.");

    LOG_TRACE("Try home directory from [ProductIcon] product property of " << code
                                                                           << " Calyx installation.");
    home = homeDirOf(facts_.productProperty(code, "ProductIcon"), entry.type);
    if (!home.empty()) return home;

    const std::string uninstallKey = kUninstallKey + code;
    for (const char* value : {"DisplayIcon", "Readme"}) {
        LOG_TRACE("Try home directory from [" << value << "] registry value of " << code
                                              << " Calyx installation.");
        home = homeDirOf(facts_.registryString(viewOf(entry.bits), uninstallKey, value),
                         entry.type);
        if (!home.empty()) return home;
    }

    LOG_TRACE("Try home directory from [CalyxHome] registry value of " << code
                                                                       << " Calyx installation.");
    try {
        return FileUtils::stripTrailingSeparators(productKeyValue(entry, "CalyxHome"));
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return std::string();
    }
}

CalyxVersion CalyxProbe::adjustVersion(const InstalledProduct& entry,
                                       const std::string& homeDir) const {
    const std::string archive = FileUtils::joinPath(homeDir, "lib\\rt.cxa");
    if (!facts_.fileExists(archive)) return entry.version;
    try {
        const std::string manifest =
            facts_.zipEntry(archive, "META-INF/MANIFEST.MF", ZipFile::kManifestSizeLimit);
        const CalyxVersion version(implementationVersion(manifest));
        if (version != entry.version) {
            LOG_INFO(" Detected version mapping from " << printableVersion(entry.version) << " to "
                                                       << version.toString() << " in "
                                                       << entry.productCode << " Calyx installation.");
        }
        return version;
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return entry.version;
    }
}

CalyxVersion CalyxProbe::detectFullVersion(const InstalledProduct& entry,
                                           const std::string& homeDir) const {
    LOG_TRACE("Detect full version of " << entry.productCode << " Calyx installation");
    CalyxVersion best = entry.version;
    for (const CalyxVersion& candidate :
         {detectFullVersionFromMsi(entry),
          homeDir.empty() ? entry.version : detectFullVersionFromHomeDir(entry, homeDir)}) {
        if (candidate.count() > best.count()) best = candidate;
    }
    return best;
}

CalyxVersion CalyxProbe::detectFullVersionFromMsi(const InstalledProduct& entry) const {
    LOG_TRACE("detectFullVersionFromMsi(" << entry.productCode << ")");
    try {
        std::string name = "FullVersion";
        std::string value = facts_.productProperty(entry.productCode, name);
        if (value.empty()) {
            name = "CXS_VERSION";
            value = facts_.productProperty(entry.productCode, name);
        }
        if (value.empty()) return entry.version;
        const CalyxVersion version(value);
        if (version.count() <= entry.version.count()) return entry.version;
        // A version found by upgrade code alone has no family to compare.
        if (entry.version.count() > 0 && !sameFamily(version, entry.version)) {
            LOG_WARNING(entry.productCode << ": Given version is ["
                                          << printableVersion(entry.version) << "]; Value of \""
                                          << name << "\" MSI property is [" << value
                                          << "]. Should have the same family.");
        }
        return version;
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return entry.version;
    }
}

CalyxVersion CalyxProbe::detectFullVersionFromHomeDir(const InstalledProduct& entry,
                                                      const std::string& homeDir) const {
    const std::string launcher = FileUtils::joinPath(homeDir, "bin\\calyx.exe");
    try {
        const Version fileVersion = facts_.fileVersion(launcher);
        if (fileVersion.item(0) == entry.version.item(1) &&
            fileVersion.item(1) == entry.version.item(2)) {
            return CalyxVersion(keepItems(entry.version, 4).toString() + "-b" +
                                std::to_string(fileVersion.item(3)));
        }
        LOG_INFO("Given version is [" << printableVersion(entry.version) << "]; "
                                      << "Value of file version extracted from " << launcher
                                      << " is [" << fileVersion.toString()
                                      << "]. Unexpected components in file version.");
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
    return entry.version;
}

int CalyxProbe::detectCxrMode(const InstalledProduct& entry) const {
    LOG_TRACE("Detect mode of " << entry.productCode << " Calyx installation");
    try {
        const std::string mode = productKeyValue(entry, "MSI\\MODE");
        return tstrings::equals(mode, "S", tstrings::IGNORE_CASE) ? CALYX_MODE_STATIC
                                                                  : CALYX_MODE_NORMAL;
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return CALYX_MODE_NORMAL;
    }
}

std::string CalyxProbe::homeDirOf(const std::string& path, int type) const {
    if (!isAbsolute(path) || (type != CXR && type != CXS)) return std::string();
    for (std::string folder = FileUtils::stripTrailingSeparators(path); !folder.empty();
         folder = FileUtils::dirName(folder)) {
        const std::string bin = FileUtils::joinPath(folder, "bin");
        if (facts_.fileExists(FileUtils::joinPath(bin, "calyx.exe")) &&
            (type == CXR || facts_.fileExists(FileUtils::joinPath(bin, "calyxc.exe")))) {
            return folder;
        }
    }
    return std::string();
}

std::string CalyxProbe::productKeyValue(const InstalledProduct& entry,
                                        const std::string& name) const {
    if (entry.type != CXR && entry.type != CXS) {
        JP_THROW_MSG("Unknown Calyx installation type: " + std::to_string(entry.type));
    }
    checkBits(entry.bits);
    const std::string key = Bundle(entry.type, entry.bits, entry.version).registryKey();
    return facts_.registryString(viewOf(entry.bits), key, name);
}
