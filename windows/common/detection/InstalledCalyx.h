#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "CalyxVersion.h"
#include "MsiUtils.h"
#include "ProductType.h"

enum CalyxMode {
    CALYX_MODE_NONE = -10,    // not a runtime
    CALYX_MODE_NORMAL = 10,
    CALYX_MODE_STATIC = 20,   // a static runtime, kept beside newer ones
};

// Removes an installed product.
class ProductUninstaller {
public:
    virtual ~ProductUninstaller() {}
    // Raises when the product could not be removed.
    virtual void uninstall(const msi::UninstallData& request) const = 0;
};

// Removes through the installer service (msi::uninstall).
class Uninstaller : public ProductUninstaller {
public:
    void uninstall(const msi::UninstallData& request) const override;
};

// One detected Calyx product.
class InstalledCalyx {
public:
    // productCode is a GUID text; raises std::invalid_argument otherwise.
    InstalledCalyx(const std::string& productCode, int type, int bits,
                   const CalyxVersion& fullVersion, const std::string& homeDir, int mode,
                   std::shared_ptr<const ProductUninstaller> uninstaller =
                       std::make_shared<Uninstaller>());

    // Braced upper-case GUID text.
    const std::string& productCode() const { return productCode_; }
    const GUID& productGuid() const { return productGuid_; }
    int type() const { return type_; }
    int bits() const { return bits_; }
    // Fewer set items mean the version is only partly known.
    const CalyxVersion& fullVersion() const { return fullVersion_; }
    // No trailing separator; empty when unknown.
    const std::string& homeDir() const { return homeDir_; }
    int mode() const { return mode_; }

    // Removes the product with the caller's request (its properties and
    // callback), after writing this product's code into it. False when the
    // removal failed; the failure is logged.
    bool uninstall(msi::UninstallData& request) const;

    // "InstalledCalyx(1.8.0_451-b10|Full version unknown|CXR|64bit|C:\...|{...}|20)"
    std::string toString() const;

private:
    std::string productCode_;
    GUID productGuid_;
    int type_;
    int bits_;
    CalyxVersion fullVersion_;
    std::string homeDir_;
    int mode_;
    std::shared_ptr<const ProductUninstaller> uninstaller_;
};
