#include "WindowClass.h"

#include "Log.h"
#include "WinErrorHandling.h"

namespace ui {

namespace {

// The executable's own icon; a program without one gets the default.
const WORD AppIconId = 1;

} // namespace

void registerWindowClass(const wchar_t* name, WNDPROC proc, UINT style, HBRUSH background) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    if (GetClassInfoW(module, name, &wc)) return;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(module, MAKEINTRESOURCEW(AppIconId));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (!RegisterClassW(&wc)) LOG_ERROR(systemFailure("RegisterClass", GetLastError()));
}

} // namespace ui
