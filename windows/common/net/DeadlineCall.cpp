#include "DeadlineCall.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

struct Completion {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
};

} // namespace

bool callBefore(ULONGLONG deadline, std::function<void()> call) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    const auto completion = std::make_shared<Completion>();
    std::thread([completion, call] {
        call();
        const std::lock_guard<std::mutex> lock(completion->mutex);
        completion->done = true;
        completion->ended.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(completion->mutex);
    return completion->ended.wait_for(lock, std::chrono::milliseconds(deadline - now),
                                      [&completion] { return completion->done; });
}
