#pragma once

#include <memory>

namespace ipc {

// Work for a thread or for the UI thread.
class Runnable {
public:
    virtual ~Runnable() {}
    virtual void run() = 0;
};

// Runs its inner runnable once and then destroys itself and the inner one,
// also when run raises.
class RunnableOwner : public Runnable {
public:
    explicit RunnableOwner(Runnable* inner) : inner(inner) {}

    void run() override {
        std::unique_ptr<RunnableOwner> self(this);
        inner->run();
    }

private:
    std::unique_ptr<Runnable> inner;
};

} // namespace ipc
