#pragma once

#include <windows.h>

#include "UIThread.h"

// The scripted stand-in as the WebBrowser class of the UI thread, which
// the handle keeps running, for the registration's scope.
class StandinRegistration {
public:
    explicit StandinRegistration(ui::UIThread& ui);
    ~StandinRegistration();

private:
    ui::UIThread& ui;
    DWORD cookie = 0;
};
