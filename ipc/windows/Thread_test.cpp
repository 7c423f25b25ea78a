#include <gtest/gtest.h>

#include <windows.h>

#include <ipc/Thread.h>

#include <stdexcept>

#include "TestSupport.h"

namespace {

std::string logText() {
    return testsupport::readFile(testsupport::tempDir() + "\\cxtimer.log");
}

DWORD exitCodeOf(ipc::Thread::Id id) {
    HANDLE h = OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, id);
    EXPECT_NE(h, nullptr);
    WaitForSingleObject(h, INFINITE);
    DWORD code = 12345;
    GetExitCodeThread(h, &code);
    CloseHandle(h);
    return code;
}

struct Recorder : ipc::Runnable {
    void run() override { runOn = GetCurrentThreadId(); }
    DWORD runOn = 0;
};

struct Raiser : ipc::Runnable {
    void run() override { throw std::runtime_error("runnable gave up"); }
};

struct Counted : ipc::Runnable {
    explicit Counted(int& alive, bool raise) : alive(alive), raise(raise) { ++alive; }
    ~Counted() override { --alive; }
    void run() override {
        if (raise) throw 7;
    }
    int& alive;
    bool raise;
};

// Stays running until its event is set.
struct Blocker : ipc::Runnable {
    Blocker() : release(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Blocker() override { CloseHandle(release); }
    void run() override { WaitForSingleObject(release, INFINITE); }
    HANDLE release;
};

DWORD WINAPI runBlocker(void* blocker) {
    static_cast<Blocker*>(blocker)->run();
    return 0;
}

} // namespace

TEST(Thread, StartWithoutRunnableStartsNothing) {
    EXPECT_EQ(ipc::Thread::start(nullptr, false), static_cast<ipc::Thread::Id>(-1));
    EXPECT_EQ(ipc::Thread::start(nullptr, true), ipc::Thread::NoThread);
}

TEST(Thread, RunsTheRunnableOnTheNewThread) {
    Recorder r;
    const ipc::Thread::Id id = ipc::Thread::start(&r, false);
    ipc::Thread::join(id);
    EXPECT_EQ(r.runOn, id);
    EXPECT_NE(r.runOn, ipc::Thread::getCurrent().getId());
}

TEST(Thread, RaisingRunnableEndsWithExitCode1AndOneLogRecord) {
    Raiser r;
    const ipc::Thread::Id id = ipc::Thread::start(&r, false);
    EXPECT_EQ(exitCodeOf(id), 1u);
    ipc::Thread::join(id);
    const std::string log = logText();
    const std::string record = "(ipc::`anonymous-namespace'::ThreadFunction)]\r\n\tERROR: "
                               "Exception with message 'runnable gave up' caught";
    EXPECT_NE(log.find(record), std::string::npos) << log;
    EXPECT_EQ(log.find(record), log.rfind(record)) << log;
    EXPECT_EQ(log.find("ThreadFunction"), log.rfind("ThreadFunction")) << log;

    Recorder fine;
    const ipc::Thread::Id other = ipc::Thread::start(&fine, false);
    EXPECT_EQ(exitCodeOf(other), 0u);
    ipc::Thread::join(other);
}

TEST(Thread, OwnedRunnableIsDestroyedAfterItsRunAlsoWhenItRaises) {
    int alive = 0;
    const ipc::Thread::Id quiet = ipc::Thread::start(new Counted(alive, false), true);
    const ipc::Thread::Id raising = ipc::Thread::start(new Counted(alive, true), true);
    ipc::Thread::join(quiet);
    ipc::Thread::join(raising);
    EXPECT_EQ(alive, 0);
    EXPECT_NE(logText().find("Unknown exception caught"), std::string::npos);
}

TEST(Thread, JoinOnEndedThreadReturnsAtOnce) {
    Recorder r;
    const ipc::Thread::Id id = ipc::Thread::start(&r, false);
    exitCodeOf(id);
    ipc::Thread::join(id);
    ipc::Thread::join(id);
    EXPECT_EQ(r.runOn, id);
}

TEST(Thread, JoinWaitsForARunningThread) {
    Blocker b;
    const ipc::Thread::Id id = ipc::Thread::start(&b, false);
    HANDLE h = OpenThread(SYNCHRONIZE, FALSE, id);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(WaitForSingleObject(h, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(b.release);
    ipc::Thread::join(id);
    EXPECT_EQ(WaitForSingleObject(h, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(h);
}

// A thread that start() did not make is opened by id and waited for; the
// current thread is never waited for.
TEST(Thread, JoinWaitsForAThreadItDidNotStart) {
    Blocker b;
    HANDLE foreign = CreateThread(nullptr, 0, runBlocker, &b, 0, nullptr);
    ASSERT_NE(foreign, nullptr);
    struct Joiner : ipc::Runnable {
        ipc::Thread::Id target = 0;
        HANDLE targetHandle = nullptr;
        bool targetEnded = false;
        void run() override {
            ipc::Thread::join(ipc::Thread::getCurrent().getId());
            ipc::Thread::join(target);
            targetEnded = WaitForSingleObject(targetHandle, 0) == WAIT_OBJECT_0;
        }
    } joiner;
    joiner.target = GetThreadId(foreign);
    joiner.targetHandle = foreign;
    const ipc::Thread::Id id = ipc::Thread::start(&joiner, false);
    HANDLE joining = OpenThread(SYNCHRONIZE, FALSE, id);
    ASSERT_NE(joining, nullptr);
    EXPECT_EQ(WaitForSingleObject(joining, 200), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(b.release);
    ipc::Thread::join(id);
    EXPECT_TRUE(joiner.targetEnded);
    CloseHandle(joining);
    CloseHandle(foreign);
}

TEST(Thread, CurrentThreadComparesById) {
    EXPECT_EQ(ipc::Thread::getCurrent(), ipc::Thread::getCurrent());
    EXPECT_EQ(ipc::Thread::getCurrent().getId(), GetCurrentThreadId());
}
