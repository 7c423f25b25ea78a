#include <gmock/gmock.h>

#include "Log.h"
#include "ProgressWindow.h"
#include "TestSupport.h"

TEST(ProgressWindow, ABarInATitledWindowWithoutCloseBoxThatKeepsItsRange) {
    {
        ui::ProgressWindow window("Calyx Setup");
        const HWND hwnd = FindWindowW(L"CxrProgressWindow", L"Calyx Setup");
        ASSERT_NE(hwnd, nullptr);
        EXPECT_TRUE(IsWindowVisible(hwnd));
        EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_SYSMENU, 0);
        const std::pair<double, int> shown[] = {{12.5, 12}, {-3, 0}, {60, 60}, {140, 100}};
        for (const auto& step : shown) {
            window.setProgress(step.first);
            EXPECT_EQ(window.position(), step.second) << step.first;
        }
        // Alt+F4 must not end the window during the install.
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindow(hwnd));
    }
    EXPECT_EQ(FindWindowW(L"CxrProgressWindow", nullptr), nullptr);
    EXPECT_THAT(testsupport::readFile(Logger::defaultLogger().filePath()),
                ::testing::HasSubstr("The progress window closed at 100%"));
}
