#pragma once

#include <string>
#include <vector>

#include "Dialog.h"
#include "ProgressView.h"

// The installation's progress page: a bar and rotating banners. Shown
// without waiting (show, later hide) while the package installs.
class ProgressDialog : public ui::Dialog, public ProgressView {
public:
    explicit ProgressDialog(const std::string& locale);
    ~ProgressDialog() override { detachPage(); }

    // Pushes the banners and their rotation period, then shows the page.
    void onDocumentComplete() override;
    // From any thread: moves the bar to percent (0 to 100); nothing when
    // the page did not load.
    void setProgress(double percent) override;

    // Banner image URLs, in order.
    std::vector<std::string> banners;
    // Rotation period in ms; 0 keeps the page's own.
    int switchInterval;
};

// "setProgress(<percent>)" with the number in the default stream form of
// a double in the classic locale (e.g. 42.8571).
std::string progressScript(double percent);

// "addBanner('<url>')" with the URL as a safe script string.
std::string bannerScript(const std::string& url);
