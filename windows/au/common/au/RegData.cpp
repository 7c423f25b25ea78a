#include "RegData.h"

#include <cstring>
#include <stdexcept>

#include "Config.h"
#include "DataProtection.h"
#include "Registry.h"
#include "TeguError.h"

namespace au {

namespace {

const std::array<RegData, 20> kPolicyValues = {{
    {"EnableAutoUpdateCheck", 2, RegData::UserProtected},
    {"ITCONFIG", 0, RegData::Plain},
    {"EnableCalyxUpdate", 0, RegData::Plain},
    {"OEMUPDATE", 3, RegData::Plain},
    {"Frequency", 1, RegData::MachineProtected},
    {"UpdateSchedule", 1, RegData::MachineProtected},
    {"UpdateMin", 1, RegData::MachineProtected},
    {"ScheduleId", 1, RegData::Text},
    {"NotifyDownload", 1, RegData::Plain},
    {"NotifyInstall", 1, RegData::Plain},
    {"LastUpdateBeginTime", 1, RegData::Text},
    {"LastUpdateFinishTime", 1, RegData::Text},
    {"LastUDCheckTime", 1, RegData::Text},
    {"OEMDelay", 0, RegData::Plain},
    {"OOBD", 2, RegData::UserProtected},
    {"StartupDelay", 0, RegData::Plain},
    {"SDVC", 2, RegData::UserProtected},
    {"UpdateServletURL", 0, RegData::Text},
    {"ManualUpdateServletURL", 0, RegData::Text},
    {"BalloonVisible", 1, RegData::Plain},
}};

std::vector<uint8_t> bytesOf(DWORD value) {
    std::vector<uint8_t> bytes(sizeof(value));
    std::memcpy(bytes.data(), &value, sizeof(value));
    return bytes;
}

DWORD valueOf(const std::vector<uint8_t>& bytes) {
    if (bytes.size() != sizeof(DWORD)) JP_THROW_MSG("decrypted data has wrong size");
    DWORD value = 0;
    std::memcpy(&value, bytes.data(), sizeof(value));
    return value;
}

} // namespace

std::string reasonOf(const std::exception& e) {
    if (const auto* plain = dynamic_cast<const std::runtime_error*>(&e)) {
        return std::runtime_error(*plain).what();
    }
    return e.what();
}

DWORD RegData::getValue(Config& config) const {
    try {
        const Registry& key = config.key(location(config.mode()), Registry::Mode::Read);
        switch (protection(config.mode())) {
        case Plain:
            return key.getDword(name_);
        case UserProtected:
            return valueOf(unprotectBytes(key.getBinary(name_)));
        case MachineProtected:
            return valueOf(unprotectBytes(stringToBinary(key.getString(name_))));
        default:
            JP_THROW_MSG("unknown encryptionType");
        }
    } catch (const std::exception& e) {
        JP_THROW_MSG("getValue(DWORD) failed: " + reasonOf(e));
    }
}

void RegData::setValue(Config& config, DWORD value) const {
    try {
        const Registry& key = config.key(location(config.mode()), Registry::Mode::Write);
        switch (protection(config.mode())) {
        case Plain:
            key.setDword(name_, value);
            break;
        case UserProtected:
            key.setBinary(name_, protectBytes(bytesOf(value), false));
            break;
        case MachineProtected:
            key.setString(name_, binaryToString(protectBytes(bytesOf(value), true)));
            break;
        default:
            JP_THROW_MSG("unknown encryptionType");
        }
    } catch (const std::exception& e) {
        JP_THROW_MSG("setValue(DWORD) failed: " + reasonOf(e));
    }
}

const std::array<RegData, 20>& RegData::all() {
    return kPolicyValues;
}

const RegData& RegData::named(const std::string& name) {
    for (const RegData& value : kPolicyValues) {
        if (name == value.name_) return value;
    }
    JP_THROW(std::invalid_argument("unknown policy value " + name));
}

} // namespace au
