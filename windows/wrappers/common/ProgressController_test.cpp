#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ClientOperation.h"
#include "ProgressController.h"
#include "RecordingProgressView.h"
#include "TestSupport.h"

using progress::Operation;
using ::testing::HasSubstr;

namespace {

const Operation Pause;  // lets the running operation outrun its time

struct Case {
    const char* name;
    std::vector<Operation> records;
    bool viewRaises;
    bool completes;
};

std::string mailboxName(const char* name) {
    return std::string("CxProgressTest.") + name + "." + std::to_string(GetCurrentProcessId());
}

} // namespace

// Operations 1 and 2 expected to take 200 and 600 ms; each record is posted
// after three polls, and stop() comes after the last.
TEST(ProgressController, BarNeverFallsAndShows100OnceLastAfterTheLastRecord) {
    const Case cases[] = {
        {"in order", {{1, 1}, {2, 1}, {2, 2}}, false, true},
        {"last outruns its time", {{1, 1}, {2, 1}, Pause, Pause, Pause, {2, 2}}, false, true},
        {"later start skips", {{2, 1}, {2, 2}}, false, true},
        {"terminated", {{1, 1}, {1, 3}}, false, false},
        {"stopped mid-operation", {{1, 1}}, false, false},
        {"stopped before the pass began", {}, false, false},
        {"page raises", {{1, 1}, {2, 2}}, true, true},
    };
    for (const Case& c : cases) {
        const std::string name = mailboxName(c.name);
        RecordingProgressView view(c.viewRaises);
        const size_t logFrom = testsupport::readFile(testsupport::tempDir() + "\\cxtimer.log").size();
        std::vector<double> beforeLast;
        {
            ProgressController controller(&view, {{1, 200}, {2, 600}}, name);
            controller.start();
            progress::ClientOperation client(name);
            for (const Operation& record : c.records) {
                Sleep(3 * ProgressController::PollMs);
                beforeLast = view.getValues();
                if (record.getId()) client.post(record.getId(), record.getState());
            }
            if (!c.records.empty()) Sleep(3 * ProgressController::PollMs);
            controller.stop();
            ipc::SharedMemory<Operation> mailbox(ipc::SharedMemoryUnsafe::Open, name);
            EXPECT_EQ(ipc::SharedMemory<Operation>::Snapshot(mailbox).get(), Operation()) << c.name;
        }
        const std::vector<double> values = view.getValues();
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end())) << c.name;
        EXPECT_EQ(std::count(beforeLast.begin(), beforeLast.end(), 100.0), 0) << c.name;
        EXPECT_EQ(std::count(values.begin(), values.end(), 100.0), c.completes ? 1 : 0) << c.name;
        if (c.completes) {
            EXPECT_EQ(values.back(), 100.0) << c.name;
        }
        const std::string log =
            testsupport::readFile(testsupport::tempDir() + "\\cxtimer.log").substr(logFrom);
        if (c.viewRaises) {
            EXPECT_THAT(log, HasSubstr("ProgressController::setPosition")) << c.name;
            EXPECT_EQ(log.find("page gone"), log.rfind("page gone")) << c.name;
            EXPECT_THAT(log, HasSubstr("more progress page calls failed")) << c.name;
        }
    }
}

// An object of another kind holds the mailbox's name: no controller, a log
// record, and the caller goes on.
TEST(ProgressController, MailboxThatCannotBeMadeLeavesTheInstallWithoutABar) {
    const std::string name = mailboxName("squatted");
    const HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(squatter, nullptr);
    RecordingProgressView view;
    EXPECT_EQ(startProgressController(&view, name), nullptr);
    CloseHandle(squatter);
    EXPECT_THAT(testsupport::readFile(testsupport::tempDir() + "\\cxtimer.log"),
                HasSubstr("The install runs without a progress bar"));
    EXPECT_NE(startProgressController(&view, name), nullptr);
}
