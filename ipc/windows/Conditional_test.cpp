#include <gtest/gtest.h>

#include <windows.h>

#include <ipc/Conditional.h>
#include <ipc/Thread.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Waiters that record, under the conditional's mutex, when they began to
// wait and when they woke.
class Waiters {
public:
    ~Waiters() {
        conditional.notify(false);
        for (ipc::Thread::Id id : ids) {
            ipc::Thread::join(id);
        }
    }

    // Starts the next waiter and returns once it waits.
    void addWaiter() {
        workers.emplace_back(new Waiter(*this, static_cast<int>(workers.size())));
        ids.push_back(ipc::Thread::start(workers.back().get(), false));
        while (count(waiting) < workers.size()) {
            Sleep(1);
        }
    }

    std::vector<int> wokenWithin(size_t expected, DWORD ms) {
        for (DWORD waited = 0; waited < ms && count(woken) < expected; waited += 10) {
            Sleep(10);
        }
        ipc::Mutex::Lock lock(conditional.getMutex());
        return woken;
    }

    ipc::Conditional conditional;

private:
    struct Waiter : ipc::Runnable {
        Waiter(Waiters& all, int index) : all(all), index(index) {}
        void run() override {
            ipc::Mutex::Lock lock(all.conditional.getMutex());
            all.waiting.push_back(index);
            all.conditional.wait(lock);
            all.woken.push_back(index);
        }
        Waiters& all;
        int index;
    };

    size_t count(const std::vector<int>& list) {
        ipc::Mutex::Lock lock(conditional.getMutex());
        return list.size();
    }

    std::vector<std::unique_ptr<Waiter>> workers;
    std::vector<ipc::Thread::Id> ids;
    std::vector<int> waiting;
    std::vector<int> woken;
};

} // namespace

TEST(Conditional, NotifyWithoutWaitersReturnsAtOnce) {
    ipc::Conditional c;
    c.notify(true);
    c.notify(false);
    ipc::Mutex::Lock lock(c.getMutex());
    c.notify(true);
}

TEST(Conditional, NotifyOneWakesTheWaitersInTheOrderTheyBegan) {
    Waiters w;
    w.addWaiter();
    w.addWaiter();
    w.addWaiter();
    w.conditional.notify(true);
    EXPECT_EQ(w.wokenWithin(1, 5000), std::vector<int>({0}));
    Sleep(150);
    EXPECT_EQ(w.wokenWithin(1, 0), std::vector<int>({0}));
    w.conditional.notify(true);
    EXPECT_EQ(w.wokenWithin(2, 5000), std::vector<int>({0, 1}));
    w.conditional.notify(true);
    EXPECT_EQ(w.wokenWithin(3, 5000), std::vector<int>({0, 1, 2}));
}

TEST(Conditional, NotifyAllWakesEveryWaiter) {
    Waiters w;
    w.addWaiter();
    w.addWaiter();
    w.addWaiter();
    {
        ipc::Mutex::Lock lock(w.conditional.getMutex());
        w.conditional.notify(false);
    }
    std::vector<int> woken = w.wokenWithin(3, 5000);
    std::sort(woken.begin(), woken.end());
    EXPECT_EQ(woken, std::vector<int>({0, 1, 2}));
}

TEST(Conditional, WaiterArrivingAfterNotifyKeepsWaiting) {
    Waiters w;
    w.conditional.notify(false);
    w.addWaiter();
    EXPECT_TRUE(w.wokenWithin(1, 150).empty());
    w.conditional.notify(true);
    EXPECT_EQ(w.wokenWithin(1, 5000), std::vector<int>({0}));
}
