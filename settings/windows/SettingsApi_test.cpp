#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "Log.h"
#include "SettingsApi.h"
#include "SettingsPaths.h"
#include "TestSupport.h"

namespace {

const settings_api& api = settingsApi();

// One configuration handle for the length of a test.
struct Handle {
    settings_impl::Context* c = api.createConfig();
    ~Handle() { api.destroyConfig(c); }
};

std::string tempFile(const std::string& name) {
    return testsupport::tempDir() + "\\" + name;
}

std::string writeFile(const std::string& name, const std::string& bytes) {
    const std::string path = tempFile(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string text(settings_impl::Context* c, const char* key) {
    const char* value = nullptr;
    const int status = api.getString(c, key, &value);
    return status == 0 ? std::string(value) : "status " + std::to_string(status);
}

std::vector<unsigned> errorLines(settings_impl::Context* c) {
    const unsigned* first = nullptr;
    size_t count = 99;
    EXPECT_EQ(api.getErrorLines(c, &first, &count), 0);
    EXPECT_EQ(first == nullptr, count == 0);
    return count ? std::vector<unsigned>(first, first + count) : std::vector<unsigned>();
}

// The install configuration's kind of validator and key mapper.
struct InstallKeys {
    settings_impl::ConfigValidator* validator = nullptr;
    settings_impl::IKeyMapper* mapper = nullptr;

    InstallKeys() {
        settings_impl::ConfigValidatorBuilder* vb = api.createValidatorBuilder();
        const SettingsFixedValue enableDisable[] = {
            {"Enable", 1, 1}, {"Disable", 0, 1}, {"1", 1, 1}, {"0", 0, 1}};
        settings_impl::KeyMapperBuilder* kb = api.createKeyMapperBuilder();
        for (const char* key : {"INSTALL_SILENT", "AUTO_UPDATE"}) {
            EXPECT_EQ(api.addFixedValues(vb, key, enableDisable, 4), 0);
            EXPECT_EQ(api.addKeyMapping(kb, key, key, false), 0);
        }
        EXPECT_EQ(api.addIntKey(vb, "/lang"), 0);
        EXPECT_EQ(api.addStringKey(vb, "ProductCode"), 0);
        EXPECT_EQ(api.addStringKey(vb, "INSTALLDIR"), 0);
        EXPECT_EQ(api.addDirnameKey(vb, "INSTALLDIR", false), 0);
        EXPECT_EQ(api.addBoolKey(vb, "flag"), 0);
        EXPECT_EQ(api.addRealKey(vb, "ratio"), 0);
        EXPECT_EQ(api.setAllowUnlistedKeys(vb, false), 0);
        EXPECT_EQ(api.buildValidator(vb, &validator), 0);
        EXPECT_EQ(api.buildKeyMapper(kb, &mapper), 0);
        api.destroyValidatorBuilder(vb);
        api.destroyKeyMapperBuilder(kb);
    }
    ~InstallKeys() {
        api.destroyValidator(validator);
        api.destroyKeyMapper(mapper);
    }
};

} // namespace

TEST(SettingsApi, TableHoldsThirtyTwoOperations) {
    EXPECT_EQ(sizeof(settings_api), 32 * sizeof(void*));
}

TEST(SettingsApi, MissingArgumentsAre300) {
    Handle h;
    const char* out = nullptr;
    int number = 0;
    bool flag = false;
    EXPECT_EQ(api.getDefaultPath(nullptr, &out), 300);
    EXPECT_EQ(api.getDefaultPath(h.c, nullptr), 300);
    EXPECT_EQ(api.loadString(h.c, nullptr, nullptr, nullptr, true, false), 300);
    EXPECT_EQ(api.loadFile(h.c, nullptr, nullptr, nullptr, true, false), 300);
    EXPECT_EQ(api.loadFile(h.c, "", nullptr, nullptr, true, false), 300);
    EXPECT_EQ(api.saveFile(h.c, nullptr), 300);
    EXPECT_EQ(api.getInt(h.c, nullptr, &number), 300);
    EXPECT_EQ(api.getBool(h.c, "k", nullptr), 300);
    EXPECT_EQ(api.merge(h.c, nullptr), 300);
    EXPECT_EQ(api.forEach(h.c, nullptr, nullptr), 300);
    EXPECT_EQ(api.isEmpty(nullptr, &flag), 300);
    EXPECT_EQ(api.buildValidator(nullptr, nullptr), 300);
    settings_impl::ConfigValidatorBuilder* vb = api.createValidatorBuilder();
    EXPECT_EQ(api.addFixedValues(vb, "k", nullptr, 1), 300);
    const SettingsFixedValue noText[] = {{nullptr, 1, 0}};
    EXPECT_EQ(api.addFixedValues(vb, "k", noText, 1), 300);
    EXPECT_EQ(api.addFixedValues(vb, "k", nullptr, 0), 0);
    api.destroyValidatorBuilder(vb);
    settings_impl::KeyMapperBuilder* kb = api.createKeyMapperBuilder();
    EXPECT_EQ(api.addKeyMapping(kb, "a", nullptr, true), 300);
    api.destroyKeyMapperBuilder(kb);
}

TEST(SettingsApi, QueriesFollowTheConfigurationRules) {
    Handle h;
    ASSERT_EQ(api.loadString(h.c, "hex = 0x10\nword=text\nalone\nreal=2.5", nullptr, nullptr,
                             true, true),
              0);
    int number = 0;
    bool flag = false;
    double real = 0;
    EXPECT_EQ(api.getInt(h.c, "hex", &number), 0);
    EXPECT_EQ(number, 16);
    EXPECT_EQ(text(h.c, "hex"), "0x10");
    EXPECT_EQ(api.getBool(h.c, "alone", &flag), 0);
    EXPECT_TRUE(flag);
    EXPECT_EQ(api.getReal(h.c, "real", &real), 0);
    EXPECT_DOUBLE_EQ(real, 2.5);
    EXPECT_EQ(api.getInt(h.c, "alone", &number), 301);
    EXPECT_EQ(text(h.c, "alone"), "status 301");
    EXPECT_EQ(api.getInt(h.c, "word", &number), 302);
    EXPECT_EQ(text(h.c, "missing"), "status 303");
    EXPECT_EQ(api.getBool(h.c, "missing", &flag), 303);
}

TEST(SettingsApi, LoadStopsAtTheFirstErrorAndKeepsTheConfiguration) {
    Handle h;
    ASSERT_EQ(api.loadString(h.c, "kept=1", nullptr, nullptr, true, false), 0);
    EXPECT_EQ(api.loadString(h.c, "a=1\nb=2\n  broken\nc=3", nullptr, nullptr, false, false), 313);
    EXPECT_EQ(errorLines(h.c), std::vector<unsigned>{2});
    EXPECT_NE(testsupport::readFile(Logger::defaultLogger().filePath())
                  .find("Error reading config file: \"Key without value\" at line 3; char 3"),
              std::string::npos);
    EXPECT_EQ(text(h.c, "a"), "status 303");
    EXPECT_EQ(text(h.c, "kept"), "1");
    ASSERT_EQ(api.loadString(h.c, "kept=2\nnew=x", nullptr, nullptr, true, false), 0);
    EXPECT_TRUE(errorLines(h.c).empty());
    EXPECT_EQ(text(h.c, "kept"), "2");
    EXPECT_EQ(api.loadString(h.c, "bad=\xFF", nullptr, nullptr, true, false), 314);
}

TEST(SettingsApi, FileStatusCodes) {
    Handle h;
    EXPECT_EQ(api.loadFile(h.c, tempFile("absent.cfg").c_str(), nullptr, nullptr, true, false), 304);
    const std::string thirdText = "# one\r\nkey=1\r\nno separator\r\n";
    const std::string third = writeFile("third.cfg", thirdText);
    EXPECT_EQ(api.loadFile(h.c, third.c_str(), nullptr, nullptr, true, false), 313);
    EXPECT_EQ(errorLines(h.c), std::vector<unsigned>{2});
    EXPECT_EQ(testsupport::readFile(third), thirdText);
    const std::string ff = writeFile("ff.cfg", "a=\xFF");
    EXPECT_EQ(api.loadFile(h.c, ff.c_str(), nullptr, nullptr, true, false), 314);
    std::string big(1048576, 'v');
    big.replace(0, 2, "k=");
    const std::string exact = writeFile("exact.cfg", big);
    EXPECT_EQ(api.loadFile(h.c, exact.c_str(), nullptr, nullptr, true, false), 0);
    const std::string longer = writeFile("longer.cfg", big + "v");
    EXPECT_EQ(api.loadFile(h.c, longer.c_str(), nullptr, nullptr, true, false), 315);
    EXPECT_EQ(text(h.c, "k").size(), 1048574u);
}

TEST(SettingsApi, PathStatusCodes) {
    Handle h;
    const auto load = [&](const std::string& path) {
        return api.loadFile(h.c, path.c_str(), nullptr, nullptr, true, false);
    };
    EXPECT_EQ(load("C:\\" + std::string(256, 'a')), 304);
    EXPECT_EQ(load("C:\\" + std::string(257, 'a')), 310);
    EXPECT_EQ(load("C:\\dir\\LPT1"), 311);
    EXPECT_EQ(load("C:\\dir\\what?.cfg"), 311);
    std::string climbing;
    for (int i = 0; i < 40; ++i) climbing += "..\\";
    EXPECT_EQ(load(climbing + "x.cfg"), 311);
    EXPECT_EQ(load("C:\\\xFF.cfg"), 312);
    EXPECT_EQ(api.saveFile(h.c, "C:\\dir\\NUL\\x.cfg"), 311);
}

TEST(SettingsApi, EmptyConfigurationIsSavedAsOneBlank) {
    Handle h;
    const std::string path = tempFile("empty.cfg");
    ASSERT_EQ(api.saveFile(h.c, path.c_str()), 0);
    EXPECT_EQ(testsupport::readFile(path), " ");
    Handle reloaded;
    ASSERT_EQ(api.loadFile(reloaded.c, path.c_str(), nullptr, nullptr, true, false), 0);
    bool empty = false;
    EXPECT_EQ(api.isEmpty(reloaded.c, &empty), 0);
    EXPECT_TRUE(empty);
}

TEST(SettingsApi, RoundTripKeepsTextsAndUnrelatedKeys) {
    const InstallKeys keys;
    const std::string path = writeFile(
        "roundtrip.cfg",
        "# written by hand\ninstall_silent = Enable\n/lang=0x0411\r\n"
        "INSTALLDIR=C:\\Program Files\\Calyx App\rProductCode={ABC}=x\nratio=1.50\nflag\n");
    Handle h;
    ASSERT_EQ(api.loadFile(h.c, path.c_str(), keys.validator, keys.mapper, true, true), 0);
    ASSERT_EQ(api.loadString(h.c, "AUTO_UPDATE=Disable", keys.validator, keys.mapper, true, false),
              0);
    ASSERT_EQ(api.removeKey(h.c, "ratio"), 0);
    ASSERT_EQ(api.saveFile(h.c, path.c_str()), 0);
    EXPECT_EQ(testsupport::readFile(path),
              "/lang=0x0411\r\nAUTO_UPDATE=Disable\r\nINSTALLDIR=C:\\Program Files\\Calyx App\r\n"
              "INSTALL_SILENT=Enable\r\nProductCode={ABC}=x\r\nflag\r\n");

    Handle reloaded;
    ASSERT_EQ(api.loadFile(reloaded.c, path.c_str(), keys.validator, keys.mapper, true, true), 0);
    bool equal = false;
    EXPECT_EQ(api.equals(h.c, reloaded.c, &equal), 0);
    EXPECT_TRUE(equal);
    int lang = 0;
    EXPECT_EQ(api.getInt(reloaded.c, "/lang", &lang), 0);
    EXPECT_EQ(lang, 0x411);
}

TEST(SettingsApi, NewFileGetsBareLineFeedsAndItsFolders) {
    Handle h;
    ASSERT_EQ(api.loadString(h.c, "b=2\na=1", nullptr, nullptr, true, false), 0);
    const std::string path = tempFile("new\\sub folder\\settings.cfg");
    ASSERT_EQ(api.saveFile(h.c, path.c_str()), 0);
    EXPECT_EQ(testsupport::readFile(path), "a=1\nb=2\n");
}

TEST(SettingsApi, ValidatorAndKeyMapper) {
    const InstallKeys keys;
    Handle h;
    ASSERT_EQ(api.loadString(h.c, "install_SILENT=1\n/lang=1041\nflag=yes", keys.validator,
                             keys.mapper, true, false),
              0);
    int number = -1;
    bool flag = false;
    EXPECT_EQ(api.getInt(h.c, "INSTALL_SILENT", &number), 0);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(api.getBool(h.c, "INSTALL_SILENT", &flag), 301);
    EXPECT_EQ(api.getBool(h.c, "flag", &flag), 0);
    EXPECT_TRUE(flag);
    EXPECT_EQ(api.getString(h.c, "install_SILENT", nullptr), 300);
    for (const char* bad : {"INSTALL_SILENT=enable", "unlisted=1", "INSTALLDIR=relative\\dir",
                            "/lang=many", "INSTALLDIR=C:\\a\\LPT1"}) {
        Handle other;
        EXPECT_EQ(api.loadString(other.c, bad, keys.validator, keys.mapper, true, false), 313)
            << bad;
        EXPECT_EQ(errorLines(other.c), std::vector<unsigned>{0});
    }
    Handle alone;
    EXPECT_EQ(api.loadString(alone.c, "/s", keys.validator, keys.mapper, true, true), 0);
}

TEST(SettingsApi, MergeEqualsForEachAndRemove) {
    Handle a;
    Handle b;
    ASSERT_EQ(api.loadString(a.c, "x=1\ny=2", nullptr, nullptr, true, false), 0);
    ASSERT_EQ(api.loadString(b.c, "y=3\nz", nullptr, nullptr, true, true), 0);
    bool equal = false;
    EXPECT_EQ(api.equals(a.c, a.c, &equal), 0);
    EXPECT_TRUE(equal);
    EXPECT_EQ(api.equals(a.c, b.c, &equal), 0);
    EXPECT_FALSE(equal);
    ASSERT_EQ(api.merge(a.c, b.c), 0);
    EXPECT_EQ(text(a.c, "y"), "3");

    struct Seen {
        std::vector<std::string> keys;
        std::vector<size_t> counts;
    } seen;
    const auto collect = [](settings_impl::Context*, size_t count, size_t index, const char* key,
                            void* user) {
        auto* s = static_cast<Seen*>(user);
        EXPECT_EQ(index, s->keys.size());
        s->keys.push_back(key);
        s->counts.push_back(count);
    };
    EXPECT_EQ(api.forEach(a.c, collect, &seen), 0);
    EXPECT_EQ(seen.keys, (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(seen.counts, (std::vector<size_t>{3, 3, 3}));

    EXPECT_EQ(api.removeKey(a.c, "absent"), 303);
    EXPECT_EQ(text(a.c, "x"), "1");
    EXPECT_EQ(api.removeKey(a.c, "x"), 0);
    EXPECT_EQ(text(a.c, "x"), "status 303");
    bool empty = true;
    EXPECT_EQ(api.isEmpty(a.c, &empty), 0);
    EXPECT_FALSE(empty);
}

TEST(SettingsApi, DefaultPathIsTheRuntimeSettingsFile) {
    Handle h;
    const char* path = nullptr;
    ASSERT_EQ(api.getDefaultPath(h.c, &path), 0);
    EXPECT_EQ(std::string(path), settings_impl::runtimeSettingsPath());
}
