#include <tuple>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Config.h"
#include "RegData.h"
#include "RegistryTestKey.h"

using testing::HasSubstr;

TEST(AuConfig, ScheduleFromDraws) {
    struct Case { int r1, r2, r3, r4, frequency, hour, minute; } cases[] = {
        {6, 13, 23, 59, 0x4040, 23, 59},
        {7, 8, 24, 60, 0x0201, 0, 0},
    };
    for (const Case& c : cases) {
        const au::Schedule s = au::Schedule::fromDraws(c.r1, c.r2, c.r3, c.r4);
        EXPECT_EQ(s.frequency, c.frequency) << c.r1 << "," << c.r2;
        EXPECT_EQ(s.hour, c.hour) << c.r3;
        EXPECT_EQ(s.minute, c.minute) << c.r4;
    }
}

TEST(AuConfig, MissingScheduleIsReplacedByAFreshStoredOne) {
    RegistryTestKey root(Registry::currentUser());
    au::Config config(true, root.key(), root.key());
    bool kept = true;
    const au::Schedule fresh = config.getSchedule(kept);
    EXPECT_TRUE(kept);
    const au::Schedule stored = au::Config(true, root.key(), root.key()).readSchedule();
    EXPECT_EQ(std::tie(stored.frequency, stored.hour, stored.minute),
              std::tie(fresh.frequency, fresh.hour, fresh.minute));
}

TEST(AuConfig, NotifyTypeIsReadAndInconsistentValuesReset) {
    struct Case { const char* name; int download, install, type; } cases[] = {  // -1: absent
        {"before download", 1, 0, 0},
        {"before install", 0, 1, 1},
        {"both set", 1, 1, 0},
        {"both clear", 0, 0, 0},
        {"absent", -1, -1, 0},
    };
    for (const Case& c : cases) {
        RegistryTestKey root(Registry::currentUser());
        au::Config config(true, root.key(), root.key());
        const Registry& probe = config.key(1, Registry::Mode::Write);
        if (c.download >= 0) probe.setDword("NotifyDownload", c.download);
        if (c.install >= 0) probe.setDword("NotifyInstall", c.install);
        EXPECT_EQ(config.getNotifyType(), c.type) << c.name;
        EXPECT_EQ(probe.getDword("NotifyDownload"), c.type == 0 ? 1u : 0u) << c.name;
        EXPECT_EQ(probe.getDword("NotifyInstall"), c.type == 1 ? 1u : 0u) << c.name;
    }
}

TEST(AuConfig, UnknownLocationAndNotifyTypeRaise) {
    RegistryTestKey root(Registry::currentUser());
    au::Config config(true, root.key(), root.key());
    EXPECT_THAT([&] { config.key(4, Registry::Mode::Read); },
                testing::ThrowsMessage<std::runtime_error>(HasSubstr("unknown reg location")));
    EXPECT_THAT([&] { config.setNotifyType(2); },
                testing::ThrowsMessage<std::runtime_error>(HasSubstr("unknown notifyType")));
}
