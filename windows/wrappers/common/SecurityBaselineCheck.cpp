#include "SecurityBaselineCheck.h"

#include <exception>

#include "CalyxEnvironment.h"
#include "DeployLibLoader.h"
#include "Log.h"
#include "ProductType.h"
#include "SysInfo.h"

void TurnOffSecurityBaselineCheck(const std::string& calyxHome) {
    LOG_TRACE_FUNCTION();
    try {
        DeployLibLoader(calyxHome).turnOffSecurityBaselineCheck();
    } catch (const std::exception& e) {
        LOG_ERROR("DeployLibLoaderError " << e.what());
    }
}

void TurnOffSecurityBaselineCheck() {
    try {
        const int bits = SysInfo::isNative64BitProcess() ? 64 : 32;
        const std::vector<InstalledCalyx> runtimes = CalyxEnvironment().detectRuntimes(bits);
        if (const InstalledCalyx* runtime = CalyxEnvironment::newest(runtimes, CXR, bits)) {
            TurnOffSecurityBaselineCheck(runtime->homeDir());
        }
    } catch (const std::exception& e) {
        LOG_ERROR("DeployLibLoaderError " << e.what());
    }
}
