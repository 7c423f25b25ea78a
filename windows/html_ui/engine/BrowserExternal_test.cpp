#include <gmock/gmock.h>

#include "Dialog.h"
#include "Log.h"
#include "StandinBrowser.h"
#include "StandinRegistration.h"
#include "TestSupport.h"

using ::testing::Contains;
using ::testing::Field;
using ::testing::HasSubstr;

namespace {

TEST(BrowserExternal, PageCallsReachTheHandlerUntilTheControlGoes) {
    // Each step's answer, as the page saw it, or its log line.
    struct Case { const char *step, *answer, *logged; } cases[] = {
        {"external getLocale", "external getLocale -> de", nullptr},
        {"external log INFO a b", nullptr, "INFO: ab"},
        {"external log lonely", nullptr, "ERROR: lonely"},
        {"external log", nullptr, "ERROR: empty message"},
        {"external notify", nullptr, "external.notify: no parameters specified"},
        {"external setWindowProp TITLE Hello", nullptr, "INFO: setWindowProp(Title): Hello"},
        {"external setWindowProp size 1", nullptr, "ERROR: setWindowProp(Size): requires 2 params"},
        {"external setWindowProp colour red", nullptr, "setWindowProp: unexpected prop: 'colour'"},
        {"external delay soon", nullptr, "cannot get parameter value (soon)"},
    };
    std::string steps = "complete\n";
    for (const Case& c : cases) steps += std::string(c.step) + "\n";
    standin::setScript(steps + "external notify next");
    {
        ui::UIThread uiThread;
        StandinRegistration registration(uiThread);
        ui::Dialog dialog("external.html", "de");
        EXPECT_EQ(ui::DialogNext, dialog.run());
    }
    const std::string log = testsupport::readFile(Logger::defaultLogger().filePath());
    for (const Case& c : cases) {
        if (c.answer) {
            EXPECT_THAT(standin::calls(), Contains(Field(&standin::Call::what, c.answer))) << c.step;
        } else {
            EXPECT_THAT(log, HasSubstr(c.logged)) << c.step;
        }
    }
    // Page script may keep window.external after the control is gone.
    IDispatch* late = standin::takeExternal();
    ASSERT_NE(nullptr, late);
    EXPECT_EQ("getLocale -> en", standin::callExternal(late, {"getLocale"}));
    EXPECT_EQ("notify -> ", standin::callExternal(late, {"notify", "next"}));
    late->Release();
}

} // namespace
