#include <gmock/gmock.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include "CalyxScrubCompleteDialog.h"
#include "CalyxScrubDRSDialog.h"
#include "CalyxScrubDialog.h"
#include "CalyxScrubProgressDialog.h"
#include "CalyxScrubVersionsDialog.h"
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

InstalledCalyx record(const char* version, int bits) {
    return InstalledCalyx("{5E1F7A00-0C4B-4D2E-9A11-000000000001}", CXR, bits, CalyxVersion(version), "", CALYX_MODE_NORMAL);
}

// A page's dialog with the field values that tests/pages/contract.txt
// names in its comments; the cancel question guards welcome and folder.
std::unique_ptr<ui::Dialog> contractDialog(const std::string& page, ui::Dialog::CancelHandler* question) {
    const std::map<std::string, std::function<ui::Dialog*()>> make = {
        {"welcome", [] { return new WelcomeDialog("en"); }},
        {"change_folder", [] { auto* d = new ChangeFolderDialog("en", pickD); d->folder = "C:\\It's &lt;\nCalyx"; return d; }},
        {"progress", [] { auto* d = new ProgressDialog("en"); d->banners = {"one.png", "two's.png"}, d->switchInterval = 2000; return d; }},
        {"error", [] { auto* d = new ErrorDialog("en"); d->operation = 1, d->errorCode = 1603; return d; }},
        {"plugin_disabled", [] { return new PluginDisabledDialog("en"); }},
        {"restore_security", [] { return new RestoreSecurityDialog("en"); }},
        {"complete", [] {
             auto* d = new CompleteDialog("en", testsupport::recordMessageBox);
             d->showSecurity = d->showRestartBrowser = d->showVerify = true, d->restartBrowser = false;
             return d;
         }},
        {"calyxscrub", [] { return new cxscrub::ui::CalyxScrubDialog("en"); }},
        {"calyxscrub_versions", [] {
             auto* d = new cxscrub::ui::CalyxScrubVersionsDialog("en");
             d->items = {{true, record("1.6.0_45", 32)}, {true, record("1.8.0_401", 64)}};
             return d;
         }},
        {"calyxscrub_progress", [] { auto* d = new cxscrub::ui::CalyxScrubProgressDialog("en"); d->completed = true; return d; }},
        {"calyxscrub_complete", [] {
             auto* d = new cxscrub::ui::CalyxScrubCompleteDialog("en");
             d->removed = {record("1.6.0_45", 32)}, d->remaining = {record("1.8.0_401", 64)};
             return d;
         }},
        {"calyxscrub_drs", [] { auto* d = new cxscrub::ui::CalyxScrubDRSDialog("en"); d->records = {record("1.6.0_45", 32)}; return d; }},
    };
    std::unique_ptr<ui::Dialog> dialog(make.at(page)());
    if (page == "welcome" || page == "change_folder") dialog->setCancelHandler(question);
    return dialog;
}

// The fields page events change, as "<event>=<value>".
std::string state(ui::Dialog* dialog) {
    if (auto* d = dynamic_cast<WelcomeDialog*>(dialog)) return "changeFolder=" + std::to_string(d->changeFolder);
    if (auto* d = dynamic_cast<ChangeFolderDialog*>(dialog)) return "browse=" + d->folder;
    if (auto* d = dynamic_cast<RestoreSecurityDialog*>(dialog)) return "restoreSecurity=" + std::to_string(d->restoreSecurity);
    if (auto* d = dynamic_cast<CompleteDialog*>(dialog)) return "restartBrowser=" + std::to_string(d->restartBrowser);
    if (auto* d = dynamic_cast<cxscrub::ui::CalyxScrubVersionsDialog*>(dialog)) {
        std::string status = "checkbox_clicked=";
        for (const auto& item : d->items) status += item.checked ? '1' : '0';
        return status;
    }
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
        // "<event> [argument]"; a second argument is for the page suite only.
        std::istringstream words(line);
        std::string id, event, argument;
        words >> id >> id >> event >> argument;
        if (kind == "event") events[page].push_back(argument.empty() ? event : event + " " + argument);
    }
    ASSERT_EQ(12u, calls.size());
    const std::map<std::string, int> ending = {{"next", 2}, {"back", 3}, {"cancel", 1}};
    for (const auto& [page, expected] : calls) {
        // The first call fails: it is logged, and the others still reach the page.
        const std::string failing = expected.empty() ? "" : expected[0].substr(0, expected[0].find('('));
        standin::setScript("fail " + failing + "\ncomplete\nexternal notify next");
        const size_t logged = testsupport::readFile(Logger::defaultLogger().filePath()).size();
        auto dialog = contractDialog(page, &question);
        if (auto* progress = dynamic_cast<ProgressDialog*>(dialog.get())) {
            progress->show();
            std::thread([&] { progress->setProgress(300 / 7.0); }).join();
        } else {
            EXPECT_EQ(ui::DialogNext, dialog->run()) << page;
        }
        EXPECT_THAT(evals(), ElementsAreArray(expected)) << page;
        EXPECT_THAT(testsupport::readFile(Logger::defaultLogger().filePath()).substr(logged),
                    HasSubstr(expected.empty() ? "" : "page call " + expected[0] + " failed"));
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

// The contract's own events already answer the cancel question Yes and the
// restart question not OK, and the picker choose.
TEST_F(WizardDialogs, QuestionsAndThePickerDecideWhatFollows) {
    struct Case {
        const char* page;
        const char* steps;
        int answer;  // the box's; IDCANCEL also makes the picker decline
        int result;
        const char* state;
    } cases[] = {
        {"welcome", "cancel\nexternal notify next", IDNO, 2, "changeFolder=0"},
        {"complete", "next", IDOK, 2, "restartBrowser=1"},
        {"change_folder", "browse\nexternal notify next", IDCANCEL, 2, "browse=C:\\It's &lt;\nCalyx"},
    };
    for (const Case& c : cases) {
        recordedMessageBoxAnswer() = c.answer;
        pickerChooses = c.answer != IDCANCEL;
        standin::setScript(std::string("complete\nexternal notify ") + c.steps);
        auto dialog = contractDialog(c.page, &question);
        EXPECT_EQ(c.result, dialog->run()) << c.page;
        EXPECT_EQ(c.state, state(dialog.get())) << c.page;
    }
    pickerChooses = true;
    ASSERT_EQ(2u, recordedMessageBoxes().size());
    EXPECT_THAT(recordedMessageBoxes()[0].text, HasSubstr("1.8.0_451"));
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING | MB_TASKMODAL), recordedMessageBoxes()[0].type);
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_DEFBUTTON2 | MB_ICONWARNING | MB_TASKMODAL), recordedMessageBoxes()[1].type);
}

TEST(ScriptText, EveryCharacterThatCouldEndOrBendTheStringIsEscaped) {
    EXPECT_EQ("'\\\"\\r\\u0009\\u007f caf\xC3\xA9'", jsString("\"\r\t\x7f caf\xC3\xA9"));
    EXPECT_EQ("'\\u2028\\u2029\\u0085'", jsString("\xE2\x80\xA8\xE2\x80\xA9\xC2\x85"));
}

} // namespace
