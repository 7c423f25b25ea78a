#include "AuMsi.h"

#include <stdexcept>

#include "BuildInfo.h"
#include "CalyxEnvironment.h"
#include "Config.h"
#include "FileUtils.h"
#include "GuidText.h"
#include "Log.h"
#include "MsiDatabase.h"
#include "MsiUtils.h"
#include "ProductType.h"
#include "Registry.h"
#include "SysInfo.h"

namespace au {

const char* const kAgentProductCode = "{7C51D2E8-93B4-4F6A-A1C0-5E2D9B7F3A64}";

namespace {

const GUID& agentProductCode() {
    static const GUID code = guidFromText(kAgentProductCode);
    return code;
}

std::string agentFolder() {
    return FileUtils::joinPath(SysInfo::getCommonProgramFilesDir(), "Calyx\\Calyx Update");
}

// Empty when the service knows no agent; that is the common case.
std::string registeredVersion() {
    try {
        return ::msi::Database(agentProductCode()).getProperty("ProductVersion");
    } catch (const std::exception& e) {
        LOG_TRACE("No agent package registered: " << e.what());
        return std::string();
    }
}

InstalledState initState(const std::string& text) {
    InstalledState state;
    try {
        state.version = Version(text);
        state.versionText = text;
        state.status = InstalledState::Whole;
        const std::string folder = agentFolder();
        for (const char* program : {"cxprobe.exe", "cxtimer.exe", "cxenrol.exe"}) {
            const std::string path = FileUtils::joinPath(folder, program);
            if (!FileUtils::exists(path)) {
                LOG_WARNING("Expected AU executable " << path << " not found.");
                state.status = InstalledState::Incomplete;
                break;
            }
        }
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("au::`anonymous-namespace'::initState"), e);
        return InstalledState();
    }
    return state;
}

// The newest runtime of either architecture; false when there is none.
bool newestRuntime(CalyxVersion& version) {
    const CalyxEnvironment environment;
    const std::vector<InstalledCalyx> runtimes = environment.detect(
        CalyxEnvironment::FILTER_CXR | CalyxEnvironment::FILTER_32BIT | CalyxEnvironment::FILTER_64BIT);
    bool found = false;
    for (int bits : {32, 64}) {
        const InstalledCalyx* newest = CalyxEnvironment::newest(runtimes, CXR, bits);
        if (newest && (!found || newest->fullVersion() > version)) {
            version = newest->fullVersion();
            found = true;
        }
    }
    return found;
}

} // namespace

InstalledState InstalledState::detect() {
    try {
        std::string text = registeredVersion();
        if (!text.empty()) {
            LOG_INFO("Found AU version in MSI: <" << text << ">");
        } else {
            try {
                text = Registry::open(Registry::localMachine(RegistryView::Bits32),
                                      "SOFTWARE\\Calyxware\\Auto Update")
                           .getString("AUVersion");
            } catch (const std::exception& e) {
                LOG_INFO("No Old AU Version found");
                LOG_TRACE(e.what());
                return InstalledState();
            }
            LOG_INFO("Found AU version in Registry: <" << text << ">");
        }
        return initState(text);
    } catch (const std::exception& e) {
        LOG_WARNING("Error initializing AU state");
        LOG_TRACE(e.what());
        return InstalledState();
    }
}

InstallPlan planInstall(const InstalledState& installed, const Version& carried) {
    InstallPlan plan;
    if (installed.status == InstalledState::Whole && installed.version >= carried) {
        plan.refuse = true;
        return plan;
    }
    plan.keepSettings = installed.status == InstalledState::Whole;
    plan.protectedSettings = plan.keepSettings && installed.version >= Version(2, 8, 0, 0);
    plan.removeFirst = installed.status != InstalledState::None;
    return plan;
}

bool shouldRemove(const InstalledState& installed, bool force, const CalyxVersion* newestRuntime) {
    if (installed.status == InstalledState::None || installed.version.item(0) <= 1) return false;
    return force || !newestRuntime || *newestRuntime > CalyxVersion("1.6.0_18");
}

namespace msi {

int install(const InstallRequest& request) {
    try {
        const InstalledState installed = InstalledState::detect();
        const Version carried(CX_AGENT_VERSION);
        const InstallPlan plan = planInstall(installed, carried);
        if (plan.refuse) {
            LOG_INFO("AU is not upgradeable - Installed version (" << installed.versionText << ")"
                     << " >= the bundled version (" << carried.text() << ").");
            return -2;
        }
        int notifyType = 0;
        bool scheduleKept = false;
        Schedule schedule;
        if (plan.keepSettings) {
            Config config(plan.protectedSettings);
            scheduleKept = true;
            schedule = config.getSchedule(scheduleKept);
            if (!scheduleKept) LOG_WARNING("Failed to get existing AU schedule setting.");
            notifyType = config.getNotifyType();
        }
        if (plan.removeFirst) uninstall(true);

        ::msi::InstallData data;
        data.packagePath = request.packagePath;
        if (request.oemUpdate) data.properties["OEMUPDATE"] = "1";
        if (!request.autoUpdateEnabled) {
            LOG_INFO("Auto Update is disabled via configuration settings");
            data.properties["DISABLE"] = "1";
        } else {
            LOG_INFO("Auto Update is enabled");
        }
        ::msi::install(data);

        Config config(true);
        if (scheduleKept) config.writeSchedule(schedule);
        config.setNotifyType(notifyType);
        return 0;
    } catch (const ::msi::Error& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("au::msi::install::operator ()"), e);
        return e.getStatus() != 0 ? static_cast<int>(e.getStatus()) : -1;
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("au::msi::install::operator ()"), e);
        return -1;
    }
}

void uninstall(bool force) {
    try {
        const InstalledState installed = InstalledState::detect();
        CalyxVersion runtime;
        const bool haveRuntime = !force && installed.status != InstalledState::None && newestRuntime(runtime);
        if (!shouldRemove(installed, force, haveRuntime ? &runtime : nullptr)) return;
        ::msi::UninstallData data;
        data.productCode = agentProductCode();
        ::msi::uninstall(data);
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("au::msi::uninstall::operator ()"), e);
    }
}

} // namespace msi

} // namespace au
