#pragma once

#include <windows.h>

#include <string>

// The text of string resource id in the run's language (English when the
// language has no text for it).
std::string loadInstallerString(HINSTANCE instance, unsigned langId, unsigned id);

// Task-modal notice that this Windows is older than the carried runtime
// supports.
void showUnsupportedSystemMessage(HINSTANCE instance, unsigned langId, const char* majorVersion);

// Information box: another installation holds the install flag.
void showInProgressMessage(HINSTANCE instance, unsigned langId);

// Stop box: string text with string title, OK button.
void showStopMessage(HINSTANCE instance, unsigned langId, unsigned titleId, unsigned textId);

// The usage text for a user who started "/?" without a console.
void showUsageMessage(const std::string& text);

// No page can be shown: asks whether to install with the default settings
// (string 3530); true for Yes.
bool askInstallWithoutPages(HINSTANCE instance, unsigned langId);

// After an install without pages: installed (3531), or failed with the exit
// code (3532).
void showInstallOutcome(HINSTANCE instance, unsigned langId, int exitCode);
