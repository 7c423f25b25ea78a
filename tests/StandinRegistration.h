#pragma once

#include <windows.h>

#include "UIThread.h"

// Makes the scripted stand-in the WebBrowser class for the UI thread that
// `ui` keeps running; the cookie revokes it.
DWORD registerStandin(ui::UIThread& ui);
void revokeStandin(ui::UIThread& ui, DWORD cookie);
