// The carried package's embedded language transforms, applied by the
// installer service itself: each must turn the package into its localised
// variant exactly, and a damaged transform must change nothing.
#include <windows.h>
#include <msi.h>
#include <msidefs.h>
#include <msiquery.h>

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "AutoHandle.h"
#include "FileTestSupport.h"
#include "TestSupport.h"
#include "tstrings.h"

namespace {

const int kLanguages[] = {2052, 1028, 1031, 1034, 1036, 1040, 1041, 1042, 1046, 1053};

std::string packages() { return testsupport::binaryDir() + "/packages/"; }

UniqueMsiHandle open(const std::string& path, LPCSTR mode) {
    UniqueMsiHandle db;
    const UINT rc = MsiOpenDatabaseA(path.c_str(), mode, db.receive());
    if (rc != ERROR_SUCCESS) ADD_FAILURE() << "MsiOpenDatabase(" << path << ") failed with " << rc;
    return db;
}

// A copy of the carried package opened for changes that are never committed.
UniqueMsiHandle openCarriedCopy(const std::string& name) {
    const std::string copy = testsupport::testFolder("transforms") + "\\" + name + ".msi";
    EXPECT_TRUE(CopyFileA((packages() + "runtime.msi").c_str(), copy.c_str(), FALSE));
    return open(copy, reinterpret_cast<LPCSTR>(MSIDBOPEN_TRANSACT));
}

std::vector<std::string> query(MSIHANDLE db, const std::string& sql) {
    std::vector<std::string> rows;
    UniqueMsiHandle view, record;
    EXPECT_EQ(MsiDatabaseOpenViewA(db, sql.c_str(), view.receive()), ERROR_SUCCESS) << sql;
    EXPECT_EQ(MsiViewExecute(view.get(), 0), ERROR_SUCCESS) << sql;
    while (MsiViewFetch(view.get(), record.receive()) == ERROR_SUCCESS) {
        std::string row;
        for (UINT f = 1; f <= MsiRecordGetFieldCount(record.get()); ++f) {
            WCHAR text[1024];
            DWORD size = 1024;
            if (MsiRecordIsNull(record.get(), f)) row += "<null>";
            else if (MsiRecordGetStringW(record.get(), f, text, &size) == ERROR_SUCCESS) row += tstrings::toUtf8(text);
            else row += "<stream " + std::to_string(MsiRecordDataSize(record.get(), f)) + ">";
            row += "\t";
        }
        rows.push_back(row);
    }
    MsiViewClose(view.get());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Every table's rows as text, table by table, read through the service.
std::vector<std::vector<std::string>> tables(MSIHANDLE db) {
    std::vector<std::vector<std::string>> out;
    for (std::string name : query(db, "SELECT `Name` FROM `_Tables`")) {
        name.pop_back();
        out.push_back(query(db, "SELECT * FROM `" + name + "`"));
        out.back().insert(out.back().begin(), name);
    }
    return out;
}

TEST(LanguageTransforms, ApplyingEachGivesItsLocalisedPackage) {
    for (const int lang : kLanguages) {
        const UniqueMsiHandle db = openCarriedCopy(std::to_string(lang));
        ASSERT_EQ(MsiDatabaseApplyTransformA(db.get(), (":" + std::to_string(lang)).c_str(), 0), ERROR_SUCCESS)
            << lang;
        const UniqueMsiHandle localised =
            open(packages() + "runtime-" + std::to_string(lang) + ".msi", reinterpret_cast<LPCSTR>(MSIDBOPEN_READONLY));
        EXPECT_EQ(tables(db.get()), tables(localised.get())) << lang;
        EXPECT_THAT(query(db.get(), "SELECT `Value` FROM `Property` WHERE `Property`='ProductLanguage'"),
                    testing::ElementsAre(std::to_string(lang) + "\t"));
    }
}

TEST(LanguageTransforms, DamagedTransformChangesNothing) {
    const std::string good = testsupport::readFile(packages() + "runtime-1041.mst");
    const UniqueMsiHandle pristine = openCarriedCopy("pristine");
    const std::string folder = testsupport::testFolder("transforms");
    const struct { const char* name; std::string bytes; } cases[] = {
        {"truncated", good.substr(0, good.size() / 2)},
        {"header only", good.substr(0, 512)},
        {"zeroed directory", good.substr(0, 512) + std::string(good.size() - 512, '\0')},
    };
    for (const auto& c : cases) {
        const std::string path = folder + "\\damaged.mst";
        ASSERT_TRUE(testsupport::writeFile(path, c.bytes));
        const UniqueMsiHandle db = openCarriedCopy("damaged");
        EXPECT_NE(MsiDatabaseApplyTransformA(db.get(), path.c_str(), 0), ERROR_SUCCESS) << c.name;
        EXPECT_EQ(tables(db.get()), tables(pristine.get())) << c.name;
    }
}

TEST(LanguageTransforms, PackageListsAllElevenLanguages) {
    UniqueMsiHandle info;
    ASSERT_EQ(MsiGetSummaryInformationA(0, (packages() + "runtime.msi").c_str(), 0, info.receive()), ERROR_SUCCESS);
    char text[256];
    DWORD size = sizeof(text);
    UINT type = 0;
    ASSERT_EQ(MsiSummaryInfoGetPropertyA(info.get(), PID_TEMPLATE, &type, nullptr, nullptr, text, &size),
              ERROR_SUCCESS);
    EXPECT_THAT(text, testing::EndsWith(";1033,2052,1028,1031,1034,1036,1040,1041,1042,1046,1053"));
}

} // namespace
