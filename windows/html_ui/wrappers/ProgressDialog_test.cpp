#include <gmock/gmock.h>

#include <thread>

#include "ProgressDialog.h"
#include "StandinBrowser.h"
#include "StandinRegistration.h"

using ::testing::ElementsAreArray;

TEST(ProgressDialog, PushesBannersThenMovesTheBarFromAnyThread) {
    const struct Case {
        const char* steps;
        std::vector<std::string> evals;
    } cases[] = {
        {"complete",
         {"addBanner('a.png')", "addBanner('it\\'s\\\\b.png')", "setSwitchInterval(3000)",
          "setProgress(42.8571)", "setProgress(100)"}},
        // A page that failed to load has no bar to move.
        {"error 404", {}},
    };
    for (const Case& c : cases) {
        standin::setScript(c.steps);
        {
            ui::UIThread uiThread;
            StandinRegistration registration(uiThread);
            ProgressDialog dialog("en");
            dialog.banners = {"a.png", "it's\\b.png"};
            dialog.switchInterval = 3000;
            dialog.show();
            std::thread([&] { dialog.setProgress(300.0 / 7), dialog.setProgress(100); }).join();
            dialog.hide();
        }
        std::vector<std::string> evals;
        for (const standin::Call& call : standin::calls()) {
            if (call.what.compare(0, 5, "eval ") == 0) evals.push_back(call.what.substr(5));
        }
        EXPECT_THAT(evals, ElementsAreArray(c.evals)) << c.steps;
    }
}
