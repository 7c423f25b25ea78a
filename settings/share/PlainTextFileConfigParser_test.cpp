#include <gtest/gtest.h>

#include "Config.h"
#include "ConfigBuilder.h"
#include "ConfigValidatorBuilder.h"
#include "KeyMappers.h"
#include "PlainTextFileConfigParser.h"
#include "SettingsStatusOf.h"
#include "StringBuffer.h"

using namespace settings_impl;

namespace {

struct RecordingListener : IParserErrorListener {
    std::vector<std::string> messages;
    std::vector<unsigned> lines;
    void onError(const IParserCursor& cursor, const std::string& message) override {
        messages.push_back(message);
        lines.push_back(cursor.lineIndex());
    }
};

struct Parse {
    RecordingListener listener;
    std::unique_ptr<Config> config;

    explicit Parse(const std::string& text, bool allowKeyWithoutValue = false,
                   bool stopOnError = true, const ConfigValidator* validator = nullptr,
                   const IKeyMapper* mapper = nullptr) {
        PlainTextFileConfigParser parser(std::make_unique<StringBuffer>(text));
        parser.setErrorListener(&listener);
        parser.setAllowKeyWithoutValue(allowKeyWithoutValue);
        parser.setStopOnError(stopOnError);
        parser.setValidator(validator);
        parser.setKeyMapper(mapper);
        config = parser.parse();
    }
};

} // namespace

TEST(SettingsParser, KeySeparatorValue) {
    const Parse p("a = b = c\nkey two:  x:y # z \n\tpad\t=\t v  a l \t\nq=\"quoted\"\nempty=");
    ASSERT_TRUE(p.config);
    EXPECT_EQ(p.config->getString("a"), "b = c");
    EXPECT_EQ(p.config->getString("key two"), "x:y # z");
    EXPECT_EQ(p.config->getString("pad"), "v  a l");
    EXPECT_EQ(p.config->getString("q"), "\"quoted\"");
    EXPECT_EQ(p.config->getString("empty"), "");
    EXPECT_EQ(p.config->getType("a"), ConfigValue::RAW_TEXT);
    EXPECT_TRUE(p.listener.messages.empty());
}

TEST(SettingsParser, CommentsAndBlankLines) {
    const Parse p("# top\n   # indented = no\n \t \n\nk=v#not a comment\nk#2=x");
    ASSERT_TRUE(p.config);
    EXPECT_EQ(p.config->keys(), (std::vector<std::string>{"k", "k#2"}));
    EXPECT_EQ(p.config->getString("k"), "v#not a comment");
}

TEST(SettingsParser, EmptyKeyIsLocated) {
    const Parse first("=x");
    EXPECT_FALSE(first.config);
    EXPECT_EQ(first.listener.messages, std::vector<std::string>{"\"Empty key\" at line 1; char 1"});
    const Parse indented("a=1\n  : x");
    EXPECT_EQ(indented.listener.messages,
              std::vector<std::string>{"\"Empty key\" at line 2; char 3"});
}

TEST(SettingsParser, KeyWithoutValue) {
    const Parse refused("a=1\n  lonely key  \n");
    EXPECT_FALSE(refused.config);
    EXPECT_EQ(refused.listener.messages,
              std::vector<std::string>{"\"Key without value\" at line 2; char 3"});
    const Parse allowed("a=1\n  lonely key  \n", true);
    ASSERT_TRUE(allowed.config);
    EXPECT_FALSE(allowed.config->hasValue("lonely key"));
}

TEST(SettingsParser, MixedLineEndsCountEveryLine) {
    const Parse p("a=1\r\nb=2\rc=3\nd=4");
    ASSERT_TRUE(p.config);
    EXPECT_EQ(p.config->keys().size(), 4u);
    EXPECT_EQ(p.config->getString("b"), "2");
    const Parse bad("a=1\r\nb=2\rc=3\nbroken");
    EXPECT_EQ(bad.listener.messages,
              std::vector<std::string>{"\"Key without value\" at line 4; char 1"});
    const Parse lfcr("a=1\n\rbroken");
    EXPECT_EQ(lfcr.listener.lines, std::vector<unsigned>{2});
    const Parse crcrlf("a=1\r\r\nbroken");
    EXPECT_EQ(crcrlf.listener.lines, std::vector<unsigned>{2});
}

TEST(SettingsParser, LaterLineWins) {
    const Parse p("k=1\nother=x\nk=2\n");
    ASSERT_TRUE(p.config);
    EXPECT_EQ(p.config->getString("k"), "2");
}

TEST(SettingsParser, StopOnErrorClearGoesOn) {
    const Parse p("=1\nok=1\nbad\nalso=2", false, false);
    ASSERT_TRUE(p.config);
    EXPECT_EQ(p.config->keys(), (std::vector<std::string>{"also", "ok"}));
    EXPECT_EQ(p.listener.lines, (std::vector<unsigned>{0, 2}));
}

TEST(SettingsParser, ValidatorAndKeyMapper) {
    ConfigValidatorBuilder vb;
    vb.addType("Count", ConfigValue::INTEGER);
    vb.addFixedValues("Mode", {{"On", 1, 1}, {"Off", 0, 1}});
    const auto validator = vb.build();
    KeyMapperBuilder kb;
    kb.addKeyMapping("count", "Count", false);
    const auto mapper = kb.build();

    const Parse good("COUNT=0x10\nMode=On\nunlisted", true, true, validator.get(), mapper.get());
    ASSERT_TRUE(good.config);
    EXPECT_EQ(good.config->getInt("Count"), 16);
    EXPECT_EQ(good.config->getString("Count"), "0x10");
    EXPECT_EQ(good.config->getInt("Mode"), 1);
    EXPECT_FALSE(good.config->hasValue("unlisted"));

    const Parse badKey("Count=1\nother=1", false, true, validator.get(), mapper.get());
    EXPECT_EQ(badKey.listener.messages,
              std::vector<std::string>{"\"Invalid key\" at line 2; char 1"});
    const Parse badValue("Mode=on", false, true, validator.get(), mapper.get());
    EXPECT_EQ(badValue.listener.messages,
              std::vector<std::string>{"\"Invalid value\" at line 1; char 1"});
    const Parse badNumber(" count = many", false, true, validator.get(), mapper.get());
    EXPECT_EQ(badNumber.listener.messages,
              std::vector<std::string>{"\"Invalid value\" at line 1; char 2"});
}

TEST(SettingsParser, NotPlainTextEndsTheParse) {
    PlainTextFileConfigParser parser(std::make_unique<StringBuffer>("a=1\nb=\xFF"));
    EXPECT_EQ(settingsStatusOf([&] { parser.parse(); }), 314);
}

TEST(SettingsParser, ListenerMayEndTheParse) {
    struct Throwing : IParserErrorListener {
        void onError(const IParserCursor&, const std::string&) override {
            throw settings::Exception(313);
        }
    } listener;
    PlainTextFileConfigParser parser(std::make_unique<StringBuffer>("ok=1\nbad\n"));
    parser.setErrorListener(&listener);
    parser.setStopOnError(false);
    EXPECT_THROW(parser.parse(), settings::Exception);
}

TEST(SettingsParser, ErrorTexts) {
    EXPECT_STREQ(ConfigBuilder::errorText(301), "Key without value");
    EXPECT_STREQ(ConfigBuilder::errorText(305), "Invalid comment");
    EXPECT_STREQ(ConfigBuilder::errorText(313), "Unknown error");
    EXPECT_EQ(PlainTextFileConfigParser::Cursor(41, 0).text(), "line 42; char 1");
}

TEST(SettingsParser, RejectedCommentIsAnError) {
    struct Rejecting : IConfigParserCallback {
        std::vector<int> codes;
        bool onComment(const IParserCursor&, const std::string& text) override {
            return text != "# no";
        }
        int onKeyValue(const IParserCursor&, const std::string&,
                       const std::optional<std::string>&) override {
            return 300;
        }
        void onError(const IParserCursor&, int code) override { codes.push_back(code); }
    } callback;
    EXPECT_FALSE(PlainTextFileConfigParser::scan("# yes\n  # no\nk=v", callback, false, false));
    EXPECT_EQ(callback.codes, std::vector<int>{305});
}
