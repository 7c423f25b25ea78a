#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "Log.h"
#include "Registry.h"
#include "RegistryTestKey.h"
#include "TestSupport.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

void setRaw(const Registry& key, const char* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExA(key.hkey(), name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
}

// what() of the E raised by call; a test failure when nothing is raised.
template <class E, class Call>
std::string errorOf(Call call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    ADD_FAILURE() << "nothing raised";
    return std::string();
}

// Expects "Registry.cpp(<line>) at <function>(): <message...>".
void expectLocated(const std::string& what, const std::string& function,
                   const std::string& messageStart) {
    static const std::regex located(R"(Registry\.cpp\(\d+\) at ([^(]*)\(\): ([\s\S]*))");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(what, match, located)) << what;
    EXPECT_EQ(match[1].str(), function);
    EXPECT_EQ(match[2].str().compare(0, messageStart.size(), messageStart), 0) << what;
}

// The tail every system failure carries after its context.
std::string systemErrorTail(DWORD code) {
    return ". System error [" + std::to_string(code) + "](system error " + std::to_string(code) +
           " (";
}

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

class RegistryKey : public ::testing::Test {
protected:
    RegistryTestKey tree{Registry::currentUser()};
    const Registry& key = tree.key();
};

} // namespace

TEST(RegistryRoots, NamesFollowSystemAndView) {
    for (const RegistryView view :
         {RegistryView::Default, RegistryView::Bits32, RegistryView::Bits64}) {
        EXPECT_EQ(Registry::rootName("HKLM", view, false), "HKLM");
    }
    EXPECT_EQ(Registry::rootName("HKLM", RegistryView::Default, true), "HKLM");
    EXPECT_EQ(Registry::rootName("HKLM", RegistryView::Bits32, true), "HKLM32");
    EXPECT_EQ(Registry::rootName("HKCU", RegistryView::Bits64, true), "HKCU64");

    // The test prefix is a 64-bit system.
    EXPECT_EQ(Registry::localMachine().name(), "HKLM");
    EXPECT_EQ(Registry::localMachine(RegistryView::Bits32).name(), "HKLM32");
    EXPECT_EQ(Registry::localMachine(RegistryView::Bits64).name(), "HKLM64");
    EXPECT_EQ(Registry::currentUser().name(), "HKCU");
    EXPECT_EQ(Registry::currentUser(RegistryView::Bits32).name(), "HKCU32");
    EXPECT_EQ(Registry::currentUser(RegistryView::Bits64).name(), "HKCU64");
    EXPECT_EQ(Registry::users().name(), "HKU");
    EXPECT_EQ(Registry::localMachine(RegistryView::Bits64).view(), RegistryView::Bits64);
    EXPECT_EQ(Registry::localMachine(RegistryView::Bits64).hkey(), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(Registry::users().hkey(), HKEY_USERS);
}

TEST(RegistryRoots, TypeNames) {
    EXPECT_STREQ(Registry::typeName(REG_NONE), "REG_NONE");
    EXPECT_STREQ(Registry::typeName(REG_EXPAND_SZ), "REG_EXPAND_SZ");
    EXPECT_STREQ(Registry::typeName(REG_DWORD_BIG_ENDIAN), "REG_DWORD_BIG_ENDIAN");
    EXPECT_STREQ(Registry::typeName(REG_RESOURCE_REQUIREMENTS_LIST),
                 "REG_RESOURCE_REQUIREMENTS_LIST");
    EXPECT_STREQ(Registry::typeName(REG_QWORD), "REG_QWORD");
    EXPECT_STREQ(Registry::typeName(12), "Unknown");
    EXPECT_STREQ(Registry::typeName(0xFFFFFFFF), "Unknown");
}

TEST(RegistryRoots, WritesReadsEnumeratesAndDeletesInBothViews) {
    for (const RegistryView view : {RegistryView::Bits32, RegistryView::Bits64}) {
        const Registry& root = Registry::currentUser(view);
        const RegistryTestKey tree(root);
        const Registry& key = tree.key();
        EXPECT_EQ(key.name(), root.name() + "\\" + tree.path());
        EXPECT_EQ(key.view(), view);

        key.setDword("d", 7);
        key.setString("s", "text");
        key.setBinary("b", {1, 2, 3});
        const Registry child = Registry::open(key, "b-child", Registry::Mode::Write);
        EXPECT_EQ(child.view(), view);
        EXPECT_EQ(child.name(), key.name() + "\\b-child");
        Registry::open(child, "grandchild", Registry::Mode::Write).setDword("g", 1);
        Registry::open(key, "a-child", Registry::Mode::Write);

        const Registry reader = Registry::open(root, tree.path());
        EXPECT_EQ(reader.getDword("d"), 7u);
        EXPECT_EQ(reader.getString("s"), "text");
        EXPECT_EQ(reader.getBinary("b"), (std::vector<uint8_t>{1, 2, 3}));
        EXPECT_EQ(reader.getDword("b-child\\grandchild\\g"), 1u);
        EXPECT_EQ(sorted(reader.getSubkeyNames()), (std::vector<std::string>{"a-child", "b-child"}));

        EXPECT_EQ(key.deleteValue("d"), 0);
        EXPECT_FALSE(reader.valueExists("d"));
        EXPECT_TRUE(key.deleteTree("b-child"));
        EXPECT_FALSE(reader.keyExists("b-child"));
        EXPECT_EQ(reader.getSubkeyNames(), std::vector<std::string>{"a-child"});
    }
}

TEST_F(RegistryKey, ExpandStringIsReadUnexpanded) {
    const char text[] = "%SystemRoot%\\cx";
    setRaw(key, "expand", REG_EXPAND_SZ, text, sizeof(text));
    EXPECT_EQ(key.getString("expand"), "%SystemRoot%\\cx");
    const Registry::Value raw = key.getValue("expand");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(raw.bytes.size(), sizeof(text));
}

TEST_F(RegistryKey, StringDropsOneTerminatingZeroOnly) {
    setRaw(key, "two-zeros", REG_SZ, "ab\0", 4);
    setRaw(key, "unterminated", REG_SZ, "abc", 3);
    setRaw(key, "empty", REG_SZ, "", 0);
    EXPECT_EQ(key.getString("two-zeros"), std::string("ab\0", 3));
    EXPECT_EQ(key.getString("unterminated"), "abc");
    EXPECT_EQ(key.getString("empty"), "");
    EXPECT_TRUE(key.getValue("empty").bytes.empty());
}

TEST_F(RegistryKey, TypedGettersCheckTypeAndSize) {
    key.setBinary("bin4", {1, 0, 0, 0});
    const uint64_t eight = 1;
    setRaw(key, "dword8", REG_DWORD, &eight, sizeof(eight));
    key.setString("text", "x");
    const std::string at = key.name() + "\\";

    const std::string wrongType =
        errorOf<TeguError<std::runtime_error>>([&] { key.getDword("bin4"); });
    expectLocated(wrongType, "Registry::getDword", "query dword value (" + at + "bin4) error: wrong type");
    EXPECT_TRUE(tstrings::endsWith(wrongType, "error: wrong type")) << wrongType;

    const std::string wrongSize =
        errorOf<TeguError<std::runtime_error>>([&] { key.getDword("dword8"); });
    expectLocated(wrongSize, "Registry::getDword", "query dword value (" + at + "dword8) error: wrong size");
    EXPECT_TRUE(tstrings::endsWith(wrongSize, "error: wrong size")) << wrongSize;

    expectLocated(errorOf<std::runtime_error>([&] { key.getString("bin4"); }),
                  "Registry::getString", "query string value (" + at + "bin4) error: wrong type");
    expectLocated(errorOf<std::runtime_error>([&] { key.getBinary("text"); }),
                  "Registry::getBinary", "query binary value (" + at + "text) error: wrong type");
    EXPECT_EQ(key.getBinary("bin4"), (std::vector<uint8_t>{1, 0, 0, 0}));
}

TEST_F(RegistryKey, FindersAnswerNothingOnlyForAbsence) {
    key.setDword("sub\\number", 5);
    key.setString("text", "x");
    EXPECT_EQ(key.findDword("sub\\number"), std::optional<DWORD>(5));
    EXPECT_EQ(key.findString("text"), std::optional<std::string>("x"));
    EXPECT_FALSE(key.findDword("missing"));
    EXPECT_FALSE(key.findString("no-such-key\\text"));
    EXPECT_FALSE(Registry::find(key, "no-such-key"));
    EXPECT_FALSE(key.keyExists("no-such-key")) << "finding a key must not create it";
    ASSERT_TRUE(Registry::find(key, "sub", Registry::Mode::Write));
    Registry::find(key, "sub", Registry::Mode::Write)->setString("more", "y");
    EXPECT_EQ(key.getString("sub\\more"), "y");
    // A value of the wrong kind is not absent: the caller must hear of it.
    expectLocated(errorOf<std::runtime_error>([&] { key.findDword("text"); }), "Registry::getDword",
                  "query dword value (" + key.name() + "\\text) error: wrong type");
    EXPECT_THROW(key.findString("sub\\number"), std::runtime_error);
}

TEST_F(RegistryKey, StringWithDefaultSwallowsFailures) {
    key.setDword("number", 3);
    key.setString("text", "value");
    EXPECT_EQ(key.getString("missing", "fallback"), "fallback");
    EXPECT_EQ(key.getString("number", "fallback"), "fallback");
    EXPECT_EQ(key.getString("no-such-key\\text", "fallback"), "fallback");
    EXPECT_EQ(key.getString("text", "fallback"), "value");
}

TEST_F(RegistryKey, ValueNameWithSubkeyPathReadsAndCreates) {
    EXPECT_FALSE(key.keyExists("x\\y"));
    key.setString("x\\y\\v", "deep");
    ASSERT_TRUE(key.keyExists("x\\y"));
    EXPECT_EQ(Registry::open(key, "x\\y").getString("v"), "deep");
    EXPECT_EQ(key.getString("x\\y\\v"), "deep");

    DWORD type = REG_NONE;
    EXPECT_TRUE(key.valueExists("x\\y\\v", &type));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(key.valueExists("x\\y\\other"));
    EXPECT_FALSE(key.valueExists("missing\\v"));
    EXPECT_FALSE(key.keyExists("missing"));

    EXPECT_EQ(key.deleteValue("x\\y\\v"), 0);
    EXPECT_FALSE(key.valueExists("x\\y\\v"));
    expectLocated(errorOf<SysError>([&] { key.deleteValue("missing\\v"); }),
                  "Registry::deleteValue",
                  "delete value (" + key.name() + "\\missing\\v) error" + systemErrorTail(2));
    EXPECT_FALSE(key.keyExists("missing"));
}

TEST_F(RegistryKey, DefaultValueIsNamedByTrailingBackslash) {
    EXPECT_FALSE(key.valueExists(""));
    expectLocated(errorOf<SysError>([&] { key.deleteValue(""); }), "Registry::deleteValue",
                  "delete value (" + key.name() + "\\) error" + systemErrorTail(2));
    key.setString("", "default");
    EXPECT_EQ(key.getString(""), "default");
    key.setString("sub\\", "sub default");
    EXPECT_EQ(Registry::open(key, "sub").getString(""), "sub default");
}

TEST_F(RegistryKey, FailuresNameFunctionAndFullPath) {
    const std::string missing = errorOf<TeguError<SysError>>([&] { Registry::open(key, "missing"); });
    expectLocated(missing, "Registry::open",
                  "open key (" + key.name() + "\\missing) error" + systemErrorTail(2));
    EXPECT_EQ(missing.substr(missing.size() - 2), "))");
    EXPECT_NE(missing.find("HKCU\\Software\\cxroffline-tests\\" +
                           std::to_string(GetCurrentProcessId()) + "\\missing"),
              std::string::npos)
        << missing;

    try {
        key.getValue("absent");
        FAIL() << "nothing raised";
    } catch (const SysError& e) {
        EXPECT_EQ(e.code(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
        expectLocated(e.what(), "Registry::getValue",
                      "query value (" + key.name() + "\\absent) error" + systemErrorTail(2));
    }

    Registry::open(key, "locked", Registry::Mode::Write);
    const Registry readOnly = Registry::open(key, "locked");
    const std::string denied = key.name() + "\\locked\\v) error" + systemErrorTail(5);
    expectLocated(errorOf<SysError>([&] { readOnly.setDword("v", 1); }), "Registry::setDword",
                  "set dword value (" + denied);
    expectLocated(errorOf<SysError>([&] { readOnly.setString("v", "t"); }),
                  "Registry::setString", "set string value (" + denied);
    expectLocated(errorOf<SysError>([&] { readOnly.setBinary("v", {}); }),
                  "Registry::setBinary", "set binary value (" + denied);
    EXPECT_FALSE(readOnly.valueExists("v"));
}

TEST_F(RegistryKey, EnumeratingADeletedKeyFails) {
    const Registry gone = Registry::open(key, "gone", Registry::Mode::Write);
    ASSERT_TRUE(key.deleteTree("gone"));
    expectLocated(errorOf<SysError>([&] { gone.getSubkeyNames(); }), "Registry::getSubkeyNames",
                  "enum subkeys (" + key.name() + "\\gone) error. System error [");
}

TEST_F(RegistryKey, WritesAreLoggedAndLongTextClipped) {
    std::string longText;
    for (int i = 0; i < 2000; ++i) {
        longText += static_cast<char>('a' + i % 26);
    }
    key.setString("long", longText);
    key.setString("exact", longText.substr(0, 1024));
    key.setDword("number", 42);
    key.setBinary("bytes", {1, 2, 3});
    key.deleteValue("number");

    const std::string log = testsupport::readFile(Logger::defaultLogger().filePath());
    const std::string at = key.name() + "\\";
    EXPECT_NE(log.find("(Registry::setString)]\r\n\tTRACE: Set [" + at + "long]=REG_SZ[" +
                       longText.substr(0, 1024) + "...]; length=2000\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("TRACE: Set [" + at + "exact]=REG_SZ[" + longText.substr(0, 1024) +
                       "]\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("(Registry::setDword)]\r\n\tTRACE: Set [" + at + "number]=REG_DWORD[42]"),
              std::string::npos);
    EXPECT_NE(log.find("(Registry::setBinary)]\r\n\tTRACE: Set [" + at +
                       "bytes]=REG_BINARY[length=3]"),
              std::string::npos);
    EXPECT_NE(log.find("(Registry::deleteValue)]\r\n\tTRACE: Deleted [" + at + "number] value"),
              std::string::npos);
}

TEST_F(RegistryKey, DeleteTreeRemovesNestedKeysAndRefusesEmptyPath) {
    key.setDword("a\\b\\c\\v", 1);
    key.setDword("a\\w", 2);
    key.setDword("keep\\v", 3);
    EXPECT_TRUE(key.deleteTree("a"));
    EXPECT_FALSE(key.keyExists("a"));
    EXPECT_FALSE(key.deleteTree("a"));
    EXPECT_EQ(key.getDword("keep\\v"), 3u);

    expectLocated(errorOf<std::invalid_argument>([&] { key.deleteTree(""); }),
                  "Registry::deleteTree", "delete key tree (" + key.name() + "\\) error: empty");
    EXPECT_THROW(key.deleteTree("\\\\"), std::invalid_argument);
    EXPECT_TRUE(key.keyExists("keep"));
}

TEST_F(RegistryKey, MovedKeyTakesTheHandleAlong) {
    Registry first = Registry::open(key, "moved", Registry::Mode::Write);
    const HKEY handle = first.hkey();
    Registry second = std::move(first);
    EXPECT_EQ(second.hkey(), handle);
    EXPECT_EQ(second.name(), key.name() + "\\moved");
    second.setDword("v", 5);
    EXPECT_EQ(key.getDword("moved\\v"), 5u);
}
