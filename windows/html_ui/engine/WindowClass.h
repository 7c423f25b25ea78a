#pragma once

#include <windows.h>

namespace ui {

// Registers a window class of this executable once, with the executable's
// own icon and the arrow cursor; a failure is logged and the window that
// needs the class then fails to be made, which its maker reports.
void registerWindowClass(const wchar_t* name, WNDPROC proc, UINT style, HBRUSH background);

} // namespace ui
