#include <gtest/gtest.h>

#include "InstalledCalyxSlots.h"

namespace {

InstalledCalyx product(int type, int bits, const char* code) {
    return InstalledCalyx(code, type, bits, CalyxVersion("1.8.0"), "", 10,
                          std::make_shared<Uninstaller>());
}

const char kA[] = "{00000000-0000-0000-0000-00000000000A}";
const char kB[] = "{00000000-0000-0000-0000-00000000000B}";
const char kC[] = "{00000000-0000-0000-0000-00000000000C}";
const char kD[] = "{00000000-0000-0000-0000-00000000000D}";

std::string codeOf(const InstalledCalyx* p) {
    return p ? p->productCode() : "none";
}

} // namespace

TEST(InstalledCalyxSlots, IndexOfEachTypeAndArchitecture) {
    EXPECT_EQ(InstalledCalyxSlots::itemIndex(CXR, 32), 0u);
    EXPECT_EQ(InstalledCalyxSlots::itemIndex(CXR, 64), 1u);
    EXPECT_EQ(InstalledCalyxSlots::itemIndex(CXS, 32), 2u);
    EXPECT_EQ(InstalledCalyxSlots::itemIndex(CXS, 64), 3u);
    for (const auto& pair : {std::make_pair(GLINT, 32), std::make_pair(CXR, 16),
                             std::make_pair(CXS, 0)}) {
        try {
            InstalledCalyxSlots::itemIndex(pair.first, pair.second);
            FAIL() << pair.first << "/" << pair.second;
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find("Unexpected 'tag'"), std::string::npos);
        }
    }
}

TEST(InstalledCalyxSlots, BestPrefersTypeThenArchitecture) {
    InstalledCalyxSlots slots;
    EXPECT_EQ(slots.best(CXR, 32), nullptr);
    slots.set(product(CXS, 64, kD));
    EXPECT_EQ(codeOf(slots.best(CXR, 32)), kD);
    slots.set(product(CXS, 32, kC));
    EXPECT_EQ(codeOf(slots.best(CXR, 32)), kC);
    EXPECT_EQ(codeOf(slots.best(CXR, 64)), kD);
    slots.set(product(CXR, 64, kB));
    EXPECT_EQ(codeOf(slots.best(CXR, 32)), kB);
    slots.set(product(CXR, 32, kA));
    EXPECT_EQ(codeOf(slots.best(CXR, 32)), kA);
    EXPECT_EQ(codeOf(slots.best(CXS, 64)), kD);
    slots.clear(CXS, 64);
    EXPECT_EQ(codeOf(slots.best(CXS, 64)), kC);
    EXPECT_THROW(slots.best(GLINT, 32), std::invalid_argument);
}

TEST(InstalledCalyxSlots, FillByTypeAndByArchitecture) {
    InstalledCalyxSlots source;
    source.set(product(CXR, 32, kA));
    source.set(product(CXR, 64, kB));
    source.set(product(CXS, 32, kC));

    InstalledCalyxSlots byType;
    byType.set(product(CXS, 64, kD));
    byType.fillType(CXR, source);
    EXPECT_EQ(codeOf(byType.get(CXR, 32) ? &*byType.get(CXR, 32) : nullptr), kA);
    EXPECT_EQ(codeOf(byType.get(CXR, 64) ? &*byType.get(CXR, 64) : nullptr), kB);
    EXPECT_FALSE(byType.get(CXS, 32).has_value());
    EXPECT_TRUE(byType.get(CXS, 64).has_value());

    InstalledCalyxSlots byBits;
    byBits.set(product(CXS, 64, kD));
    byBits.set(product(CXR, 64, kD));
    byBits.fillBits(64, source);
    EXPECT_EQ(codeOf(byBits.get(CXR, 64) ? &*byBits.get(CXR, 64) : nullptr), kB);
    // Taking an empty slot empties this one.
    EXPECT_FALSE(byBits.get(CXS, 64).has_value());
    EXPECT_FALSE(byBits.get(CXR, 32).has_value());
}
