#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include <fstream>

#include "MsiDatabase.h"
#include "MsiError.h"
#include "MsiTestFixtures.h"

namespace {

struct Raised {
    UINT status;
    std::string what;
};

template <class F>
Raised expectMsiError(F f) {
    try {
        f();
    } catch (const TeguError<msi::Error>& e) {
        return Raised{e.getStatus(), e.what()};
    }
    ADD_FAILURE() << "no msi::Error";
    return Raised{0, ""};
}

} // namespace

TEST(MsiDatabase, ReadsPackageProperties) {
    const msi::Database database(msitest::fixturePath("fixture_good.msi"));
    EXPECT_EQ(database.getProperty("ProductVersion"), "1.2.3");
    EXPECT_EQ(database.getProperty("ProductCode"), msitest::goodProductCode());
    EXPECT_EQ(database.getProperty("UpgradeCode"), msitest::goodUpgradeCode());
    EXPECT_EQ(database.getProperty("FixtureProp"), "fixture value");
}

TEST(MsiDatabase, ReadsLongValuesWhole) {
    const msi::Database database(msitest::fixturePath("fixture_good.msi"));
    EXPECT_EQ(database.getProperty("FixtureLongProp"), msitest::goodLongValue());
}

TEST(MsiDatabase, MissingPropertyRaisesFromTheFetch) {
    const std::string path = msitest::fixturePath("fixture_good.msi");
    const msi::Database database(path);
    const Raised e = expectMsiError([&] { database.getProperty("NoSuchProperty"); });
    EXPECT_EQ(e.status, static_cast<UINT>(ERROR_NO_MORE_ITEMS));
    EXPECT_NE(e.what.find(
                  "at msi::Database::getProperty(): MsiViewFetch(" + path +
                  ", SELECT Value FROM Property WHERE Property = 'NoSuchProperty') failed. "
                  "MSI error [259]"),
              std::string::npos)
        << e.what;
    // The database stays usable after a failed read.
    EXPECT_EQ(database.getProperty("ProductVersion"), "1.2.3");
}

TEST(MsiDatabase, NameBreakingTheQueryRaisesFromTheView) {
    const msi::Database database(msitest::fixturePath("fixture_good.msi"));
    const Raised e = expectMsiError([&] { database.getProperty("it's"); });
    EXPECT_NE(e.status, 0u);
    EXPECT_NE(e.what.find("at msi::Database::getProperty(): MsiDatabaseOpenView("),
              std::string::npos)
        << e.what;
}

TEST(MsiDatabase, MissingFileRaisesWithTheOpenStatus) {
    const std::string path = testsupport::tempDir() + "\\missing.msi";
    const Raised e = expectMsiError([&] { msi::Database database(path); });
    EXPECT_NE(e.status, 0u);
    EXPECT_NE(e.what.find("at msi::`anonymous-namespace'::openDatabase(): "
                                         "MsiOpenDatabase(" + path +
                                         ", MSIDBOPEN_READONLY) failed. MSI error ["),
              std::string::npos)
        << e.what;
}

TEST(MsiDatabase, FileThatIsNoPackageRaises) {
    const std::string path = testsupport::tempDir() + "\\garbage.msi";
    {
        std::ofstream out(path, std::ios::binary);
        out << std::string(4096, 'G');
    }
    const Raised e = expectMsiError([&] { msi::Database database(path); });
    EXPECT_NE(e.status, 0u);
    EXPECT_NE(e.what.find("MsiOpenDatabase(" + path), std::string::npos)
        << e.what;
}

TEST(MsiDatabase, UnknownProductCodeRaisesFromTheProductQuery) {
    GUID code = {};
    code.Data1 = 0x0BADC0DE;
    const Raised e = expectMsiError([&] { msi::Database database(code); });
    EXPECT_EQ(e.status, static_cast<UINT>(ERROR_UNKNOWN_PRODUCT));
    EXPECT_NE(e.what.find(
                  "MsiGetProductInfo({0BADC0DE-0000-0000-0000-000000000000}, LocalPackage) failed"),
              std::string::npos)
        << e.what;
}

TEST(MsiDatabase, ReleasesEveryHandleOnEveryPath) {
    MsiCloseAllHandles();
    {
        const msi::Database database(msitest::fixturePath("fixture_good.msi"));
        EXPECT_EQ(database.getProperty("ProductVersion"), "1.2.3");
        expectMsiError([&] { database.getProperty("NoSuchProperty"); });
        expectMsiError([&] { database.getProperty("it's"); });
    }
    // The count of handles that were still open.
    EXPECT_EQ(MsiCloseAllHandles(), 0u);
}
