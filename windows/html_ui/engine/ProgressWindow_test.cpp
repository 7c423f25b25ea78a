#include <gmock/gmock.h>

#include "Log.h"
#include "ProgressWindow.h"
#include "TestSupport.h"

TEST(ProgressWindow, ABarInATitledWindowWithoutCloseBoxThatKeepsItsRange) {
    {
        ui::ProgressWindow window("Calyx Setup");
        const HWND hwnd = FindWindowW(L"CxrProgressWindow", L"Calyx Setup");
        ASSERT_TRUE(hwnd && IsWindowVisible(hwnd));
        EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_SYSMENU, 0);
        const std::pair<double, int> steps[] = {{12.5, 12}, {-3, 0}, {60, 60}, {140, 100}};
        for (const auto& [percent, shown] : steps) {
            window.setProgress(percent);
            EXPECT_EQ(window.position(), shown) << percent;
        }
        SendMessageW(hwnd, WM_CLOSE, 0, 0);  // Alt+F4 must not end it during the install
        EXPECT_TRUE(IsWindow(hwnd));
    }
    EXPECT_EQ(FindWindowW(L"CxrProgressWindow", nullptr), nullptr);
    EXPECT_THAT(testsupport::readFile(Logger::defaultLogger().filePath()),
                ::testing::HasSubstr("The progress window closed at 100%"));
}
