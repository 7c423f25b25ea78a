#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "ProgressView.h"
#include "UiHandles.h"
#include "UIThread.h"

namespace ui {

// A small native window with a progress bar, for a run whose pages cannot
// be shown: the title given, no close box, centred on the screen and in
// front. It lives on the UI thread; the bar moves from any thread.
class ProgressWindow : public ProgressView {
public:
    // Raises when the window cannot be made.
    explicit ProgressWindow(const std::string& title);
    // Destroys the window; logs the position it closed at.
    ~ProgressWindow() override;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // Moves the bar to percent (0 to 100); a failure is logged.
    void setProgress(double percent) override;
    // The bar's position as the window holds it.
    int position();

private:
    UIThread uiThread;
    UniqueWindow window;
    HWND bar = nullptr;
};

} // namespace ui
