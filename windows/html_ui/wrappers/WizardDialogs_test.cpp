#include <gmock/gmock.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <thread>

#include "CancelConfirmation.h"
#include "ChangeFolderDialog.h"
#include "CompleteDialog.h"
#include "ErrorDialog.h"
#include "Log.h"
#include "MessageBoxRecorder.h"
#include "PluginDisabledDialog.h"
#include "ProgressDialog.h"
#include "RestoreSecurityDialog.h"
#include "ScriptText.h"
#include "StandinBrowser.h"
#include "StandinRegistration.h"
#include "TestSupport.h"
#include "WelcomeDialog.h"

using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;
using testsupport::recordedMessageBoxAnswer;
using testsupport::recordedMessageBoxes;

namespace {

// The calls and events of one page in tests/pages/contract.txt.
struct ContractPage {
    std::vector<std::string> calls;
    std::vector<std::vector<std::string>> events;  // element, event, [argument]
};

std::map<std::string, ContractPage> readContract() {
    std::map<std::string, ContractPage> pages;
    std::ifstream file(testsupport::sourceDir() + "/tests/pages/contract.txt");
    std::string line, page;
    while (std::getline(file, line)) {
        std::istringstream words(line);
        std::string kind, word;
        words >> kind;
        if (kind == "page") {
            words >> page;
        } else if (kind == "call") {
            pages[page].calls.push_back(line.substr(5));
        } else if (kind == "event") {
            pages[page].events.emplace_back();
            while (words >> word) pages[page].events.back().push_back(word);
        }
    }
    return pages;
}

std::vector<std::string> evals() {
    std::vector<std::string> scripts;
    for (const standin::Call& call : standin::calls()) {
        if (call.what.compare(0, 5, "eval ") == 0) scripts.push_back(call.what.substr(5));
    }
    return scripts;
}

std::string flag(const char* name, bool value) {
    return std::string(name) + "=" + (value ? "1" : "0");
}

// What the folder picker seam does next, and what it was asked.
bool pickerChooses = true;
std::string pickerTitle;
bool pickerOwned = false;

bool pickD(HWND owner, const std::string& title, std::string& folder) {
    pickerTitle = title;
    pickerOwned = owner != nullptr;
    if (pickerChooses) folder = "D:\\Chosen";
    return pickerChooses;
}

// A page's dialog with the field values the contract's comments give, and
// the fields page events change, as text.
struct Fixture {
    std::unique_ptr<ui::Dialog> dialog;
    std::function<std::string()> state;
};

Fixture contractDialog(const std::string& page) {
    if (page == "welcome") {
        auto* d = new WelcomeDialog("en");
        return {std::unique_ptr<ui::Dialog>(d), [d] { return flag("changeFolder", d->changeFolder); }};
    }
    if (page == "change_folder") {
        auto* d = new ChangeFolderDialog("en", pickD);
        d->folder = "C:\\It's &lt;\nCalyx";
        return {std::unique_ptr<ui::Dialog>(d), [d] { return "folder=" + d->folder; }};
    }
    if (page == "progress") {
        auto* d = new ProgressDialog("en");
        d->banners = {"one.png", "two's.png"};
        d->switchInterval = 2000;
        return {std::unique_ptr<ui::Dialog>(d), [] { return std::string(); }};
    }
    if (page == "error") {
        auto* d = new ErrorDialog("en");
        d->operation = 1;
        d->errorCode = 1603;
        return {std::unique_ptr<ui::Dialog>(d), [] { return std::string(); }};
    }
    if (page == "restore_security") {
        auto* d = new RestoreSecurityDialog("en");
        return {std::unique_ptr<ui::Dialog>(d), [d] { return flag("restoreSecurity", d->restoreSecurity); }};
    }
    if (page == "complete") {
        auto* d = new CompleteDialog("en", testsupport::recordMessageBox);
        d->showSecurity = d->showRestartBrowser = d->showVerify = true;
        d->restartBrowser = false;
        return {std::unique_ptr<ui::Dialog>(d), [d] { return flag("restartBrowser", d->restartBrowser); }};
    }
    return {std::unique_ptr<ui::Dialog>(new PluginDisabledDialog("en")), [] { return std::string(); }};
}

class WizardDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        recordedMessageBoxes().clear();
        // The restart question, where a contract event raises it, declines.
        recordedMessageBoxAnswer() = IDCANCEL;
    }
    void TearDown() override { recordedMessageBoxAnswer() = IDOK; }

    ui::UIThread uiThread;
    StandinRegistration registration{uiThread};
};

TEST_F(WizardDialogs, SendTheContractsCallsAndHandleItsEvents) {
    const auto contract = readContract();
    ASSERT_EQ(7u, contract.size());
    for (const auto& [page, expected] : contract) {
        standin::setScript("complete\nexternal notify next");
        {
            Fixture fixture = contractDialog(page);
            if (auto* progress = dynamic_cast<ProgressDialog*>(fixture.dialog.get())) {
                progress->show();
                std::thread([&] { progress->setProgress(300 / 7.0); }).join();
                progress->hide();
            } else {
                EXPECT_EQ(ui::DialogNext, fixture.dialog->run()) << page;
            }
        }
        EXPECT_THAT(evals(), ElementsAreArray(expected.calls)) << page;

        for (const std::vector<std::string>& event : expected.events) {
            const std::string name = event[1];
            const std::string argument = event.size() > 2 ? event[2] : "";
            // Events that do not end the page are followed by a "next".
            const std::map<std::string, int> ending = {{"next", 2}, {"back", 3}, {"cancel", 1}};
            const bool ends = ending.count(name) > 0;
            standin::setScript("complete\nexternal notify " + name + " " + argument +
                               (ends ? "" : "\nexternal notify next"));
            Fixture fixture = contractDialog(page);
            const std::string before = fixture.state();
            EXPECT_EQ(ends ? ending.at(name) : 2, fixture.dialog->run()) << page << " " << name;
            std::string after = before;
            if (name == "browse") after = "folder=D:\\Chosen";
            if (!argument.empty()) after = name + "=" + argument;
            EXPECT_EQ(after, fixture.state()) << page << " " << name;
        }
    }
}

TEST_F(WizardDialogs, CancelQuestionDecidesWhetherTheWelcomePageCloses) {
    // Kept open, the page takes the "next" that follows.
    struct Case {
        int answer;
        const char* after;
        int result;
    } cases[] = {{IDYES, "", ui::DialogClosed}, {IDNO, "\nexternal notify next", ui::DialogNext}};
    for (const Case& c : cases) {
        recordedMessageBoxes().clear();
        recordedMessageBoxAnswer() = c.answer;
        standin::setScript(std::string("complete\nexternal notify cancel") + c.after);
        CancelConfirmation confirmation("de", testsupport::recordMessageBox);
        WelcomeDialog dialog("de");
        dialog.setCancelHandler(&confirmation);
        EXPECT_EQ(c.result, dialog.run()) << c.answer;
        ASSERT_EQ(1u, recordedMessageBoxes().size()) << c.answer;
        EXPECT_THAT(recordedMessageBoxes()[0].text, HasSubstr("1.8.0_451")) << c.answer;
        EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING | MB_TASKMODAL),
                  recordedMessageBoxes()[0].type);
    }
}

TEST_F(WizardDialogs, FolderPickerChoiceIsShownAndACancelledOneChangesNothing) {
    for (const bool chooses : {true, false}) {
        pickerChooses = chooses;
        standin::setScript("complete\nexternal notify browse\nexternal notify next");
        ChangeFolderDialog dialog("en", pickD);
        dialog.folder = "C:\\Old";
        EXPECT_EQ(ui::DialogNext, dialog.run());
        EXPECT_EQ(chooses ? "D:\\Chosen" : "C:\\Old", dialog.folder);
        EXPECT_EQ(chooses ? 3u : 2u, evals().size()) << chooses;
        EXPECT_TRUE(pickerOwned);
        EXPECT_NE("select", pickerTitle);
    }
    pickerChooses = true;
}

TEST_F(WizardDialogs, RestartQuestionOnlyWhenTheShownBoxIsClear) {
    struct Case {
        bool shown, ticked;
        int answer;
        const char* event;
        size_t asked;
        bool restart;
        int result;
    } cases[] = {
        {true, false, IDOK, "next", 1, true, ui::DialogNext},
        {true, false, IDCANCEL, "cancel", 1, false, ui::DialogClosed},
        {true, true, IDCANCEL, "next", 0, true, ui::DialogNext},
        {false, false, IDOK, "cancel", 0, false, ui::DialogClosed},
    };
    for (const Case& c : cases) {
        recordedMessageBoxes().clear();
        recordedMessageBoxAnswer() = c.answer;
        standin::setScript(std::string("complete\nexternal notify ") + c.event);
        CompleteDialog dialog("en", testsupport::recordMessageBox);
        dialog.showRestartBrowser = c.shown;
        dialog.restartBrowser = c.ticked;
        EXPECT_EQ(c.result, dialog.run()) << c.event << c.shown << c.ticked;
        EXPECT_EQ(c.asked, recordedMessageBoxes().size()) << c.event << c.shown << c.ticked;
        EXPECT_EQ(c.restart, dialog.restartBrowser) << c.event << c.shown << c.ticked;
        for (const auto& box : recordedMessageBoxes()) {
            EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONWARNING | MB_TASKMODAL), box.type);
        }
    }
}

TEST_F(WizardDialogs, AFailingPageCallIsLoggedAndTheRestStillRun) {
    standin::setScript("fail showBackButton\ncomplete\nexternal notify next");
    ChangeFolderDialog dialog("en", pickD);
    dialog.folder = "C:\\F";
    const size_t logged = testsupport::readFile(Logger::defaultLogger().filePath()).size();
    EXPECT_EQ(ui::DialogNext, dialog.run());
    EXPECT_THAT(evals(), ElementsAreArray({"showBackButton(1)", "setFolder('C:\\\\F');"}));
    const std::string log = testsupport::readFile(Logger::defaultLogger().filePath()).substr(logged);
    EXPECT_THAT(log, HasSubstr("page call showBackButton(1) failed"));
    EXPECT_THAT(log, Not(HasSubstr("load hook failed")));
}

TEST(ScriptText, EveryCharacterThatCouldEndOrBendTheStringIsEscaped) {
    struct Case {
        const char* text;
        const char* literal;
    } cases[] = {
        {"C:\\It's \"x\"", "'C:\\\\It\\'s \\\"x\\\"'"},
        {"a\r\nb\tc\x7f", "'a\\r\\nb\\u0009c\\u007f'"},
        {"\xE2\x80\xA8\xE2\x80\xA9\xC2\x85", "'\\u2028\\u2029\\u0085'"},
        {"caf\xC3\xA9 \xE2\x80\xA6", "'caf\xC3\xA9 \xE2\x80\xA6'"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.literal, jsString(c.text)) << c.text;
    }
}

} // namespace
