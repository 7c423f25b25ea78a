#include "ServiceBusyWait.h"

#include <algorithm>

#include "BuildInfo.h"
#include "Log.h"

ServiceBusyWait::ServiceBusyWait(unsigned boundMs, unsigned pollMs, Sleeper sleep)
    : boundMs_(boundMs), pollMs_(std::max(pollMs, 1u)), sleep_(std::move(sleep)) {}

ServiceBusyWait ServiceBusyWait::forRun(bool silent, Sleeper sleep) {
    return ServiceBusyWait(silent ? CX_BUSY_SERVICE_WAIT_SECONDS * 1000u : 0u, POLL_MS,
                           std::move(sleep));
}

void ServiceBusyWait::install(const msi::InstallData& request, const Install& install) const {
    run([&] { install(request); });
}

void ServiceBusyWait::run(const std::function<void()>& call) const {
    unsigned waited = 0;
    for (;;) {
        try {
            call();
            return;
        } catch (const msi::Error& e) {
            if (e.getStatus() != ERROR_INSTALL_ALREADY_RUNNING || boundMs_ == 0) throw;
            if (waited >= boundMs_) {
                LOG_ERROR("The installer service is still busy with another installation after "
                          << waited / 1000.0 << " s; giving up");
                throw;
            }
            const unsigned pause = std::min(pollMs_, boundMs_ - waited);
            LOG_INFO("The installer service is busy with another installation; trying again in "
                     << pause / 1000.0 << " s (waited " << waited / 1000.0 << " s of "
                     << boundMs_ / 1000.0 << " s)");
            sleep_(pause);
            waited += pause;
        }
    }
}

void ServiceBusyWait::sleepMilliseconds(unsigned milliseconds) {
    Sleep(milliseconds);
}
