#include <gtest/gtest.h>

#include <windows.h>

#include <ipc/Error.h>
#include "Wait.h"

#include <string>

namespace {

DWORD WINAPI takeAndEnd(void* mutex) {
    WaitForSingleObject(mutex, INFINITE);
    return 0;
}

} // namespace

TEST(WaitForSingleObject, ReturnsForSignalledObject) {
    HANDLE e = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(ipc::waitForSingleObject(e, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(e);
}

TEST(WaitForSingleObject, TimeOutRaisesTimeoutExpired) {
    HANDLE e = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    try {
        ipc::waitForSingleObject(e, 20);
        ADD_FAILURE() << "no exception";
    } catch (const ipc::TimeoutExpiredError& ex) {
        EXPECT_NE(std::string(ex.what()).find(") at ipc::waitForSingleObject(): ipc error"),
                  std::string::npos)
            << ex.what();
    }
    CloseHandle(e);
}

TEST(WaitForSingleObject, FailedWaitRaisesPlatformError) {
    try {
        ipc::waitForSingleObject(nullptr, 0);
        ADD_FAILURE() << "no exception";
    } catch (const ipc::PlatformError& ex) {
        EXPECT_EQ(ex.code(), static_cast<unsigned long>(ERROR_INVALID_HANDLE));
        EXPECT_NE(std::string(ex.what()).find("at ipc::waitForSingleObject(): ipc error"),
                  std::string::npos)
            << ex.what();
    }
}

TEST(WaitForSingleObject, AbandonedMutexIsReturnedNotRaised) {
    HANDLE m = CreateMutexA(nullptr, FALSE, nullptr);
    HANDLE t = CreateThread(nullptr, 0, takeAndEnd, m, 0, nullptr);
    WaitForSingleObject(t, INFINITE);
    EXPECT_EQ(ipc::waitForSingleObject(m, 1000), static_cast<DWORD>(WAIT_ABANDONED));
    ReleaseMutex(m);
    CloseHandle(t);
    CloseHandle(m);
}
