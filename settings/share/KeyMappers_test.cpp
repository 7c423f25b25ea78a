#include <gtest/gtest.h>

#include "KeyMappers.h"

using namespace settings_impl;

TEST(KeyMappers, SimpleMapperCase) {
    const SimpleKeyMapper folding("Install_Silent", "INSTALL_SILENT", false);
    EXPECT_EQ(folding.map("install_SILENT").key, "INSTALL_SILENT");
    EXPECT_TRUE(folding.map("install_silent").matched);
    const SimpleKeyMapper exact("Key", "Target", true);
    EXPECT_TRUE(exact.map("Key").matched);
    const IKeyMapper::Result miss = exact.map("key");
    EXPECT_FALSE(miss.matched);
    EXPECT_EQ(miss.key, "key");
}

TEST(KeyMappers, CompositeAsksTheLastAddedFirst) {
    KeyMapperBuilder builder;
    builder.addKeyMapping("a", "first", false);
    builder.addKeyMapping("A", "second", false);
    builder.addKeyMapping("b", "B", true);
    const auto mapper = builder.build();
    EXPECT_EQ(mapper->map("a").key, "second");
    EXPECT_EQ(mapper->map("b").key, "B");
    const IKeyMapper::Result unmatched = mapper->map("c");
    EXPECT_EQ(unmatched.key, "c");
    EXPECT_FALSE(unmatched.matched);
    EXPECT_FALSE(KeyMapperBuilder().build()->map("x").matched);
}
