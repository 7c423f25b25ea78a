#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <mutex>

#include "ClientOperation.h"
#include "ProgressController.h"
#include "TestSupport.h"

using progress::Operation;
using ::testing::HasSubstr;

namespace {

// The page: keeps every percentage; one that raises keeps it first.
struct RecordingView : ProgressView {
    void setProgress(double percent) override {
        std::lock_guard<std::mutex> lock(mutex);
        values.push_back(percent);
        if (raises) throw std::runtime_error("page gone");
    }
    std::vector<double> get() {
        std::lock_guard<std::mutex> lock(mutex);
        return values;
    }
    bool raises = false;
    std::mutex mutex;
    std::vector<double> values;
};

std::string log() { return testsupport::readFile(testsupport::tempDir() + "\\cxtimer.log"); }

const Operation Pause;  // lets the running operation outrun its expected time

} // namespace

// Operations 1 and 2 expected to take 200 and 600 ms; a record every three
// polls, stop() after the last.
TEST(ProgressController, BarNeverFallsAndShows100OnceLastAfterTheLastRecord) {
    const struct {
        const char* name;
        std::vector<Operation> records;
        bool viewRaises, completes;
    } cases[] = {
        {"in order", {{1, 1}, {2, 1}, {2, 2}}, false, true},
        {"last outruns its time", {{1, 1}, {2, 1}, Pause, Pause, Pause, {2, 2}}, false, true},
        {"later start skips", {{2, 1}, {2, 2}}, false, true},
        {"terminated", {{1, 1}, {1, 3}}, false, false},
        {"stopped mid-operation", {{1, 1}}, false, false},
        {"stopped before the pass began", {}, false, false},
        {"page raises", {{1, 1}, {2, 2}}, true, true},
    };
    for (const auto& c : cases) {
        const std::string name = std::string("CxProgressTest.") + c.name;
        RecordingView view;
        view.raises = c.viewRaises;
        const size_t logFrom = log().size();
        std::vector<double> beforeLast;
        {
            ProgressController controller(&view, {{1, 200}, {2, 600}}, name);
            controller.start();
            progress::ClientOperation client(name);
            for (const Operation& record : c.records) {
                Sleep(3 * ProgressController::PollMs);
                beforeLast = view.get();
                if (record.getId()) client.post(record.getId(), record.getState());
            }
            if (!c.records.empty()) Sleep(3 * ProgressController::PollMs);
            controller.stop();
            ipc::SharedMemory<Operation> mailbox(ipc::SharedMemoryUnsafe::Open, name);
            EXPECT_EQ(ipc::SharedMemory<Operation>::Snapshot(mailbox).get(), Operation()) << c.name;
        }
        const std::vector<double>& values = view.values;  // the pass has ended
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end())) << c.name;
        EXPECT_EQ(std::count(beforeLast.begin(), beforeLast.end(), 100.0), 0) << c.name;
        EXPECT_EQ(std::count(values.begin(), values.end(), 100.0), c.completes ? 1 : 0) << c.name;
        EXPECT_TRUE(!c.completes || values.back() == 100.0) << c.name;
        const std::string logged = log().substr(logFrom);
        EXPECT_EQ(logged.find("page gone") != std::string::npos, c.viewRaises) << c.name;
        EXPECT_EQ(logged.find("page gone"), logged.rfind("page gone")) << c.name;
        EXPECT_EQ(logged.find("more progress page calls failed") != std::string::npos, c.viewRaises)
            << c.name;
    }
}

// An object of another kind holds the mailbox's name.
TEST(ProgressController, MailboxThatCannotBeMadeLeavesTheInstallWithoutABar) {
    const HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, "CxProgressTest.squatted");
    ASSERT_NE(squatter, nullptr);
    EXPECT_EQ(startProgressController(nullptr, "CxProgressTest.squatted"), nullptr);
    CloseHandle(squatter);
    EXPECT_THAT(log(), HasSubstr("The install runs without a progress bar"));
    EXPECT_NE(startProgressController(nullptr, "CxProgressTest.squatted"), nullptr);
}
