#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <regex>
#include <set>

#include "Locale.h"
#include "Resource.h"
#include "TestSupport.h"

namespace {

// The ids of the English table, read from its source.
std::set<unsigned> englishIds() {
    std::ifstream in(testsupport::sourceDir() + "/resources/strings/en.rc");
    std::set<unsigned> ids;
    std::string line;
    const std::regex entry(R"(^\s+(\d+)\s+")");
    std::smatch m;
    while (std::getline(in, line)) {
        if (std::regex_search(line, m, entry)) ids.insert(static_cast<unsigned>(std::stoul(m[1])));
    }
    return ids;
}

} // namespace

TEST(StringTables, EveryLanguageCarriesEveryString) {
    const std::set<unsigned> ids = englishIds();
    ASSERT_GE(ids.size(), 8u);
    for (const Locale& locale : Locale::all()) {
        for (unsigned id : ids) {
            EXPECT_TRUE(StringResource(id).existsIn(locale.langId()))
                << "string " << id << " missing in " << locale.name();
        }
    }
    EXPECT_EQ(StringResource(2050, nullptr, 1041).utf8(),
              "\xE5\x86\x8D\xE3\x82\xA4\xE3\x83\xB3\xE3\x82\xB9\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xAB"
              "\xE3\x81\xA7\xE3\x81\x8D\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93");
}
