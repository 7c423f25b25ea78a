#include "UIThreadImpl.h"

#include <stdexcept>

#include "ComInitializer.h"
#include "Dll.h"
#include "FailureText.h"
#include "Log.h"
#include "TeguError.h"
#include "WinErrorHandling.h"

namespace ui {

namespace {

const UINT WM_OFFER_MESSAGE = WM_USER + 1;
const UINT WM_EXECUTE = WM_USER + 2;
const char* const ControlWindowClass = "ControlWindow";

// Guards the single implementation and wakes whoever waits for its start.
// Never destroyed: handles may still go while statics are torn down.
ipc::Conditional& processLock() {
    static ipc::Conditional* lock = new ipc::Conditional;
    return *lock;
}

UIThread::ThreadImpl* instance = nullptr;

typedef BOOL(WINAPI SetProcessDpiAwareFn)();

// The installer's manifest declares it; other programs that host pages
// (the tests among them) may not.
void initDPIAware() {
    const SourceLocation location =
        SOURCE_LOCATION_NAMED("ui::`anonymous-namespace'::initDPIAware");
    try {
        DllFunction<SetProcessDpiAwareFn> setAware(Dll(L"user32.dll"), "SetProcessDPIAware", true);
        if (!setAware()) {
            const DWORD error = GetLastError();
            JP_THROW(SysError("SetProcessDPIAware", error));
        }
        LOG_AT_NAMED(LOG_TRACE, location.function, "SetProcessDPIAware succeeded");
    } catch (const std::exception& e) {
        reportCaughtException(location, e);
    }
}

bool isKeyOrMouse(UINT message) {
    return (message > 255 && message < 266) || (message >= 512 && message <= 525);
}

// The focused window and then its ancestors may take a key or mouse
// message first (a browser control translating its accelerators).
bool offerToFocusChain(MSG& msg) {
    for (HWND w = GetFocus(); w; w = GetParent(w)) {
        if (SendMessageW(w, WM_OFFER_MESSAGE, 0, reinterpret_cast<LPARAM>(&msg))) {
            return true;
        }
    }
    return false;
}

} // namespace

UIThread::ThreadImpl::ThreadImpl()
    : controlWindow(nullptr), threadId(ipc::Thread::NoThread), refCount(1), startFailed(false),
      deleteAfterLoop(false) {
    initDPIAware();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = wndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = ControlWindowClass;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        LOG_ERROR(systemFailure("RegisterClass(ControlWindow)", GetLastError()));
    }
}

UIThread::ThreadImpl::~ThreadImpl() {
    const HWND window = controlWindow.exchange(nullptr);
    if (threadId == ipc::Thread::NoThread || ipc::Thread::getCurrent().getId() == threadId) {
        return;
    }
    try {
        if (window) {
            SendMessageA(window, WM_CLOSE, 0, 0);
        }
        ipc::Thread::join(threadId);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
}

UIThread::ThreadImpl* UIThread::ThreadImpl::acquire() {
    ipc::Mutex::Lock lock(processLock().getMutex());
    if (instance) {
        ++instance->refCount;
    } else {
        instance = new ThreadImpl;
    }
    return instance;
}

void UIThread::ThreadImpl::release(ThreadImpl* impl) {
    {
        ipc::Mutex::Lock lock(processLock().getMutex());
        if (--impl->refCount > 0) {
            return;
        }
        if (instance == impl) {
            instance = nullptr;
        }
    }
    // Joined outside the lock: the ending thread may still need it.
    if (impl->threadId != ipc::Thread::NoThread &&
        ipc::Thread::getCurrent().getId() == impl->threadId) {
        // A thread cannot wait for its own end: it frees itself after its loop.
        impl->deleteAfterLoop = true;
        const HWND window = impl->controlWindow.exchange(nullptr);
        if (window) {
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        LOG_TRACE("the last UI thread handle went on the UI thread; it ends after its loop");
        return;
    }
    delete impl;
}

void UIThread::ThreadImpl::start() {
    ipc::Mutex::Lock lock(processLock().getMutex());
    if (controlWindow) {
        return;
    }
    if (threadId == ipc::Thread::NoThread) {
        threadId = ipc::Thread::start(this, false);
    }
    while (!controlWindow && !startFailed) {
        processLock().wait(lock);
    }
    if (!controlWindow) {
        JP_THROW_MSG("UI thread failire");
    }
}

void UIThread::ThreadImpl::execute(ipc::Runnable& action) {
    start();
    if (!SendMessageA(controlWindow, WM_EXECUTE, reinterpret_cast<WPARAM>(&action), 0)) {
        JP_THROW_MSG("action failed");
    }
}

void UIThread::ThreadImpl::run() {
    OleInitializer ole;
    try {
        const HWND window = CreateWindowExA(0, ControlWindowClass, "", 0, 0, 0, 0, 0, nullptr,
                                            nullptr, GetModuleHandleA(nullptr), this);
        if (!window) {
            LOG_ERROR(systemFailure("CreateControlWindow", GetLastError()));
            JP_THROW_MSG("CreateWindow failed");
        }
        {
            ipc::Mutex::Lock lock(processLock().getMutex());
            controlWindow = window;
        }
        processLock().notify(false);
        runMessageLoop();
    } catch (const std::exception& e) {
        LOG_ERROR("UIThread exception: " << e.what());
        {
            ipc::Mutex::Lock lock(processLock().getMutex());
            startFailed = true;
        }
        processLock().notify(false);
    }
    if (deleteAfterLoop) {
        delete this;
    }
}

void UIThread::ThreadImpl::runMessageLoop() {
    MSG msg;
    while (controlWindow) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            return;
        }
        if (got == -1) {
            LOG_ERROR(systemFailure("MessageLoop::GetMessage", GetLastError()));
            return;
        }
        if (isKeyOrMouse(msg.message) && offerToFocusChain(msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

LRESULT CALLBACK UIThread::ThreadImpl::wndProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    switch (message) {
    case WM_EXECUTE:
        try {
            reinterpret_cast<ipc::Runnable*>(wParam)->run();
            return 1;
        } catch (const std::exception& e) {
            LOG_AT_NAMED(LOG_WARNING, "ui::UIThread::ThreadImpl::wndProc",
                         "Action thrown an exception: " << e.what());
        } catch (...) {
            LOG_AT_NAMED(LOG_WARNING, "ui::UIThread::ThreadImpl::wndProc",
                         "Action thrown an exception: unknown");
        }
        return 0;
    case WM_CLOSE:
        if (!DestroyWindow(hwnd)) {
            LOG_ERROR(systemFailure("DestroyWindow(ControlWindow)", GetLastError()));
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace ui
