#include "Config.h"

#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <mutex>
#include <stdexcept>

#include "Log.h"
#include "RegData.h"
#include "TeguError.h"

namespace au {

namespace {

const char* const kPolicyKey = "SOFTWARE\\Calyxware\\Calyx Update\\Policy";
const char* const kProbePolicyKey = "SOFTWARE\\Calyxware\\Calyx Update\\Policy\\cxprobe";
const char* const kVendorKey = "SOFTWARE\\Calyxware";

DWORD read(Config& config, const char* name) {
    return RegData::named(name).getValue(config);
}

void write(Config& config, const char* name, int32_t value) {
    RegData::named(name).setValue(config, static_cast<DWORD>(value));
}

} // namespace

Schedule Schedule::fromDraws(int r1, int r2, int r3, int r4) {
    Schedule schedule;
    schedule.frequency = (1 << (r1 % 7)) | ((1 << (r2 % 7)) << 8);
    schedule.hour = r3 % 24;
    schedule.minute = r4 % 60;
    return schedule;
}

Schedule Schedule::fresh() {
    static std::once_flag seeded;
    std::call_once(seeded, [] {
        srand(static_cast<unsigned>(GetTickCount()) ^ (static_cast<unsigned>(GetCurrentProcessId()) << 16) ^
              static_cast<unsigned>(time(nullptr)));
    });
    const int r1 = rand();
    const int r2 = rand();
    const int r3 = rand();
    const int r4 = rand();
    return fromDraws(r1, r2, r3, r4);
}

Config::Config(bool mode)
    : Config(mode, Registry::localMachine(RegistryView::Bits32),
             Registry::currentUser(RegistryView::Bits32)) {}

Config::Config(bool mode, const Registry& machine, const Registry& user)
    : mode_(mode), machine_(machine), user_(user) {}

Config::~Config() {}

const Registry& Config::key(int location, Registry::Mode access) {
    const auto slot = std::make_pair(location, access);
    const auto found = keys_.find(slot);
    if (found != keys_.end()) return found->second;
    const Registry* root = &machine_;
    const char* path = nullptr;
    switch (location) {
    case 0:
        path = kPolicyKey;
        break;
    case 1:
        path = kProbePolicyKey;
        break;
    case 2:
        root = &user_;
        path = kPolicyKey;
        break;
    case 3:
        path = kVendorKey;
        break;
    default:
        JP_THROW_MSG("unknown reg location");
    }
    return keys_.emplace(slot, Registry::open(*root, path, access)).first->second;
}

Schedule Config::readSchedule() {
    Schedule schedule;
    schedule.frequency = static_cast<int32_t>(read(*this, "Frequency"));
    schedule.hour = static_cast<int32_t>(read(*this, "UpdateSchedule"));
    schedule.minute = static_cast<int32_t>(read(*this, "UpdateMin"));
    return schedule;
}

Schedule Config::getSchedule(bool& kept) {
    try {
        return readSchedule();
    } catch (const std::exception& e) {
        LOG_ERROR("getSchedule failed: " << reasonOf(e) << ", rescheduling");
    }
    const Schedule schedule = Schedule::fresh();
    try {
        writeSchedule(schedule);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        kept = false;
    }
    return schedule;
}

void Config::writeSchedule(const Schedule& schedule) {
    write(*this, "Frequency", schedule.frequency);
    write(*this, "UpdateSchedule", schedule.hour);
    write(*this, "UpdateMin", schedule.minute);
}

int Config::getNotifyType() {
    try {
        const bool download = read(*this, "NotifyDownload") != 0;
        const bool install = read(*this, "NotifyInstall") != 0;
        if (download == install) JP_THROW_MSG("inconsistent data");
        return install ? 1 : 0;
    } catch (const std::exception& e) {
        LOG_ERROR("getNotifyType failed: " << reasonOf(e) << ", reset to default");
    }
    try {
        setNotifyType(0);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
    return 0;
}

void Config::setNotifyType(int type) {
    if (type != 0 && type != 1) {
        LOG_ERROR("setNotifyType: unknown value: " << type);
        JP_THROW_MSG("unknown notifyType");
    }
    write(*this, "NotifyDownload", type == 0 ? 1 : 0);
    write(*this, "NotifyInstall", type == 1 ? 1 : 0);
}

} // namespace au
