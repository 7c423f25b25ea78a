#pragma once

#include <string>
#include <vector>

namespace ui {

// Receives a page's events and its window's requests; runs on the UI
// thread. The base does nothing and answers the process's UI language.
class WindowHandler {
public:
    virtual ~WindowHandler() {}
    // The UI language code the page localises itself with.
    virtual std::string getLocale();
    // The window was asked to close.
    virtual void onClose() {}
    // The page finished loading.
    virtual void onDocumentComplete() {}
    // The page could not be loaded; status is the browser's status code.
    virtual void onNavigateError(long status) { (void)status; }
    virtual void notify(const std::string& event, const std::vector<std::string>& params) {
        (void)event;
        (void)params;
    }
    virtual void setWindowProp(const std::string& name, const std::vector<std::string>& params) {
        (void)name;
        (void)params;
    }
};

} // namespace ui
