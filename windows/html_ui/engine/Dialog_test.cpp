#include <gmock/gmock.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "Dialog.h"
#include "Log.h"
#include "StandinBrowser.h"
#include "StandinRegistration.h"
#include "TestSupport.h"

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ContainsRegex;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::Ne;

namespace {

struct Answering : ui::Dialog::CancelHandler {
    explicit Answering(bool answer) : answer(answer) {}
    bool show() override { return ++asked, answer; }
    bool answer;
    int asked = 0;
};

class TestDialog : public ui::Dialog {
public:
    explicit TestDialog(ui::Dialog::CancelHandler* handler = nullptr, const std::string& page = "test.html",
                        bool raiseOnLoad = false)
        : ui::Dialog(page, "de"), raiseOnLoad(raiseOnLoad) {
        setCancelHandler(handler);
    }
    void onDocumentComplete() override {
        if (raiseOnLoad) throw std::runtime_error("page function missing");
        ui::Dialog::onDocumentComplete();
    }
    bool raiseOnLoad;
};

// Records, at each load, whether its window was already showing.
class ReloadingDialog : public ui::Dialog {
public:
    ReloadingDialog() : ui::Dialog("reload.html", "de") {}
    using ui::Dialog::windowHandle;
    void onDocumentComplete() override {
        visibleAtLoad.push_back(IsWindowVisible(windowHandle()) != FALSE);
        ui::Dialog::onDocumentComplete();
    }
    bool closeGreyed() const {
        return (GetMenuState(GetSystemMenu(windowHandle(), FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }
    std::vector<bool> visibleAtLoad;
};

std::string logText() {
    return testsupport::readFile(Logger::defaultLogger().filePath());
}

TEST(Dialog, PageEventsEndTheDialog) {
    // handler: -1 none, 0 refuses to close, 1 lets it close. A row's page
    // name is its own, so that its log lines are its own too.
    struct Case {
        const char* page;
        const char* steps;
        int handler;
        bool raiseOnLoad;
        int result;
        int asked;
        const char* call;    // a call the stand-in saw, or
        const char* logged;  // a pattern of a log line
    } cases[] = {
        {"next.html", "complete\nexternal notify next", -1, false, 2, 0, "Navigate res://", nullptr},
        {"back.html", "complete\nexternal notify back", -1, false, 3, 0, "put_Visible", nullptr},
        {"cancel.html", "complete\nexternal notify cancel", -1, false, 1, 0, "Advise", nullptr},
        {"refused.html", "complete\nexternal notify cancel\nexternal notify next", 0, false, 2, 1, "SetClientSite", nullptr},
        {"allowed.html", "complete\nexternal notify cancel", 1, false, 1, 1, "DoVerb -5", nullptr},
        {"browse.html", "complete\nexternal notify browse\nexternal notify next", -1, false, 2, 0, "external notify", nullptr},
        // A page that never loaded and that nothing ended raises (-1): no one could answer it.
        {"missing.html", "error 404", -1, false, -1, 0, "NavigateError cancel=1", nullptr},
        {"never.html", "", -1, false, -1, 0, nullptr, "did not load within 300 ms: .*never\\.html"},
        {"link.html", "complete\nbefore http://x/#\nexternal notify next", -1, false, 2, 0, "BeforeNavigate2 cancel=1", nullptr},
        {"away.html", "complete\nbefore res://C:/other.exe/x.html\nexternal notify next", -1, false, 2, 0, "BeforeNavigate2 cancel=1", nullptr},
        {"own.html", "complete\nbefore\nexternal notify next", -1, false, 2, 0, "BeforeNavigate2 cancel=0", nullptr},
        {"popup.html", "complete\nnewwindow\nexternal notify next", -1, false, 2, 0, "NewWindow3 cancel=1", nullptr},
        {"foreign.html", "complete\nlocation http://evil.example/\nexternal notify next\nlocation\nexternal notify back", -1, false, 3, 0,
         nullptr, "external.notify refused: the control shows a page of another origin"},
        {"early.html", "external notify next\ncomplete", -1, false, 2, 0, "SetAdvise null", nullptr},
        {"silent.html", "external notify next", -1, false, 2, 0, nullptr, "did not load within 300 ms: .*silent\\.html"},
        {"raising.html", "complete", -1, true, -1, 0, nullptr, "load hook failed; handled as a navigation error"},
    };
    ui::UIThread uiThread;
    StandinRegistration registration(uiThread);
    ui::Dialog::setLoadWaitLimit(300);
    for (const Case& c : cases) {
        standin::setScript(c.steps);
        Answering answering(c.handler == 1);
        {
            TestDialog dialog(c.handler < 0 ? nullptr : &answering, c.page, c.raiseOnLoad);
            if (c.result < 0) {
                EXPECT_THROW(dialog.run(), ui::PageNotShown) << c.page;
            } else {
                EXPECT_EQ(c.result, dialog.run()) << c.page;
            }
        }
        EXPECT_EQ(c.asked, answering.asked) << c.page;
        if (c.call) {
            EXPECT_THAT(standin::calls(), Contains(Field(&standin::Call::what, HasSubstr(c.call)))) << c.page;
        } else {
            EXPECT_THAT(logText(), ContainsRegex(c.logged)) << c.page;
        }
    }
    ui::Dialog::setLoadWaitLimit(30000);
}

// A late load event of an ended page reaches no one; a page shown again stays
// where the user moved it.
TEST(Dialog, AReshownDialogWaitsForItsReloadKeepsItsPlaceAndThePageKeepsItsCloseBoxGreyed) {
    ui::UIThread uiThread;
    StandinRegistration registration(uiThread);
    const std::string page = "external setWindowProp closeButton 0\npause 300\ncomplete\nexternal notify next\n";
    standin::setScript(page + "pause 100\ncomplete\nend\n" + page + "end\n");
    ReloadingDialog dialog;
    EXPECT_EQ(dialog.run(), 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    SetWindowPos(dialog.windowHandle(), nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(dialog.run(), 2);
    RECT placed = {};
    EXPECT_TRUE(GetWindowRect(dialog.windowHandle(), &placed) && placed.left == 7 && placed.top == 9);
    EXPECT_EQ(dialog.visibleAtLoad, std::vector<bool>({false, false}));
    EXPECT_TRUE(dialog.closeGreyed());
}

TEST(UIThread, TwoDialogsShareOneThreadThatRunsScriptForWorkersAndEndsAfterBoth) {
    standin::setScript("answer 42\ncomplete\nexternal notify next\nend\ncomplete\nexternal notify back");
    unsigned long uiThreadId = 0;
    {
        ui::UIThread registering;
        StandinRegistration registration(registering);
        TestDialog first;
        TestDialog second;
        EXPECT_EQ(ui::DialogNext, first.run());
        EXPECT_EQ(ui::DialogBack, second.run());
        std::string value;
        DWORD worker = 0;
        std::thread([&] {
            worker = GetCurrentThreadId();
            value = first.execJScript("6*7");
        }).join();
        EXPECT_EQ("42", value);
        const auto calls = standin::calls();
        ASSERT_THAT(calls, Contains(Field(&standin::Call::what, "eval 6*7")));
        uiThreadId = calls.front().thread;
        EXPECT_THAT(uiThreadId, AllOf(Ne(GetCurrentThreadId()), Ne(worker)));
        for (const standin::Call& call : calls) {
            EXPECT_EQ(uiThreadId, call.thread) << call.what;
        }
    }
    const HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, uiThreadId);
    EXPECT_TRUE(thread == nullptr || WaitForSingleObject(thread, 0) == WAIT_OBJECT_0);
    if (thread) CloseHandle(thread);
}

TEST(UIThread, LastHandleDroppedOnTheUIThreadEndsIt) {
    auto* handle = new ui::UIThread;
    DWORD first = 0;
    handle->execute([&] {
        first = GetCurrentThreadId();
        delete handle;
    });
    const HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, first);
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
    CloseHandle(thread);
}

} // namespace
