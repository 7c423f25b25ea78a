#include <gtest/gtest.h>

#include "PageUrl.h"

TEST(PageUrl, ResourceUrlEscapesWhatAUrlWouldMisread) {
    struct Case {
        const wchar_t* path;
        const char* url;
    } cases[] = {
        {L"C:\\Program Files\\cxroffline.exe", "res://C:%5CProgram%20Files%5Ccxroffline.exe/"},
        {L"D:\\100%\\#1\\\u00e9.exe", "res://D:%5C100%25%5C%231%5C\xc3\xa9.exe/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.url, ui::resourceUrlBase(c.path)) << c.url;
    }
}
