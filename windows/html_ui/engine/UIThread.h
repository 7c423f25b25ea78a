#pragma once

#include <functional>

#include <ipc/Runnable.h>

namespace ui {

// A handle on the process-wide UI thread, which owns every window and
// browser control. The thread starts with the first action and ends when
// the last handle goes.
class UIThread {
public:
    class ThreadImpl;

    UIThread();
    virtual ~UIThread();
    UIThread(const UIThread&) = delete;
    UIThread& operator=(const UIThread&) = delete;

    // Runs action on the UI thread and returns once it has run. Raises
    // std::logic_error "NULL action" without one, std::runtime_error "action
    // failed" when it raised there, "UI thread failire" when the thread
    // could not start.
    void execute(ipc::Runnable* action);
    void execute(const std::function<void()>& action);

private:
    ThreadImpl* impl;
};

} // namespace ui
