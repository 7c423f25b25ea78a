#include "BrowserWindow.h"

#include <exception>
#include <stdexcept>

#include "BrowserControl.h"
#include "FailureText.h"
#include "Log.h"
#include "TeguError.h"
#include "WinErrorHandling.h"
#include "WindowClass.h"
#include "WindowHandler.h"
#include "tstrings.h"

namespace ui {

namespace {

const wchar_t* const WindowClass = L"OrvelPaneDialog";
const UINT WM_OFFER_MESSAGE = WM_USER + 1;
const DWORD Style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const DWORD ExStyle = WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME;
const SIZE ClientSize = {500, 354};
// Where the next page opens; the UI thread owns every page window.
HMONITOR lastPageMonitor = nullptr;

void logIfFailed(BOOL ok, const char* operation) {
    if (!ok) {
        LOG_ERROR(systemFailure(operation, GetLastError()));
    }
}

} // namespace

BrowserWindow::BrowserWindow() : control(nullptr) {}

BrowserWindow::~BrowserWindow() {
    try {
        destroy();
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
}

SIZE BrowserWindow::scale2systemDPI(SIZE size) {
    UniqueScreenDC screen(GetDC(nullptr));
    const int x = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
    const int y = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    const SIZE scaled = {MulDiv(size.cx, x, 96), MulDiv(size.cy, y, 96)};
    LOG_TRACE("systemDPI: [" << x << ", " << y << "]" << " scaled [" << size.cx << ", "
                             << size.cy << "]" << " to [" << scaled.cx << ", " << scaled.cy << "]");
    return scaled;
}

SIZE BrowserWindow::clientSize2windowSize(SIZE client) {
    RECT rect = {0, 0, client.cx, client.cy};
    if (!AdjustWindowRectEx(&rect, Style, FALSE, ExStyle)) {
        LOG_ERROR(systemFailure("AdjustWindowRectEx", GetLastError()));
        JP_THROW_MSG("AdjustWindowRectEx error");
    }
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void BrowserWindow::create() {
    registerWindowClass(WindowClass, staticWndProc, CS_HREDRAW | CS_VREDRAW, nullptr);
    const SIZE size = clientSize2windowSize(scale2systemDPI(ClientSize));
    const HWND hwnd = CreateWindowExW(ExStyle, WindowClass, L"", Style, 100, 100, size.cx, size.cy,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd) {
        LOG_ERROR(systemFailure("CreateWindow", GetLastError()));
        JP_THROW_MSG("CreateWindow failed");
    }
    window.reset(hwnd);
}

void BrowserWindow::load(const std::string& url, WindowHandler* handler, bool closeCommand) {
    uiThread.execute([&] {
        if (!window) {
            create();
        }
        enableCloseCommand(closeCommand);
        BrowserControl* const c = control;
        if (!c) {
            JP_THROW(std::logic_error("browser control does not exist"));
        }
        c->openUrl(url, handler);
    });
}

void BrowserWindow::destroy() {
    if (!window) {
        return;
    }
    uiThread.execute([&] {
        ShowWindow(window.get(), SW_HIDE);
        destroyControl();
        window.reset();
    });
}

std::string BrowserWindow::execJScript(const std::string& script) {
    std::string result;
    std::exception_ptr failure;
    // The control is looked at on the UI thread, where it is created and
    // destroyed; its own failure reaches the caller as raised.
    uiThread.execute([&] {
        try {
            BrowserControl* const c = control;
            if (!c) {
                JP_THROW(std::logic_error("browser control does not exist"));
            }
            result = c->execJScript(script);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    if (failure) {
        std::rethrow_exception(failure);
    }
    return result;
}

void BrowserWindow::withWindow(const std::function<void(HWND)>& fn) {
    uiThread.execute([&] {
        if (window) {
            fn(window.get());
        }
    });
}

void BrowserWindow::showOnTop() {
    withWindow([](HWND hwnd) {
        ShowWindow(hwnd, SW_SHOWNA);
        ShowWindow(hwnd, SW_SHOWNORMAL);
        logIfFailed(SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE), "SetWindowPos");
        // After a long install the user may be elsewhere: the taskbar button
        // flashes where Windows keeps the foreground for them.
        if (!SetForegroundWindow(hwnd)) FlashWindow(hwnd, TRUE);
    });
}

void BrowserWindow::hide() {
    uiThread.execute([this] {
        if (BrowserControl* const c = control) c->detachHandler();
        if (!window) return;
        lastPageMonitor = MonitorFromWindow(window.get(), MONITOR_DEFAULTTOPRIMARY);
        ShowWindow(window.get(), SW_HIDE);
    });
}

void BrowserWindow::setTitle(const std::string& utf8Title) {
    withWindow([&](HWND hwnd) {
        logIfFailed(SetWindowTextW(hwnd, tstrings::toUtf16(utf8Title).c_str()), "SetWindowText");
    });
}

void BrowserWindow::setSize(int width, int height) {
    withWindow([&](HWND hwnd) {
        logIfFailed(SetWindowPos(hwnd, nullptr, 0, 0, width, height,
                                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
                    "SetWindowPos");
    });
}

void BrowserWindow::centre() {
    withWindow([this](HWND hwnd) {
        if (placed) return;
        placed = true;
        MONITORINFO monitor = {sizeof(monitor)};
        // The last page's monitor may have gone since.
        if (!(lastPageMonitor && GetMonitorInfoW(lastPageMonitor, &monitor)) &&
            !GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
            logIfFailed(FALSE, "GetMonitorInfo");
            return;
        }
        const RECT& outer = monitor.rcWork;
        RECT own;
        GetWindowRect(hwnd, &own);
        const int x = outer.left + ((outer.right - outer.left) - (own.right - own.left)) / 2;
        const int y = outer.top + ((outer.bottom - outer.top) - (own.bottom - own.top)) / 2;
        logIfFailed(SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE),
                    "SetWindowPos");
    });
}

void BrowserWindow::enableCloseCommand(bool enabled) {
    withWindow([enabled](HWND hwnd) {
        EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE,
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    });
}

void BrowserWindow::requestClose() {
    withWindow([](HWND hwnd) { SendMessageW(hwnd, WM_CLOSE, 0, 0); });
}

void BrowserWindow::createControl(HWND hwnd) {
    BrowserControl* const c = new BrowserControl(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    if (!c->createControl(client)) {
        c->destroy();
        JP_THROW_MSG("BrowserControl::createControl failed");
    }
    control = c;
}

void BrowserWindow::destroyControl() {
    BrowserControl* const c = control.exchange(nullptr);
    if (c) {
        c->destroy();
    }
}

LRESULT CALLBACK BrowserWindow::staticWndProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    try {
        if (message == WM_CREATE) {
            auto* self = static_cast<BrowserWindow*>(
                reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<BrowserWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self) {
            return self->wndProc(hwnd, message, wParam, lParam);
        }
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ui::BrowserWindow::staticWndProc"), e);
        if (message == WM_CREATE) {
            return -1;
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT BrowserWindow::wndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BrowserControl* const c = control;
    switch (message) {
    case WM_CREATE:
        createControl(hwnd);
        return 0;
    case WM_DESTROY:
        destroyControl();
        return 0;
    case WM_SIZE:
        if (c && wParam == SIZE_RESTORED) {
            c->setRect(RECT{0, 0, LOWORD(lParam), HIWORD(lParam)});
        }
        return 0;
    case WM_SETFOCUS:
        if (c) {
            c->setFocus();
        }
        return 0;
    case WM_CLOSE:
        if (c && c->getHandler()) {
            c->getHandler()->onClose();
        }
        return 0;
    case WM_OFFER_MESSAGE:
        return c && c->translateAccelerator(reinterpret_cast<MSG*>(lParam)) ? 1 : 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace ui
