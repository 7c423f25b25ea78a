#include <gtest/gtest.h>

#include "MsiError.h"
#include "MsiTestFixtures.h"
#include "tstrings.h"

namespace {

// A string of the test executable's own string table.
const UINT kTestStringId = 4001;

std::wstring selfLibrary() { return tstrings::fromACP(testsupport::selfPath()); }

void failAt(UINT status) {
    MSI_CHECK_NAMED(status, "Something(x) failed", "msi::Sample::call");
}

} // namespace

TEST(MsiErrorMessage, AppendsTheLibrarysTextForTheStatus) {
    // The system's own reader of the same string is the reference.
    const WCHAR* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), kTestStringId,
                                   reinterpret_cast<LPWSTR>(&text), 0);
    ASSERT_GT(length, 0);
    const std::wstring library = selfLibrary();
    const std::string message =
        msi::makeErrorMessage(kTestStringId, "MsiThing(a) failed", library.c_str());
    EXPECT_EQ(message, "MsiThing(a) failed. MSI error [4001](" +
                           tstrings::toACP(std::wstring(text, length)) + ")");
    EXPECT_EQ(message.compare(0, 48, "MsiThing(a) failed. MSI error [4001](test string"), 0);
}

TEST(MsiErrorMessage, StatusWithoutTextGoesWithoutParentheses) {
    const std::wstring library = selfLibrary();
    msitest::LogWatch log;
    EXPECT_EQ(msi::makeErrorMessage(4002, "Call failed", library.c_str()),
              "Call failed. MSI error [4002]");
    EXPECT_EQ(msi::makeErrorMessage(1, "Call failed;", library.c_str()),
              "Call failed; MSI error [1]");
    const std::string written = log.written();
    EXPECT_NE(written.find("(msi::`anonymous-namespace'::makeMessage)]"), std::string::npos)
        << written;
    EXPECT_NE(written.find("ERROR: Exception with message '"), std::string::npos) << written;
}

TEST(MsiErrorMessage, MissingLibraryIsLoggedAndTextLeftOut) {
    msitest::LogWatch log;
    EXPECT_EQ(msi::makeErrorMessage(1603, "Call failed", L"no-such-msg-library.dll"),
              "Call failed. MSI error [1603]");
    EXPECT_NE(log.written().find("ERROR: LoadLibraryExW(no-such-msg-library.dll) failed with "
                                 "system error "),
              std::string::npos)
        << log.written();
}

TEST(MsiErrorMessage, ServiceLibraryNeverBreaksTheMessage) {
    const std::string message = msi::makeErrorMessage(1603, "MsiInstallProduct(p, ) failed");
    const std::string start = "MsiInstallProduct(p, ) failed. MSI error [1603]";
    ASSERT_EQ(message.compare(0, start.size(), start), 0) << message;
    if (message.size() > start.size()) {
        EXPECT_EQ(message[start.size()], '(') << message;
        EXPECT_EQ(message.back(), ')') << message;
    }
}

TEST(MsiError, CarriesStatusAndLocation) {
    try {
        failAt(1605);
        FAIL() << "no exception";
    } catch (const TeguError<msi::Error>& e) {
        EXPECT_EQ(e.getStatus(), 1605u);
        const std::string what = e.what();
        EXPECT_EQ(what.find("MsiError_test.cpp("), 0u) << what;
        EXPECT_NE(what.find(") at msi::Sample::call(): Something(x) failed. MSI error [1605]"),
                  std::string::npos)
            << what;
    }
    EXPECT_NO_THROW(failAt(ERROR_SUCCESS));
}

TEST(MsiStatus, SuccessStatusesLogOneRecordEach) {
    msitest::LogWatch log;
    msi::forgetRestartRequired();
    msi::handleMsiStatus("MsiInstallProduct(a.msi, ) ", 0);
    EXPECT_FALSE(msi::restartRequired());
    msi::handleMsiStatus("MsiInstallProduct(b.msi, X=1) ", 3010);
    EXPECT_TRUE(msi::restartRequired());
    EXPECT_FALSE(msi::restartInitiated());
    msi::handleMsiStatus("MsiInstallProduct(c.msi, ) ", 1641);
    EXPECT_TRUE(msi::restartInitiated());
    const std::string written = log.written();
    const std::string header = "(msi::`anonymous-namespace'::handleMsiStatus)]\r\n\tINFO: ";
    EXPECT_NE(written.find(header + "MsiInstallProduct(a.msi, ) succeeded\r\n"), std::string::npos)
        << written;
    EXPECT_NE(written.find(header + "MsiInstallProduct(b.msi, X=1) succeeded [3010]\r\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find(header + "MsiInstallProduct(c.msi, ) succeeded [1641]\r\n"),
              std::string::npos)
        << written;
    size_t records = 0;
    for (size_t pos = written.find("\tINFO: "); pos != std::string::npos;
         pos = written.find("\tINFO: ", pos + 1)) {
        ++records;
    }
    EXPECT_EQ(records, 3u);
}

TEST(MsiStatus, OtherStatusesRaiseWithTheirStatus) {
    for (const UINT status : {1602u, 1603u, 1618u, 1u}) {
        msitest::LogWatch log;
        try {
            msi::handleMsiStatus("MsiInstallProduct(a.msi, ) ", status);
            ADD_FAILURE() << "no exception for " << status;
        } catch (const msi::Error& e) {
            EXPECT_EQ(e.getStatus(), status);
            const std::string what = e.what();
            EXPECT_NE(what.find("at msi::`anonymous-namespace'::handleMsiStatus(): "
                                "MsiInstallProduct(a.msi, ) failed. MSI error [" +
                                std::to_string(status) + "]"),
                      std::string::npos)
                << what;
        }
        EXPECT_EQ(log.written().find("succeeded"), std::string::npos);
    }
}
