#pragma once

#include <windows.h>

#include <atomic>

#include <ipc/Conditional.h>
#include <ipc/Runnable.h>
#include <ipc/Thread.h>

#include "UIThread.h"

namespace ui {

// The UI thread itself: a hidden control window that runs actions sent to
// it, and the message loop of every window of the thread.
class UIThread::ThreadImpl : public ipc::Runnable {
public:
    // Makes the process DPI-aware and registers the control window class.
    ThreadImpl();
    // Closes the control window and joins the thread (never from the UI
    // thread itself: see release).
    ~ThreadImpl() override;

    void run() override;

    // Starts the thread when needed and sends it the action.
    void execute(ipc::Runnable& action);

    // Adds a handle (under the process-wide lock).
    static ThreadImpl* acquire();
    // Drops a handle; the last one ends the thread. On the UI thread itself
    // the thread is told to end and frees its state after its loop.
    static void release(ThreadImpl* impl);

private:
    void start();
    void runMessageLoop();
    static LRESULT CALLBACK wndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    std::atomic<HWND> controlWindow;
    ipc::Thread::Id threadId;
    std::atomic<long> refCount;
    bool startFailed;
    std::atomic<bool> deleteAfterLoop;
};

} // namespace ui
