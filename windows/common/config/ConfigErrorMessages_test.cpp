#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConfigErrorMessages.h"
#include "FileTestSupport.h"
#include "Locale.h"
#include "MessageBoxRecorder.h"

namespace {

using testsupport::recordedMessageBoxes;

const int kCodesWithMessages[] = {200, 304, 305, 306, 307, 310, 311, 312, 313, 314, 315, 3090};

class ConfigErrorMessagesTest : public ::testing::Test {
protected:
    void SetUp() override { recordedMessageBoxes().clear(); }
    ConfigErrorMessages messages{nullptr, 1033, testsupport::recordMessageBox};
};

} // namespace

TEST(ConfigErrorMessagesIds, EachCodeHasItsString) {
    const std::vector<std::pair<int, unsigned>> expected = {
        {200, 3082}, {300, 3086}, {304, 3075}, {305, 3078}, {306, 3080},
        {307, 3081}, {308, 3083}, {309, 3084}, {310, 3074}, {311, 3077},
        {312, 3087}, {313, 3079}, {314, 3076}, {315, 3088}, {3090, 3089}};
    for (const auto& entry : expected) {
        EXPECT_EQ(ConfigErrorMessages::stringId(entry.first), entry.second) << entry.first;
    }
    EXPECT_EQ(ConfigErrorMessages::stringId(0), 0u);
    EXPECT_EQ(ConfigErrorMessages::stringId(301), 0u);
    EXPECT_EQ(ConfigErrorMessages::stringId(3089), 0u);
}

TEST_F(ConfigErrorMessagesTest, TextsFilledInOrder) {
    EXPECT_EQ(messages.text(313, "C:\\cfg.txt", "7", 1033),
              "Unable to install Calyx\n\nConfiguration file C:\\cfg.txt is malformed in line 7.\n"
              "Check data and formatting of the file.");
    EXPECT_EQ(messages.text(3090, "\"/x\";\"/y\";", "", 1033),
              "Unable to install Calyx\n\nThere are errors in the following switches:\n"
              "\"/x\";\"/y\";.\n\nCheck that the commands are valid and try again.");
    EXPECT_EQ(messages.text(306, "ignored", "", 1033),
              "Unable to install Calyx\n\nWriting to the runtime configuration file failed.\n"
              "Check permissions and settings.");
    // A path holding "%s" is shown as it is, not expanded again.
    EXPECT_NE(messages.text(304, "C:\\%s\\x.cfg", "", 1033).find("open file C:\\%s\\x.cfg."),
              std::string::npos);
    EXPECT_EQ(messages.text(12, "x", "", 1033), "");
}

TEST_F(ConfigErrorMessagesTest, EveryLanguageFillsEveryMessage) {
    for (const Locale& locale : Locale::all()) {
        for (int code : kCodesWithMessages) {
            const std::string text = messages.text(code, "ARG", "LINE", locale.langId());
            EXPECT_FALSE(text.empty()) << code << " " << locale.name();
            EXPECT_EQ(text.find("%s"), std::string::npos) << code << " " << locale.name();
            const bool takesArgument = code == 304 || code == 305 || code == 307 || code >= 313;
            if (takesArgument) {
                EXPECT_NE(text.find("ARG"), std::string::npos) << code << " " << locale.name();
            }
            if (code == 313) {
                EXPECT_LT(text.find("ARG"), text.find("LINE")) << locale.name();
            }
        }
    }
}

TEST_F(ConfigErrorMessagesTest, ShownInErrorBoxAndLoggedInEnglish) {
    messages.setLanguage(1031);
    EXPECT_FALSE(messages.show(315, "D:\\big.cfg", "", false));
    ASSERT_EQ(recordedMessageBoxes().size(), 1u);
    EXPECT_EQ(recordedMessageBoxes()[0].title, "Calyx-Installation nicht abgeschlossen");
    EXPECT_NE(recordedMessageBoxes()[0].text.find("Die Konfigurationsdatei D:\\big.cfg ist zu lang."),
              std::string::npos);
    EXPECT_EQ(recordedMessageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(recordedMessageBoxes()[0].owned);
    EXPECT_NE(testsupport::logText().find("Configuration file D:\\big.cfg is too long."),
              std::string::npos);
}

TEST_F(ConfigErrorMessagesTest, SilentOnlyLogs) {
    EXPECT_FALSE(messages.show(304, "E:\\silent.cfg", "", true));
    EXPECT_TRUE(recordedMessageBoxes().empty());
    EXPECT_NE(testsupport::logText().find("Unable to open file E:\\silent.cfg."),
              std::string::npos);
}

TEST_F(ConfigErrorMessagesTest, SuccessLogOnlyAndUnknownCodes) {
    EXPECT_TRUE(messages.show(0, "x", "", false));
    EXPECT_FALSE(messages.show(300, "x", "", false));
    EXPECT_FALSE(messages.show(309, "x", "", false));
    EXPECT_FALSE(messages.show(4711, "x", "", false));
    EXPECT_TRUE(recordedMessageBoxes().empty());
    const std::string log = testsupport::logText();
    EXPECT_NE(log.find("IDS_ERROR_INVALID_PARAMETER"), std::string::npos);
    EXPECT_NE(log.find("IDS_ERROR_REMOVE_MESSAGE"), std::string::npos);
    EXPECT_NE(log.find("Unknown Error code 4711"), std::string::npos);
}
