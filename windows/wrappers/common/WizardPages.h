#pragma once

#include <memory>
#include <string>

class ProgressDialog;
namespace ui {
class ProgressWindow;
}

// How the welcome and folder pages ended.
enum class WizardOutcome { Continue, CancelledOnWelcome, CancelledOnFolder };

// The welcome page, then the folder page when the user ticked its box,
// back and forth until the user goes on or cancels; a cancel is confirmed
// first. folder (UTF-8) is shown on the folder page and holds the user's
// choice when the outcome is Continue and folderChosen is set.
// launchedFromCxs skips the welcome page and always shows the folder page,
// without its back button.
WizardOutcome RunWizardPages(const std::string& locale, bool launchedFromCxs, std::string& folder,
                             bool& folderChosen);

// The page a page test switch names, shown once in the state the run would
// show it in: TEST_FINAL_DIALOG (the complete page with showVerify; its choices
// are then carried out as after an install),
// TEST_PROGRESS_DIALOG (the bar swept from 0 to 100 in about 3 s),
// TEST_WELCOME_DIALOG, TEST_CHANGE_DIALOG (with folder).
void ShowTestPage(const std::string& name, const std::string& locale, bool showVerify,
                  const std::string& folder);

// The progress page, shown modeless with the banner image at bannerPath
// (none when empty); null (logged) when it cannot be made.
std::unique_ptr<ProgressDialog> ShowProgressPage(const std::string& locale, const std::string& bannerPath);

// The native progress window of a run without pages; null (logged) when
// it cannot be made.
std::unique_ptr<ui::ProgressWindow> ShowProgressWindow(const std::string& title);

// Hides the progress page, if any; a failure is only logged.
void HideProgressPage(ProgressDialog* page);

// The error page for a failed install's exit code; a failure is only logged.
void ShowErrorPage(const std::string& locale, int exitCode);
