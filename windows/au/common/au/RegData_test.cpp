#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Config.h"
#include "DataProtection.h"
#include "RegData.h"
#include "RegistryTestKey.h"

using testing::HasSubstr;

TEST(AuRegData, NumbersRoundTripInTheirStoredForm) {
    RegistryTestKey root(Registry::currentUser());
    au::Config config(true, root.key(), root.key());
    DWORD value = 0x80000001;
    for (const au::RegData& data : au::RegData::all()) {
        if (data.protection(true) == au::RegData::Text) continue;
        data.setValue(config, value);
        EXPECT_EQ(data.getValue(config), value) << data.name();
        DWORD type = 0;
        ASSERT_TRUE(config.key(data.location(true), Registry::Mode::Read).valueExists(data.name(), &type));
        const DWORD expectedType[] = {REG_DWORD, REG_BINARY, REG_SZ};
        EXPECT_EQ(type, expectedType[data.protection(true)]) << data.name();
        ++value;
    }
}

TEST(AuRegData, FailuresNameTheirReason) {
    RegistryTestKey root(Registry::currentUser());
    au::Config config(true, root.key(), root.key());
    const Registry& probe = config.key(1, Registry::Mode::Write);
    const Registry& user = config.key(2, Registry::Mode::Write);
    user.setBinary("OOBD", au::protectBytes({1, 2, 3}, false));
    probe.setString("Frequency", "not base64 !");
    struct Case { const char* name; const char* reason; } cases[] = {
        {"OOBD", "getValue(DWORD) failed: decrypted data has wrong size"},
        {"Frequency", "getValue(DWORD) failed: string2binary (phase1) failed, sysError="},
        {"ScheduleId", "getValue(DWORD) failed: unknown encryptionType"},
    };
    for (const Case& c : cases) {
        EXPECT_THAT([&] { au::RegData::named(c.name).getValue(config); },
                    testing::ThrowsMessage<std::runtime_error>(HasSubstr(c.reason)))
            << c.name;
    }
    EXPECT_THAT([&] { au::RegData::named("LastUDCheckTime").setValue(config, 1); },
                testing::ThrowsMessage<std::runtime_error>(
                    HasSubstr("setValue(DWORD) failed: unknown encryptionType")));
}
