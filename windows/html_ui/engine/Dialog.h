#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <ipc/Conditional.h>

#include "WindowHandler.h"

namespace ui {

class BrowserWindow;

// How a dialog ended; 0 only while it runs.
enum DialogResult {
    DialogClosed = 1,
    DialogNext = 2,
    DialogBack = 3,
    // A concrete dialog's own link event.
    DialogLink = 4,
};

// A page that did not load (the control reported an error, or the load wait
// ran out) and that nothing had ended: no one can answer it.
class PageNotShown : public std::runtime_error {
public:
    explicit PageNotShown(const std::string& url) : std::runtime_error("the page could not be shown: " + url) {}
};

// A page of the program shown in its own window on the UI thread; the
// caller's thread blocks in run as if the dialog were modal.
class Dialog : public WindowHandler {
public:
    // Asked before the dialog closes at the user's request.
    class CancelHandler {
    public:
        virtual ~CancelHandler() {}
        // true lets the dialog close, false keeps it open.
        virtual bool show() = 0;
    };

    // page: a carried page's resource name; locale: the UI language code.
    Dialog(const std::string& page, const std::string& locale);
    ~Dialog() override;

    // Loads the page and shows the window once it has loaded; a page that
    // failed to load, or whose load wait ran out (logged at ERROR), stays
    // hidden.
    void show();
    // Hides the window; a hidden dialog receives no more page events.
    void hide();
    // Shows the page and waits for endDialog; returns its DialogResult.
    // Raises PageNotShown when the page did not load and nothing ended it.
    int run();
    void endDialog(int result);

    std::string getLocale() override;
    void onClose() override;
    void onDocumentComplete() override;
    void onNavigateError(long status) override;
    // "cancel", "next", "back" and "a" (a link target to open in the
    // default browser); other events are left to concrete dialogs.
    void notify(const std::string& event, const std::vector<std::string>& params) override;
    // "title", "size" and "closeButton", names compared ignoring case.
    void setWindowProp(const std::string& name, const std::vector<std::string>& params) override;
    virtual void resetLoadState();
    // Whether the page has loaded and not failed since.
    bool isLoaded();

    // Evaluates script text in the page from any thread.
    std::string execJScript(const std::string& script);

    // How long show waits for the page: 30 s unless changed (for tests).
    static void setLoadWaitLimit(unsigned milliseconds);

    // Asked before a close at the user's request; not owned, none by default.
    void setCancelHandler(CancelHandler* handler) { cancelHandler = handler; }

protected:
    // For the destructor of a dialog shown without run: no page event
    // reaches it once its own members start to go. Failures are logged.
    void detachPage() noexcept;
    // Evaluates each script in the page in order; a failing one is logged
    // and the rest still run, so that a load hook always reaches the base.
    void runPageCalls(const std::vector<std::string>& scripts);
    // The dialog's window, for windows it owns; null before the first show.
    HWND windowHandle() const;

private:
    void waitForLoad();

    std::unique_ptr<BrowserWindow> browserWindow;
    BrowserWindow* window;
    std::string url;
    std::string locale;
    ipc::Conditional resultCondition;
    int result;
    ipc::Conditional loadCondition;
    int loadState;
    CancelHandler* cancelHandler;
    // Set by page calls on the UI thread, read by show on the caller's.
    std::atomic<unsigned> flags;
};

} // namespace ui
