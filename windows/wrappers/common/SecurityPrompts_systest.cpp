#include <gmock/gmock.h>

#include "DeployTestSupport.h"
#include "InstalledCalyx.h"
#include "Log.h"
#include "SecurityPrompts.h"
#include "StandinBrowser.h"
#include "StandinRegistration.h"

using ::testing::HasSubstr;

namespace {

// The one-character words after each mark in text, each with a blank: the
// stand-in's request kinds, or the pane indexes ShowDialogs logged.
std::string wordsAfter(const std::string& text, const std::string& mark) {
    std::string words;
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
        words += text.substr(at + mark.size(), 1) + " ";
    }
    return words;
}

// The restore processing and the empty-home rule; the e2e wizard check plays
// the full three panes.
TEST(SecurityPrompts, TheLibraryChoosesThePanesAndTheCompletePageAlwaysShows) {
    ui::UIThread uiThread;
    StandinRegistration registration{uiThread};
    struct Case {
        const char* home;  // "" empty; a name: a home with the stand-ins, "bare" without
        const char* steps;
        const char* panes;
        const char* requests;
        const char* logged;
    } cases[] = {
        {"", "complete\nexternal notify next", "0 ", "", "\tERROR: Empty Calyx home"},
        {"bare", "complete\nexternal notify next", "0 ", "", "DeployLibLoaderError in DeployLibLoader constructor"},
        {"prompts", "complete\nexternal notify cancel", "0 ", "1 2 3 ", "Cancel is pushed, exit ShowDialogs"},
        // No page could be shown: only the questions asked before them.
        {"prompts", "refuse", "0 ", "1 2 ", "the security settings stay as they are"},
    };
    for (const Case& c : cases) {
        const deploytest::StandInSteering steering;
        steering.answerEach(1, 1, 1, 1, 1);
        const std::string home = *c.home ? deploytest::makeHome(c.home, std::string(c.home) == "bare"
                                                                            ? deploytest::FileList()
                                                                            : deploytest::standIns())
                                         : "";
        standin::setScript(c.steps);
        const size_t logged = testsupport::readFile(Logger::defaultLogger().filePath()).size();
        FinishUIInstallationWithSecurityPrompts(
            InstalledCalyx("{8B3F1D62-E57A-41B8-A2C6-7D32180451F0}", CXR, 32, CalyxVersion("1.8.0_451"), home,
                           CALYX_MODE_NORMAL),
            false, false, "", "en");
        const std::string log = testsupport::readFile(Logger::defaultLogger().filePath()).substr(logged);
        EXPECT_EQ(c.panes, wordsAfter(log, "ShowDialogs: pane index is ")) << c.home;
        EXPECT_EQ(c.requests, wordsAfter(steering.requests(), "kind=")) << c.home;
        EXPECT_THAT(log, HasSubstr(c.logged)) << c.home;
    }
}

} // namespace
