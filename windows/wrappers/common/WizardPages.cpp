#include "WizardPages.h"

#include <chrono>
#include <thread>

#include "CancelConfirmation.h"
#include "ChangeFolderDialog.h"
#include "CompleteDialog.h"
#include "ErrorDialog.h"
#include "Log.h"
#include "NetUtils.h"
#include "ProgressDialog.h"
#include "ProgressWindow.h"
#include "SecurityPrompts.h"
#include "WelcomeDialog.h"

WizardOutcome RunWizardPages(const std::string& locale, bool launchedFromCxs, std::string& folder,
                             bool& folderChosen) {
    CancelConfirmation confirmation(locale);
    WelcomeDialog welcome(locale);
    ChangeFolderDialog changeFolder(locale);
    welcome.setCancelHandler(&confirmation);
    changeFolder.setCancelHandler(&confirmation);
    changeFolder.folder = folder;
    changeFolder.showBackButton = !launchedFromCxs;
    welcome.changeFolder = launchedFromCxs;
    for (;;) {
        if (!launchedFromCxs && welcome.run() != ui::DialogNext) {
            return WizardOutcome::CancelledOnWelcome;
        }
        if (!welcome.changeFolder) {
            folderChosen = false;
            return WizardOutcome::Continue;
        }
        const int result = changeFolder.run();
        if (result == ui::DialogNext) {
            folder = changeFolder.folder;
            folderChosen = true;
            return WizardOutcome::Continue;
        }
        if (result != ui::DialogBack) {
            return WizardOutcome::CancelledOnFolder;
        }
    }
}

namespace {

// A bar that fills in about 3 s; the page is only shown, as during an
// install: nothing on it ends the dialog.
void sweepProgress(const std::string& locale) {
    ProgressDialog progress(locale);
    progress.show();
    for (int percent = 0; percent <= 100; ++percent) {
        progress.setProgress(percent);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    progress.hide();
}

} // namespace

void ShowTestPage(const std::string& name, const std::string& locale, bool showVerify,
                  const std::string& folder) {
    if (name == "TEST_PROGRESS_DIALOG") {
        sweepProgress(locale);
    } else if (name == "TEST_FINAL_DIALOG") {
        CompleteDialog complete(locale);
        complete.showBackButton = true;
        complete.showSecurity = true;
        complete.showVerify = showVerify;
        complete.run();
        ProcessCompleteDialog(complete, "");
    } else if (name == "TEST_WELCOME_DIALOG") {
        CancelConfirmation confirmation(locale);
        WelcomeDialog welcome(locale);
        welcome.setCancelHandler(&confirmation);
        welcome.run();
    } else if (name == "TEST_CHANGE_DIALOG") {
        CancelConfirmation confirmation(locale);
        ChangeFolderDialog changeFolder(locale);
        changeFolder.setCancelHandler(&confirmation);
        changeFolder.folder = folder;
        changeFolder.run();
    }
}

std::unique_ptr<ProgressDialog> ShowProgressPage(const std::string& locale, const std::string& bannerPath) {
    try {
        std::unique_ptr<ProgressDialog> page(new ProgressDialog(locale));
        if (!bannerPath.empty()) page->banners.push_back(NetUtils::fileUrl(bannerPath));
        page->show();
        if (!page->isLoaded()) {
            LOG_WARNING("The progress page did not load; the install runs without it");
        }
        return page;
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"), e);
        LOG_WARNING("The install runs without its progress page");
        return nullptr;
    }
}

std::unique_ptr<ui::ProgressWindow> ShowProgressWindow(const std::string& title) {
    try {
        return std::unique_ptr<ui::ProgressWindow>(new ui::ProgressWindow(title));
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"), e);
        LOG_WARNING("The install runs without its progress window");
        return nullptr;
    }
}

void HideProgressPage(ProgressDialog* page) {
    if (!page) return;
    try {
        page->hide();
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"), e);
    }
}

void ShowErrorPage(const std::string& locale, int exitCode) {
    try {
        ErrorDialog error(locale);
        error.operation = 0;
        error.errorCode = exitCode;
        error.run();
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"), e);
    }
}
