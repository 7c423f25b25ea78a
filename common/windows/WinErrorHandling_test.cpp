#include <gtest/gtest.h>

#include "WinErrorHandling.h"

TEST(WinErrorHandling, DescribesCodesWithAndWithoutText) {
    EXPECT_EQ(describeSystemError(0x2FFFFFFF), "No description available");
    const std::string denied = describeSystemError(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied.back(), '.');
    EXPECT_EQ(denied.find('\n'), std::string::npos);
    EXPECT_EQ(systemErrorText(5), "system error 5 (" + denied + ")");
}

TEST(WinErrorHandling, SysErrorJoinsContextAndDetail) {
    const SysError e(nullptr, "open key (HKLM\\X) error", 5);
    EXPECT_EQ(std::string(e.what()), "open key (HKLM\\X) error. System error [5](system error 5 (" +
                                         describeSystemError(5) + "))");
    EXPECT_EQ(e.code(), 5u);
    const SysError withApi(JP_API_ADDRESS(CreateFileA), "Open failed:", 2);
    EXPECT_EQ(std::string(withApi.what()).rfind("Open failed: System error [2](system error 2 (", 0), 0u)
        << withApi.what();
}

TEST(WinErrorHandling, ComErrorUsesLowWordForWin32Facility) {
    const ComError denied(E_ACCESSDENIED, "CoCreate");
    EXPECT_EQ(std::string(denied.what()),
              "CoCreate: COM error 0x80070005 (" + describeSystemError(5) + ")");
    const ComError fail(E_FAIL, "Thing");
    EXPECT_EQ(std::string(fail.what()).rfind("Thing: COM error 0x80004005 (", 0), 0u);
    EXPECT_EQ(fail.getHResult(), E_FAIL);
}

TEST(WinErrorHandling, CheckHelpersRaiseLocatedErrors) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    try {
        JP_CHECK_BOOL(false, "DeleteFile(x) failed", DeleteFileA);
        FAIL();
    } catch (const SysError& e) {
        EXPECT_EQ(e.code(), 2u);
        EXPECT_NE(std::string(e.what()).find("WinErrorHandling_test.cpp("), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("DeleteFile(x) failed. System error [2]"),
                  std::string::npos);
    }
}
