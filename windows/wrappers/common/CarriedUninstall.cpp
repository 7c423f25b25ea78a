#include "CarriedUninstall.h"

#include "GuidText.h"
#include "Log.h"
#include "MsiError.h"
#include "MsiUtils.h"
#include "ServiceBusyWait.h"

int UninstallCarriedBuild(const std::string& productCode) {
    msi::UninstallData request;
    request.productCode = guidFromText(productCode);
    try {
        ServiceBusyWait::forRun(true).run([&request] { msi::uninstall(request); });
        LOG_INFO("Removed " << productCode);
        return 0;
    } catch (const msi::Error& e) {
        if (e.getStatus() == ERROR_UNKNOWN_PRODUCT) {
            LOG_INFO(productCode << " is not installed; nothing to remove");
            return 0;
        }
        REPORT_CAUGHT(e);
        return static_cast<int>(e.getStatus());
    }
}
