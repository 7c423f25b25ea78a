#include "KioskRules.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(KioskRules, KeysThatWouldLeaveThePagesAreBlocked) {
    struct Case {
        unsigned key;
        bool ctrl, alt, blocked;
    } cases[] = {
        {'N', true, false, true},  {'O', true, false, true},   {'L', true, false, true},
        {'P', true, false, true},  {'F', true, false, true},   {VK_F5, false, false, true},
        {VK_F5, true, false, true}, {VK_LEFT, false, true, true}, {VK_BROWSER_BACK, false, false, true},
        {'C', true, false, false}, {'V', true, false, false},  {'N', false, false, false},
        {VK_BACK, false, false, false}, {VK_TAB, false, false, false}, {VK_LEFT, false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.blocked, ui::isKioskBlockedKey(c.key, c.ctrl, c.alt)) << c.key << " ctrl=" << c.ctrl;
    }
}

TEST(KioskRules, OnlyTheProgramsOwnPagesAreOwn) {
    const std::string base = "res://C:%5Ccx%20%231%5Ccxroffline.exe/";
    struct Case {
        const char* url;
        bool own;
    } cases[] = {
        {"res://C:%5Ccx%20%231%5Ccxroffline.exe/welcome.html", true},
        {"RES://c:\\cx #1\\CXROFFLINE.EXE/welcome.html", true},
        {"res://C:/cx #1/cxroffline.exe/error.html", true},
        {"res://C:%5Ccx%20%231%5Ccxroffline.exe/../other.exe/x.html", false},
        {"res://C:%5Cother.exe/welcome.html", false},
        {"http://www.calyx.example/", false},
        {"about:blank", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.own, ui::isOwnPage(c.url, base)) << c.url;
}
