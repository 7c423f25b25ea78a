#include <gtest/gtest.h>

#include <windows.h>

#include <ipc/Mutex.h>
#include <ipc/Thread.h>

#include <atomic>
#include <string>

#include "TestSupport.h"

namespace {

// Takes the mutex on another thread and says when it got it.
struct Taker : ipc::Runnable {
    explicit Taker(ipc::Mutex& m) : m(m) {}
    void run() override {
        ipc::Mutex::Lock lock(m);
        got = true;
    }
    ipc::Mutex& m;
    std::atomic<bool> got{false};
};

bool gotWithin(Taker& t, DWORD ms) {
    for (DWORD waited = 0; waited < ms && !t.got; waited += 10) {
        Sleep(10);
    }
    return t.got;
}

} // namespace

TEST(Mutex, ExcludesOtherThreadsUntilReleased) {
    ipc::Mutex m;
    Taker t(m);
    ipc::Thread::Id id;
    {
        ipc::Mutex::Lock lock(m);
        id = ipc::Thread::start(&t, false);
        EXPECT_FALSE(gotWithin(t, 150));
    }
    ipc::Thread::join(id);
    EXPECT_TRUE(t.got);
}

TEST(Mutex, NestedLocksKeepItHeldUntilTheOutermostEnds) {
    ipc::Mutex m;
    Taker t(m);
    ipc::Thread::Id id;
    {
        ipc::Mutex::Lock outer(m);
        {
            ipc::Mutex::Lock inner(m);
        }
        id = ipc::Thread::start(&t, false);
        EXPECT_FALSE(gotWithin(t, 150));
    }
    ipc::Thread::join(id);
    EXPECT_TRUE(t.got);
}

TEST(Mutex, UnlockLetsOthersInForItsScopeOnly) {
    ipc::Mutex m;
    Taker first(m);
    Taker second(m);
    ipc::Thread::Id secondId;
    {
        ipc::Mutex::Lock lock(m);
        {
            ipc::Mutex::Unlock unlock(lock);
            ipc::Thread::join(ipc::Thread::start(&first, false));
            EXPECT_TRUE(first.got);
        }
        secondId = ipc::Thread::start(&second, false);
        EXPECT_FALSE(gotWithin(second, 150));
    }
    ipc::Thread::join(secondId);
    EXPECT_TRUE(second.got);
}

// A mutex destroyed inside its own locked scope hands its handle to the
// locks: each releases its hold and only the outermost closes it, so no
// release or close fails.
TEST(Mutex, DestroyedWhileLockedLeavesTheHandleToItsLocks) {
    {
        ipc::Mutex* m = new ipc::Mutex;
        ipc::Mutex::Lock outer(*m);
        {
            ipc::Mutex::Lock inner(*m);
            delete m;
        }
    }
    {
        ipc::Mutex* m = new ipc::Mutex;
        ipc::Mutex::Lock only(*m);
        delete m;
    }
    const std::string log = testsupport::readFile(testsupport::tempDir() + "\\cxtimer.log");
    EXPECT_EQ(log.find("ipc::Mutex"), std::string::npos) << log;
}
