#include "DetectionFacts.h"

#include "FileUtils.h"
#include "GuidText.h"
#include "InstalledCalyxTracker.h"
#include "MsiDatabase.h"
#include "MsiProduct.h"
#include "SysInfo.h"
#include "ZipFile.h"
#include "tstrings.h"

namespace {

// Properties the service answers for an installed product directly; any
// other is read from the product's cached package.
bool isProductInfo(const std::string& name) {
    return name == "ProductName" || name == "InstallLocation" || name == "ProductIcon" ||
           name == "VersionString" || name == "LocalPackage";
}

class MachineDetectionFacts : public DetectionFacts {
public:
    std::optional<std::string> installedProduct(DWORD index) const override {
        return msi::installedProduct(index);
    }

    std::optional<std::string> relatedProduct(const std::string& upgradeCode,
                                              DWORD index) const override {
        return msi::relatedProduct(upgradeCode, index);
    }

    bool is64BitOs() const override { return SysInfo::is64BitOs(); }

    std::string productProperty(const std::string& productCode,
                                const std::string& name) const override {
        if (isProductInfo(name)) return msi::getProductInfoOrEmpty(productCode, name);
        try {
            return msi::Database(guidFromText(productCode)).getProperty(name);
        } catch (const std::exception&) {
            return std::string();
        }
    }

    std::string packageProperty(const std::string& packagePath,
                                const std::string& name) const override {
        return msi::Database(packagePath).getProperty(name);
    }

    bool keyExists(RegistryView view, const std::string& key) const override {
        return Registry::localMachine(view).keyExists(key);
    }

    std::string registryString(RegistryView view, const std::string& key,
                               const std::string& name) const override {
        const Registry& root = Registry::localMachine(view);
        if (!root.keyExists(key)) return std::string();
        return Registry::open(root, key).getString(name, std::string());
    }

    bool fileExists(const std::string& path) const override {
        return FileUtils::exists(path) && !FileUtils::isDirectory(path);
    }

    std::string zipEntry(const std::string& archivePath, const std::string& entryName,
                         uint64_t maxSize) const override {
        // Service and registry paths are in the ANSI code page, the reader takes UTF-8.
        return ZipFile(tstrings::toUtf8(tstrings::fromACP(archivePath)))
            .extractEntryAsUtf8String(entryName, maxSize);
    }

    Version fileVersion(const std::string& path) const override {
        return FileUtils::getFileVersion(path);
    }
};

} // namespace

const DetectionFacts& DetectionFacts::machine() {
    static const MachineDetectionFacts facts;
    return facts;
}

const TrackerContext& TrackerContext::installerService() {
    static const TrackerContext context{DetectionFacts::machine(), SysInfo::is64BitOs()};
    return context;
}
