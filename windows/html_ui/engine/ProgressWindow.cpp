#include "ProgressWindow.h"

#include <commctrl.h>

#include "BrowserWindow.h"
#include "Log.h"
#include "FailureText.h"
#include "TeguError.h"
#include "WinErrorHandling.h"
#include "WindowClass.h"
#include "tstrings.h"

namespace ui {

namespace {

const wchar_t WindowClass[] = L"CxrProgressWindow";
const SIZE ClientSize = {360, 64};
const DWORD Style = WS_POPUP | WS_CAPTION;
const DWORD ExStyle = WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME;

// Alt+F4 must not end the window while the install runs.
LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

ProgressWindow::ProgressWindow(const std::string& title) {
    uiThread.execute([&] {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
        if (!InitCommonControlsEx(&controls)) LOG_ERROR(systemFailure("InitCommonControlsEx", GetLastError()));
        registerWindowClass(WindowClass, windowProc, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        const SIZE client = BrowserWindow::scale2systemDPI(ClientSize);
        RECT outer = {0, 0, client.cx, client.cy};
        AdjustWindowRectEx(&outer, Style, FALSE, ExStyle);
        RECT work = {0, 0, 800, 600};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const int width = outer.right - outer.left, height = outer.bottom - outer.top;
        const HWND hwnd = CreateWindowExW(ExStyle, WindowClass, tstrings::toUtf16(title).c_str(), Style,
                                          work.left + (work.right - work.left - width) / 2,
                                          work.top + (work.bottom - work.top - height) / 2, width, height,
                                          nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        JP_CHECK_BOOL(hwnd, "CreateWindow(progress window)", CreateWindowExW);
        window.reset(hwnd);
        const int margin = client.cy / 4;
        bar = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, margin, margin,
                              client.cx - 2 * margin, client.cy - 2 * margin, hwnd, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
        JP_CHECK_BOOL(bar, "CreateWindow(progress bar)", CreateWindowExW);
        SendMessageW(bar, PBM_SETRANGE32, 0, 100);
        ShowWindow(hwnd, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd);
    });
}

ProgressWindow::~ProgressWindow() {
    try {
        const int closedAt = position();
        uiThread.execute([&] { window.reset(); });
        LOG_INFO("The progress window closed at " << closedAt << "%");
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
}

void ProgressWindow::setProgress(double percent) {
    const int value = percent < 0 ? 0 : percent > 100 ? 100 : static_cast<int>(percent);
    try {
        uiThread.execute([&] { SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(value), 0); });
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
}

int ProgressWindow::position() {
    int value = 0;
    uiThread.execute([&] { value = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)); });
    return value;
}

} // namespace ui
