#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "UiHandles.h"
#include "UIThread.h"

namespace ui {

class BrowserControl;
class WindowHandler;

// A top-level window ("OrvelPaneDialog") hosting one browser control. Every
// method may be called from any thread: window work runs on the UI thread.
class BrowserWindow {
public:
    BrowserWindow();
    virtual ~BrowserWindow();
    BrowserWindow(const BrowserWindow&) = delete;
    BrowserWindow& operator=(const BrowserWindow&) = delete;

    // Creates the window when it does not exist yet and opens url; handler
    // receives the page's events until the next load or destroy. The close
    // item's state is set first, so the page's own scripts have the last word.
    void load(const std::string& url, WindowHandler* handler, bool closeCommand);
    // Hides and destroys the window and its control, if there is one.
    void destroy();
    // Evaluates script text in the page; the value as text. Raises
    // std::logic_error "browser control does not exist" without a page.
    std::string execJScript(const std::string& script);

    // Window operations; none of them does anything without a window.
    // Shows the window in front, in the foreground when Windows allows it.
    void showOnTop();
    // Hides the window and detaches the page's handler.
    void hide();
    void setTitle(const std::string& utf8Title);
    void setSize(int width, int height);
    // Centres the window, the first time only, on the work area of the
    // monitor of the page hidden last (the primary one before any): later
    // loads keep the place the user gave it.
    void centre();
    // Enables or greys the close item of the system menu.
    void enableCloseCommand(bool enabled);
    // Sends the window its close request (the handler's onClose decides).
    void requestClose();
    // The window, for use on the UI thread only; null before create.
    HWND handle() const { return window.get(); }

    // The client size 500 x 354 at 96 DPI scaled to the screen's DPI.
    static SIZE scale2systemDPI(SIZE size);
    // The outer size of a window of the browser window's styles.
    static SIZE clientSize2windowSize(SIZE client);

private:
    void create();
    void createControl(HWND hwnd);
    void destroyControl();
    // Runs fn on the UI thread when a window exists.
    void withWindow(const std::function<void(HWND)>& fn);
    static LRESULT CALLBACK staticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT wndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UIThread uiThread;
    UniqueWindow window;
    std::atomic<BrowserControl*> control;
    bool placed = false;  // UI thread only
};

} // namespace ui
