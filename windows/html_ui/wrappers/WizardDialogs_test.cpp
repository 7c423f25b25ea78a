#include <gmock/gmock.h>

#include <fstream>
#include <map>
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

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using testsupport::recordedMessageBoxAnswer;
using testsupport::recordedMessageBoxes;

namespace {

std::vector<std::string> evals() {
    std::vector<std::string> scripts;
    for (const standin::Call& call : standin::calls()) {
        if (call.what.compare(0, 5, "eval ") == 0) scripts.push_back(call.what.substr(5));
    }
    return scripts;
}

bool pickerChooses = true;

// The picker seam: chooses D:\Chosen when asked with an owner and a title.
bool pickD(HWND owner, const std::string& title, std::string& folder) {
    if (pickerChooses && owner && !title.empty()) folder = "D:\\Chosen";
    return pickerChooses && owner && !title.empty();
}

// A page's dialog with the field values that tests/pages/contract.txt
// names in its comments; the cancel question guards welcome and folder.
std::unique_ptr<ui::Dialog> contractDialog(const std::string& page, ui::Dialog::CancelHandler* question) {
    std::unique_ptr<ui::Dialog> dialog(new PluginDisabledDialog("en"));
    if (page == "welcome") dialog.reset(new WelcomeDialog("en"));
    if (page == "restore_security") dialog.reset(new RestoreSecurityDialog("en"));
    if (auto* d = page == "change_folder" ? new ChangeFolderDialog("en", pickD) : nullptr) {
        d->folder = "C:\\It's &lt;\nCalyx";
        dialog.reset(d);
    }
    if (page == "welcome" || page == "change_folder") dialog->setCancelHandler(question);
    if (auto* d = page == "progress" ? new ProgressDialog("en") : nullptr) {
        d->banners = {"one.png", "two's.png"};
        d->switchInterval = 2000;
        dialog.reset(d);
    }
    if (auto* d = page == "error" ? new ErrorDialog("en") : nullptr) {
        d->operation = 1;
        d->errorCode = 1603;
        dialog.reset(d);
    }
    if (auto* d = page == "complete" ? new CompleteDialog("en", testsupport::recordMessageBox) : nullptr) {
        d->showSecurity = d->showRestartBrowser = d->showVerify = true;
        d->restartBrowser = false;
        dialog.reset(d);
    }
    return dialog;
}

// The fields page events change, as "<event>=<value>".
std::string state(ui::Dialog* dialog) {
    if (auto* d = dynamic_cast<WelcomeDialog*>(dialog)) return "changeFolder=" + std::to_string(d->changeFolder);
    if (auto* d = dynamic_cast<ChangeFolderDialog*>(dialog)) return "browse=" + d->folder;
    if (auto* d = dynamic_cast<RestoreSecurityDialog*>(dialog)) return "restoreSecurity=" + std::to_string(d->restoreSecurity);
    if (auto* d = dynamic_cast<CompleteDialog*>(dialog)) return "restartBrowser=" + std::to_string(d->restartBrowser);
    return "";
}

class WizardDialogs : public ::testing::Test {
protected:
    // The cancel question confirms; the restart question declines (not OK).
    void SetUp() override { recordedMessageBoxes().clear(); recordedMessageBoxAnswer() = IDYES; }
    void TearDown() override { recordedMessageBoxAnswer() = IDOK; }

    ui::UIThread uiThread;
    StandinRegistration registration{uiThread};
    CancelConfirmation question{"en", testsupport::recordMessageBox};
};

TEST_F(WizardDialogs, SendTheContractsCallsAndHandleItsEvents) {
    std::map<std::string, std::vector<std::string>> calls, events;
    std::ifstream file(testsupport::sourceDir() + "/tests/pages/contract.txt");
    std::string line, page;
    while (std::getline(file, line)) {
        const std::string kind = line.substr(0, line.find(' '));
        if (kind == "page") calls[page = line.substr(5)];
        if (kind == "call") calls[page].push_back(line.substr(5));
        if (kind == "event") events[page].push_back(line.substr(line.find(' ', 6) + 1));
    }
    ASSERT_EQ(7u, calls.size());
    const std::map<std::string, int> ending = {{"next", 2}, {"back", 3}, {"cancel", 1}};
    for (const auto& [page, expected] : calls) {
        standin::setScript("complete\nexternal notify next");
        auto dialog = contractDialog(page, &question);
        if (auto* progress = dynamic_cast<ProgressDialog*>(dialog.get())) {
            progress->show();
            std::thread([&] { progress->setProgress(300 / 7.0); }).join();
        } else {
            EXPECT_EQ(ui::DialogNext, dialog->run()) << page;
        }
        EXPECT_THAT(evals(), ElementsAreArray(expected)) << page;
        // Each event on a fresh page; one that leaves it open is followed by "next".
        for (const std::string& event : events[page]) {
            const std::string name = event.substr(0, event.find(' '));
            const bool ends = ending.count(name) > 0;
            standin::setScript("complete\nexternal notify " + event + (ends ? "" : "\nexternal notify next"));
            dialog = contractDialog(page, &question);
            std::string after = state(dialog.get());
            if (name == "browse") after = "browse=D:\\Chosen";
            if (event != name) after = name + "=" + event.substr(name.size() + 1);
            EXPECT_EQ(ends ? ending.at(name) : 2, dialog->run()) << page << " " << event;
            EXPECT_EQ(after, state(dialog.get())) << page << " " << event;
        }
    }
}

TEST_F(WizardDialogs, QuestionsAndThePickerDecideWhatFollows) {
    struct Case {
        const char* page;
        const char* steps;
        int answer;  // the box's; IDCANCEL also makes the picker decline
        int result;
        const char* state;
        UINT box;  // the question's type; 0 when none is asked
    } cases[] = {
        {"welcome", "cancel", IDYES, 1, "changeFolder=0", MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING | MB_TASKMODAL},
        {"welcome", "cancel\nexternal notify next", IDNO, 2, "changeFolder=0", MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING | MB_TASKMODAL},
        {"complete", "next", IDOK, 2, "restartBrowser=1", MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONWARNING | MB_TASKMODAL},
        {"complete", "restartBrowser 1\nexternal notify cancel", IDCANCEL, 1, "restartBrowser=1", 0},
        {"change_folder", "browse\nexternal notify next", IDCANCEL, 2, "browse=C:\\It's &lt;\nCalyx", 0},
    };
    for (const Case& c : cases) {
        recordedMessageBoxes().clear();
        recordedMessageBoxAnswer() = c.answer;
        pickerChooses = c.answer != IDCANCEL;
        standin::setScript(std::string("complete\nexternal notify ") + c.steps);
        auto dialog = contractDialog(c.page, &question);
        EXPECT_EQ(c.result, dialog->run()) << c.page << c.answer;
        EXPECT_EQ(c.state, state(dialog.get())) << c.page << c.answer;
        EXPECT_EQ(c.box, recordedMessageBoxes().empty() ? 0u : recordedMessageBoxes()[0].type) << c.page << c.answer;
        if (c.page == std::string("welcome")) {
            EXPECT_THAT(recordedMessageBoxes().at(0).text, HasSubstr("1.8.0_451"));
        }
    }
    pickerChooses = true;
}

TEST_F(WizardDialogs, AFailingPageCallIsLoggedAndTheRestStillRun) {
    standin::setScript("fail showBackButton\ncomplete\nexternal notify next");
    const size_t logged = testsupport::readFile(Logger::defaultLogger().filePath()).size();
    auto dialog = contractDialog("change_folder", nullptr);
    EXPECT_EQ(ui::DialogNext, dialog->run());
    EXPECT_THAT(evals(), ElementsAreArray({"showBackButton(1)", "setFolder('C:\\\\It\\'s &lt;\\nCalyx');"}));
    EXPECT_THAT(testsupport::readFile(Logger::defaultLogger().filePath()).substr(logged),
                HasSubstr("page call showBackButton(1) failed"));
}

TEST(ScriptText, EveryCharacterThatCouldEndOrBendTheStringIsEscaped) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\It's \"x\"", "'C:\\\\It\\'s \\\"x\\\"'"},
        {"a\r\nb\tc\x7f", "'a\\r\\nb\\u0009c\\u007f'"},
        {"\xE2\x80\xA8\xE2\x80\xA9\xC2\x85", "'\\u2028\\u2029\\u0085'"},
        {"caf\xC3\xA9 \xE2\x80\xA6", "'caf\xC3\xA9 \xE2\x80\xA6'"},
    };
    for (const auto& [text, literal] : cases) EXPECT_EQ(literal, jsString(text)) << text;
}

} // namespace
