#include "Dialog.h"

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include <ipc/Error.h>
#include <ipc/HighResolutionTimer.h>

#include "Browsers.h"
#include "BrowserWindow.h"
#include "Log.h"
#include "PageUrl.h"
#include "TeguError.h"
#include "tstrings.h"

namespace ui {

namespace {

enum LoadState { NotLoaded = 0, Loading = 1, Loaded = 2 };
const unsigned CloseCommandEnabled = 1;

std::atomic<unsigned> loadWaitLimit(30000);

// The number in the text's leading decimal digits; 0 without any.
int leadingNumber(const std::string& text) {
    int value = 0;
    for (size_t i = 0; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

Dialog::Dialog(const std::string& page, const std::string& locale)
    : browserWindow(new BrowserWindow), window(browserWindow.get()), url(pageUrl(page)),
      locale(locale), result(0), loadState(NotLoaded), cancelHandler(nullptr),
      flags(CloseCommandEnabled) {}

// The window goes first, so that no page event reaches a dialog that is
// being taken apart.
Dialog::~Dialog() {
    try {
        window->destroy();
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
}

void Dialog::setLoadWaitLimit(unsigned milliseconds) {
    loadWaitLimit = milliseconds;
}

// No lock is held while the UI thread works: its page events take them.
// Every show reloads the page, so a dialog shown again waits as the first
// time did: its window never shows a page that is still loading.
void Dialog::show() {
    {
        ipc::Mutex::Lock lock(loadCondition.getMutex());
        loadState = Loading;
    }
    try {
        window->load(url, this, (flags & CloseCommandEnabled) != 0);
    } catch (const std::exception&) {
        resetLoadState();
        throw;
    }
    waitForLoad();
    if (isLoaded()) window->showOnTop();
}

void Dialog::waitForLoad() {
    const unsigned limit = loadWaitLimit;
    ipc::HighResolutionTimer waited;
    ipc::Mutex::Lock lock(loadCondition.getMutex());
    while (loadState == Loading) {
        const auto elapsed = waited.elapsed();
        if (elapsed >= limit) {
            // A silent control must not hold the caller for ever.
            LOG_ERROR("the page did not load within " << limit << " ms: " << url);
            loadState = NotLoaded;
            break;
        }
        try {
            loadCondition.wait(lock, static_cast<unsigned>(limit - elapsed));
        } catch (const ipc::TimeoutExpiredError&) {
            // The loop looks at the state and the time again, and logs there.
        }
    }
}

void Dialog::hide() {
    window->hide();
}

void Dialog::detachPage() noexcept {
    try {
        hide();
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
}

int Dialog::run() {
    {
        ipc::Mutex::Lock lock(resultCondition.getMutex());
        result = 0;
    }
    int ended = 0;
    try {
        show();
        const bool loaded = isLoaded();
        // An endDialog during show has already set the result.
        ipc::Mutex::Lock lock(resultCondition.getMutex());
        if (!loaded && result == 0) JP_THROW(PageNotShown(url));
        while (result == 0) {
            resultCondition.wait(lock);
        }
        ended = result;
    } catch (...) {
        hide();
        throw;
    }
    hide();
    return ended;
}

void Dialog::endDialog(int value) {
    {
        ipc::Mutex::Lock lock(resultCondition.getMutex());
        result = value;
    }
    resultCondition.notify(false);
}

std::string Dialog::getLocale() {
    return locale;
}

void Dialog::onClose() {
    if (cancelHandler && !cancelHandler->show()) {
        return;
    }
    endDialog(DialogClosed);
}

void Dialog::onDocumentComplete() {
    {
        ipc::Mutex::Lock lock(loadCondition.getMutex());
        loadState = Loaded;
    }
    loadCondition.notify(true);
    window->centre();
}

void Dialog::onNavigateError(long) {
    {
        ipc::Mutex::Lock lock(loadCondition.getMutex());
        loadState = NotLoaded;
    }
    loadCondition.notify(true);
}

void Dialog::resetLoadState() {
    ipc::Mutex::Lock lock(loadCondition.getMutex());
    loadState = NotLoaded;
}

bool Dialog::isLoaded() {
    ipc::Mutex::Lock lock(loadCondition.getMutex());
    return loadState == Loaded;
}

void Dialog::notify(const std::string& event, const std::vector<std::string>& params) {
    if (event == "cancel") {
        window->requestClose();
    } else if (event == "next") {
        endDialog(DialogNext);
    } else if (event == "back") {
        endDialog(DialogBack);
    } else if (event == "a") {
        if (params.empty()) {
            JP_THROW_MSG("no parameter at the given position");
        }
        browsers::launchDefault(params[0]);
    }
}

void Dialog::setWindowProp(const std::string& name, const std::vector<std::string>& params) {
    const char* const function = "ui::Dialog::setWindowProp";
    if (tstrings::equals(name, "title", tstrings::IGNORE_CASE)) {
        if (params.size() != 1) {
            LOG_AT_NAMED(LOG_ERROR, function, "setWindowProp(Title): requires 1 params");
            return;
        }
        LOG_AT_NAMED(LOG_INFO, function, tstrings::sformat("setWindowProp(Title): %s", params[0].c_str()));
        window->setTitle(params[0]);
    } else if (tstrings::equals(name, "size", tstrings::IGNORE_CASE)) {
        if (params.size() != 2) {
            LOG_AT_NAMED(LOG_ERROR, function, "setWindowProp(Size): requires 2 params");
            return;
        }
        const int width = leadingNumber(params[0]);
        const int height = leadingNumber(params[1]);
        LOG_AT_NAMED(LOG_INFO, function, tstrings::sformat("setWindowProp(Size): %d x %d", width, height));
        window->setSize(width, height);
    } else if (tstrings::equals(name, "closeButton", tstrings::IGNORE_CASE)) {
        if (params.size() != 1) {
            LOG_AT_NAMED(LOG_ERROR, function, "setWindowProp(closeButton): requires 1 params");
            return;
        }
        const int enabled = std::atoi(params[0].c_str());
        flags = enabled ? (flags | CloseCommandEnabled) : (flags & ~CloseCommandEnabled);
        LOG_AT_NAMED(LOG_INFO, function, tstrings::sformat("setWindowProp(closeButton): %d", enabled));
        window->enableCloseCommand(flags & CloseCommandEnabled);
    } else {
        LOG_AT_NAMED(LOG_ERROR, function,
                     tstrings::sformat("setWindowProp: unexpected prop: '%s'", name.c_str()));
    }
}

std::string Dialog::execJScript(const std::string& script) {
    return window->execJScript(script);
}

void Dialog::runPageCalls(const std::vector<std::string>& scripts) {
    for (const std::string& script : scripts) {
        try {
            execJScript(script);
        } catch (const std::exception& e) {
            LOG_ERROR("page call " << script << " failed: " << e.what());
        }
    }
}

HWND Dialog::windowHandle() const {
    return window->handle();
}

} // namespace ui
