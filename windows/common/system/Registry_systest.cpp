#include <gtest/gtest.h>

#include "Registry.h"
#include "WinErrorHandling.h"
#include "RegistryTestKey.h"

namespace {

// The view a root without view flags gives this build.
const RegistryView kOwnView = sizeof(void*) == 4 ? RegistryView::Bits32 : RegistryView::Bits64;

} // namespace

TEST(RegistryViews, MachineKeysWriteReadEnumerateAndDeleteInEachView) {
    for (const RegistryView view : {RegistryView::Bits32, RegistryView::Bits64}) {
        const Registry& root = Registry::localMachine(view);
        const RegistryTestKey tree(root);
        const Registry& key = tree.key();
        EXPECT_EQ(key.name(), root.name() + "\\" + tree.path());

        key.setDword("child\\d", 9);
        key.setString("s", "machine");
        key.setBinary("b", {4, 5});
        const Registry reader = Registry::open(root, tree.path());
        EXPECT_EQ(reader.getDword("child\\d"), 9u);
        EXPECT_EQ(reader.getString("s"), "machine");
        EXPECT_EQ(reader.getBinary("b"), (std::vector<uint8_t>{4, 5}));
        EXPECT_EQ(reader.getSubkeyNames(), std::vector<std::string>{"child"});

        EXPECT_EQ(key.deleteValue("s"), 0);
        EXPECT_FALSE(reader.valueExists("s"));
        EXPECT_THROW(key.deleteValue("s"), SysError);
        EXPECT_TRUE(key.deleteValueIfPresent("child\\d"));
        EXPECT_FALSE(key.deleteValueIfPresent("child\\d"));
        EXPECT_FALSE(key.deleteValueIfPresent("absent\\d"));
        EXPECT_FALSE(Registry::find(root, tree.path() + "\\absent"));
        EXPECT_TRUE(key.deleteTree("child"));
        EXPECT_TRUE(reader.getSubkeyNames().empty());
    }
}

TEST(RegistryViews, ValueWrittenInOneViewIsNotSeenInTheOther) {
    const RegistryTestKey tree32(Registry::localMachine(RegistryView::Bits32));
    const RegistryTestKey tree64(Registry::localMachine(RegistryView::Bits64));
    ASSERT_EQ(tree32.path(), tree64.path());
    EXPECT_EQ(tree32.key().name(), "HKLM32\\" + tree32.path());
    EXPECT_EQ(tree64.key().name(), "HKLM64\\" + tree64.path());

    tree32.key().setDword("only32", 32);
    tree32.key().setString("deep32\\v", "x");
    tree64.key().setDword("only64", 64);

    EXPECT_TRUE(tree32.key().valueExists("only32"));
    EXPECT_FALSE(tree64.key().valueExists("only32"));
    EXPECT_FALSE(tree64.key().keyExists("deep32"));
    EXPECT_FALSE(tree64.key().valueExists("deep32\\v"));
    EXPECT_TRUE(tree64.key().valueExists("only64"));
    EXPECT_FALSE(tree32.key().valueExists("only64"));

    // Sub-keys opened from a view-specific key stay in that view.
    const Registry software64 = Registry::open(Registry::localMachine(RegistryView::Bits64), "Software");
    EXPECT_EQ(Registry::open(software64, tree64.path().substr(9)).getDword("only64"), 64u);
    EXPECT_FALSE(Registry::open(software64, tree64.path().substr(9)).valueExists("only32"));

    // Paths through "Software" from the roots, where the views part.
    const Registry& root32 = Registry::localMachine(RegistryView::Bits32);
    const Registry& root64 = Registry::localMachine(RegistryView::Bits64);
    const std::string path = tree32.path();
    EXPECT_TRUE(root32.keyExists(path + "\\deep32"));
    EXPECT_FALSE(root64.keyExists(path + "\\deep32"));
    EXPECT_FALSE(root64.valueExists(path + "\\only32"));
    EXPECT_FALSE(root64.deleteTree(path + "\\deep32"));
    EXPECT_TRUE(root32.deleteTree(path + "\\deep32"));
    EXPECT_EQ(root64.deleteValue(path + "\\only64"), 0);
    EXPECT_FALSE(tree64.key().valueExists("only64"));
    EXPECT_EQ(root32.getDword(path + "\\only32"), 32u);
    root64.setDword(path + "\\only64", 64);

    // A root without view flags uses the build's own view.
    const Registry own = Registry::open(Registry::localMachine(), tree32.path());
    EXPECT_EQ(own.name(), "HKLM\\" + tree32.path());
    EXPECT_EQ(own.getDword(kOwnView == RegistryView::Bits32 ? "only32" : "only64"),
              kOwnView == RegistryView::Bits32 ? 32u : 64u);
}
