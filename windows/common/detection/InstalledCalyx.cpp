#include "InstalledCalyx.h"

#include "GuidText.h"
#include "Log.h"
#include "VersionText.h"

void Uninstaller::uninstall(const msi::UninstallData& request) const {
    msi::uninstall(request);
}

InstalledCalyx::InstalledCalyx(const std::string& productCode, int type, int bits,
                               const CalyxVersion& fullVersion, const std::string& homeDir,
                               int mode, std::shared_ptr<const ProductUninstaller> uninstaller)
    : productGuid_(guidFromText(productCode)),
      type_(type),
      bits_(bits),
      fullVersion_(fullVersion),
      homeDir_(homeDir),
      mode_(mode),
      uninstaller_(std::move(uninstaller)) {
    productCode_ = guidToText(productGuid_);
}

bool InstalledCalyx::uninstall(msi::UninstallData& request) const {
    request.productCode = productGuid_;
    try {
        uninstaller_->uninstall(request);
        return true;
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("InstalledCalyx::uninstall"), e);
    } catch (...) {
        reportCaughtException(SOURCE_LOCATION_NAMED("InstalledCalyx::uninstall"));
    }
    return false;
}

std::string InstalledCalyx::toString() const {
    const bool complete = fullVersion_.count() == CalyxVersion::size();
    return "InstalledCalyx(" + printableVersion(fullVersion_) + "|" +
           (complete ? fullVersion_.toString() : std::string("Full version unknown")) + "|" +
           productTypeName(type_) + "|" + std::to_string(bits_) + "bit|" + homeDir_ + "|" +
           productCode_ + "|" + std::to_string(mode_) + ")";
}
