// The mailbox lives in Windows shared memory; the host build has no part of it.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <ipc/Error.h>

#include "ClientOperation.h"
#include "OperationMailbox.h"
#include "OperationSequence.h"
#include "RecordingProgress.h"
#include "TestSupport.h"
#include "ThreadOperationTimer.h"

using progress::Operation;

namespace {

typedef ipc::SharedMemory<Operation> Mailbox;

Operation read(Mailbox& mailbox) {
    Mailbox::Snapshot s(mailbox);
    return s.get();
}

// Posts each "id:state" record once the previous one was taken (the
// parent empties the mailbox after reading it), pausing a little first so
// that the running operation's timer ticks.
TEST_CHILD_MAIN(postOperations) {
    progress::ClientOperation client(args.at(0));
    Mailbox mailbox(ipc::SharedMemoryUnsafe::Open, args.at(0));
    for (size_t i = 1; i < args.size(); ++i) {
        Sleep(300);
        const size_t colon = args[i].find(':');
        client.post(std::stoul(args[i].substr(0, colon)), std::stoul(args[i].substr(colon + 1)));
        for (int waited = 0; read(mailbox).getState() != Operation::Invalid; waited += 5) {
            if (waited > 20000) {
                return 2;
            }
            Sleep(5);
        }
    }
    return 0;
}

HANDLE startChild(const std::vector<std::string>& args) {
    std::string commandLine = "\"" + testsupport::selfPath() + "\" --cx-child postOperations";
    for (const std::string& a : args) {
        commandLine += " " + a;
    }
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
        return nullptr;
    }
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

} // namespace

TEST(ClientOperation, OpeningAMissingMailboxRaises) {
    try {
        progress::ClientOperation client("CxNoMailboxHere");
        ADD_FAILURE() << "no exception";
    } catch (const ipc::PlatformError& e) {
        EXPECT_EQ(e.code(), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    }
}

TEST(ClientOperation, PostReplacesTheWholeRecord) {
    Mailbox mailbox(ipc::SharedMemoryUnsafe::Create, "");
    progress::ClientOperation client(mailbox.getName());
    client.post(4);
    EXPECT_EQ(read(mailbox), Operation(4, Operation::Started));
    client.post(7, Operation::Finished);
    EXPECT_EQ(read(mailbox), Operation(7, Operation::Finished));
}

// Another process writes the mailbox; this one polls it as the installer
// does and its progress model follows.
TEST(ClientOperation, ModelFollowsRecordsPostedByAnotherProcess) {
    Mailbox mailbox(ipc::SharedMemoryUnsafe::Create, "");
    progress::RecordingProgress target;
    progress::ThreadOperationTimer timer;
    progress::OperationSequence sequence(progress::OperationMailbox().getOperations(), target,
                                         timer);
    HANDLE child = startChild({mailbox.getName(), "1:1", "0:1", "4:1", "4:1", "7:2"});
    ASSERT_NE(child, nullptr);

    std::vector<Operation> handled;
    for (int waited = 0; !sequence.isDone() && waited < 30000; waited += 10) {
        Mailbox::Snapshot s(mailbox);
        if (s.get().getState() != Operation::Invalid) {
            sequence.handle(s.get());
            handled.push_back(s.get());
            s.get() = Operation();
            s.flush();
        }
        Sleep(10);
    }
    EXPECT_EQ(WaitForSingleObject(child, 30000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD exitCode = 99;
    GetExitCodeProcess(child, &exitCode);
    CloseHandle(child);
    EXPECT_EQ(exitCode, 0u);

    EXPECT_EQ(handled, std::vector<Operation>({Operation(1, 1), Operation(0, 1), Operation(4, 1),
                                               Operation(4, 1), Operation(7, 2)}));
    EXPECT_TRUE(sequence.isDone());
    const std::vector<unsigned> positions = target.getPositions();
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    ASSERT_FALSE(positions.empty());
    // Chunk 1 was timed while the child paused: the bar moved inside it.
    EXPECT_TRUE(std::any_of(positions.begin(), positions.end(),
                            [](unsigned p) { return p > 0 && p < 148; }));
    for (unsigned boundary : {148u, 222u, 444u, 741u, 889u, 963u}) {
        EXPECT_NE(std::find(positions.begin(), positions.end(), boundary), positions.end())
            << boundary;
    }
    EXPECT_EQ(target.getCompletions(), 1);
    const std::string log = testsupport::readFile(testsupport::tempDir() + "\\cxtimer.log");
    const std::string rejected = "Ignored progress record with operation id 0 and state 1";
    EXPECT_NE(log.find(rejected), std::string::npos) << log;
    EXPECT_EQ(log.find(rejected), log.rfind(rejected)) << log;
}

#endif
