#include <gmock/gmock.h>

#include <memory>
#include <stdexcept>
#include <thread>

#include "Dialog.h"
#include "Log.h"
#include "StandinBrowser.h"
#include "StandinRegistration.h"
#include "TestSupport.h"
#include "UIThread.h"

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::Field;
using ::testing::HasSubstr;
using ::testing::Ne;

namespace {

class Answering : public ui::Dialog::CancelHandler {
public:
    explicit Answering(bool answer) : answer(answer) {}
    bool show() override {
        ++asked;
        return answer;
    }
    bool answer;
    int asked = 0;
};

class TestDialog : public ui::Dialog {
public:
    explicit TestDialog(ui::Dialog::CancelHandler* handler = nullptr, bool raiseOnLoad = false)
        : ui::Dialog("test.html", "de"), raiseOnLoad(raiseOnLoad) {
        setCancelHandler(handler);
    }
    void onDocumentComplete() override {
        if (raiseOnLoad) throw std::runtime_error("page function missing");
        ui::Dialog::onDocumentComplete();
    }
    bool raiseOnLoad;
};

std::string logText() {
    return testsupport::readFile(Logger::defaultLogger().filePath());
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { cookie = registerStandin(uiThread); }
    void TearDown() override { revokeStandin(uiThread, cookie); }
    ui::UIThread uiThread;
    DWORD cookie = 0;
};

TEST_F(DialogTest, PageEventsEndTheDialog) {
    // handler: -1 none, 0 refuses to close, 1 lets it close.
    struct Case {
        const char* name;
        const char* steps;
        int handler;
        int result;
        int asked;
        const char* call;
    } cases[] = {
        {"next", "complete\nexternal notify next", -1, 2, 0, "Navigate res://"},
        {"back", "complete\nexternal notify back", -1, 3, 0, "put_Visible"},
        {"cancel, no handler", "complete\nexternal notify cancel", -1, 1, 0, "Advise"},
        {"cancel refused", "complete\nexternal notify cancel\nexternal notify next", 0, 2, 1, "SetClientSite"},
        {"cancel allowed", "complete\nexternal notify cancel", 1, 1, 1, "DoVerb -5"},
        {"unknown event", "complete\nexternal notify browse\nexternal notify next", -1, 2, 0, "external notify"},
        {"load error", "error 404\nexternal notify next", -1, 2, 0, "NavigateError cancel=1"},
        {"empty fragment", "complete\nbefore http://x/#\nexternal notify next", -1, 2, 0, "BeforeNavigate2 cancel=1"},
        {"next before load", "external notify next\ncomplete", -1, 2, 0, "external notify"},
    };
    for (const Case& c : cases) {
        standin::setScript(c.steps);
        Answering answering(c.handler == 1);
        {
            TestDialog dialog(c.handler < 0 ? nullptr : &answering);
            EXPECT_EQ(c.result, dialog.run()) << c.name;
        }
        EXPECT_EQ(c.asked, answering.asked) << c.name;
        EXPECT_THAT(standin::calls(), Contains(Field(&standin::Call::what, HasSubstr(c.call)))) << c.name;
        EXPECT_THAT(standin::calls(), Contains(Field(&standin::Call::what, "SetClientSite null"))) << c.name;
    }
}

TEST_F(DialogTest, ShowReturnsWithoutALoadEvent) {
    struct Case {
        const char* name;
        const char* steps;
        bool raiseOnLoad;
        const char* logged;
    } cases[] = {
        {"silent control", "", false, "ERROR: the page did not load within 300 ms"},
        {"raising load hook", "complete", true, "page function missing"},
    };
    ui::Dialog::setLoadWaitLimit(300);
    for (const Case& c : cases) {
        standin::setScript(c.steps);
        TestDialog dialog(nullptr, c.raiseOnLoad);
        dialog.show();
        EXPECT_THAT(logText(), HasSubstr(c.logged)) << c.name;
    }
    ui::Dialog::setLoadWaitLimit(30000);
}

TEST_F(DialogTest, ScriptFromAWorkerRunsOnTheUIThread) {
    standin::setScript("answer 42\ncomplete");
    TestDialog dialog;
    dialog.show();
    std::string value;
    DWORD worker = 0;
    std::thread([&] {
        worker = GetCurrentThreadId();
        value = dialog.execJScript("6*7");
    }).join();
    EXPECT_EQ("42", value);
    const auto calls = standin::calls();
    ASSERT_THAT(calls, Contains(Field(&standin::Call::what, "eval 6*7")));
    const unsigned long uiThreadId = calls.front().thread;
    EXPECT_THAT(uiThreadId, AllOf(Ne(GetCurrentThreadId()), Ne(worker)));
    for (const standin::Call& call : calls) {
        EXPECT_EQ(uiThreadId, call.thread) << call.what;
    }
}

TEST(UIThread, TwoDialogsShareOneThreadThatEndsAfterBoth) {
    standin::setScript("complete\nexternal notify next\nend\ncomplete\nexternal notify back");
    unsigned long uiThreadId = 0;
    {
        TestDialog first;
        {
            // Registers while the first dialog keeps the thread.
            ui::UIThread registering;
            registerStandin(registering);
        }
        TestDialog second;
        EXPECT_EQ(2, first.run());
        EXPECT_EQ(3, second.run());
        const auto calls = standin::calls();
        ASSERT_FALSE(calls.empty());
        uiThreadId = calls.front().thread;
        EXPECT_EQ(2, std::count_if(calls.begin(), calls.end(), [](const standin::Call& call) {
                      return call.what.compare(0, 9, "Navigate ") == 0;
                  }));
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
    ui::UIThread next;
    DWORD second = 0;
    next.execute([&] { second = GetCurrentThreadId(); });
    EXPECT_NE(0u, second);
}

} // namespace
