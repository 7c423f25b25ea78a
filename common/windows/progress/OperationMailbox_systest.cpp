#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <atomic>
#include <string>
#include <vector>

#include <ipc/SharedMemory.h>
#include <ipc/Thread.h>

#include "Operation.h"
#include "OperationMailbox.h"
#include "TestSupport.h"

using progress::Operation;

namespace {

typedef ipc::SharedMemory<Operation> Mailbox;

std::string runtimePackage() {
    std::string path = "Z:" + testsupport::binaryDir() + "/packages/runtime.msi";
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string productCodeOf(const std::string& package) {
    MSIHANDLE db = 0;
    std::string code;
    if (MsiOpenDatabaseA(package.c_str(), MSIDBOPEN_READONLY, &db) != ERROR_SUCCESS) {
        return code;
    }
    MSIHANDLE view = 0;
    MSIHANDLE record = 0;
    if (MsiDatabaseOpenViewA(db, "SELECT `Value` FROM `Property` WHERE `Property`='ProductCode'",
                             &view) == ERROR_SUCCESS &&
        MsiViewExecute(view, 0) == ERROR_SUCCESS && MsiViewFetch(view, &record) == ERROR_SUCCESS) {
        char value[64] = {};
        DWORD size = sizeof(value);
        if (MsiRecordGetStringA(record, 1, value, &size) == ERROR_SUCCESS) {
            code = value;
        }
    }
    MsiCloseHandle(record);
    MsiCloseHandle(view);
    MsiCloseHandle(db);
    return code;
}

bool installed(const std::string& productCode) {
    return MsiQueryProductStateA(productCode.c_str()) == INSTALLSTATE_DEFAULT;
}

UINT remove(const std::string& productCode) {
    return MsiConfigureProductA(productCode.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
}

// Reads the mailbox every few milliseconds and keeps each new record.
class MailboxWatcher : public ipc::Runnable {
public:
    MailboxWatcher() : mailbox(ipc::SharedMemoryUnsafe::Create, progress::OperationMailbox::SharedMemoryName) {
        thread = ipc::Thread::start(this, false);
    }
    ~MailboxWatcher() override { stop(); }

    std::vector<Operation> stop() {
        stopping = true;
        ipc::Thread::join(thread);
        return seen;
    }

private:
    void run() override {
        Operation last;
        while (!stopping) {
            const Operation now = Mailbox::Snapshot(mailbox).get();
            if (now != last && now.getState() != Operation::Invalid) {
                seen.push_back(now);
            }
            last = now;
            Sleep(5);
        }
    }

    Mailbox mailbox;
    std::atomic<bool> stopping{false};
    std::vector<Operation> seen;
    ipc::Thread::Id thread;
};

class RuntimePackage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(productCode.empty()) << package;
        MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
        // Leftovers of a run that crashed.
        if (installed(productCode)) {
            ASSERT_EQ(remove(productCode), 0u);
        }
    }
    void TearDown() override {
        if (installed(productCode)) {
            EXPECT_EQ(remove(productCode), 0u);
        }
    }

    const std::string package = runtimePackage();
    const std::string productCode = productCodeOf(package);
};

} // namespace

TEST_F(RuntimePackage, CustomActionsPostOperations4To7InOrder) {
    std::vector<Operation> seen;
    {
        MailboxWatcher watcher;
        EXPECT_EQ(MsiInstallProductA(package.c_str(), ""), 0u);
        seen = watcher.stop();
    }
    EXPECT_TRUE(installed(productCode));
    EXPECT_EQ(seen, std::vector<Operation>({Operation(4, Operation::Started),
                                            Operation(5, Operation::Started),
                                            Operation(6, Operation::Started),
                                            Operation(7, Operation::Started),
                                            Operation(7, Operation::Finished)}));
}

TEST_F(RuntimePackage, RemovalPostsNothing) {
    ASSERT_EQ(MsiInstallProductA(package.c_str(), ""), 0u);
    MailboxWatcher watcher;
    EXPECT_EQ(remove(productCode), 0u);
    EXPECT_TRUE(watcher.stop().empty());
    EXPECT_FALSE(installed(productCode));
}

// A silent run, or the package run by itself: the actions find no mailbox
// and the install goes on.
TEST_F(RuntimePackage, InstallsWithoutAMailbox) {
    EXPECT_EQ(MsiInstallProductA(package.c_str(), ""), 0u);
    EXPECT_TRUE(installed(productCode));
}
