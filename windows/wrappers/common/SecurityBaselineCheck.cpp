#include "SecurityBaselineCheck.h"

#include <exception>

#include "DeployLibLoader.h"
#include "Log.h"

void TurnOffSecurityBaselineCheck(const std::string& calyxHome) {
    LOG_TRACE_FUNCTION();
    try {
        DeployLibLoader(calyxHome).turnOffSecurityBaselineCheck();
    } catch (const std::exception& e) {
        LOG_ERROR("DeployLibLoaderError " << e.what());
    }
}
