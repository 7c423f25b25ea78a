// The progress bar as a page would see it, over scaled installs.
//   progress_bar_winbench runs <n>               n installs, one report line each
//   progress_bar_winbench write <mailbox> <seed> a writer posting operations 1 to 7
//   progress_bar_winbench watch <seconds>        a real install's mailbox and window
// The table is the install's own, scaled to 1/10; the writer keeps each
// operation for its scaled expected time, give or take 20 %, and prints the
// time of each record it posted.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <ipc/Error.h>

#include "ClientOperation.h"
#include "Executor.h"
#include "OperationMailbox.h"
#include "ProgressController.h"

namespace {

const unsigned Scale = 10;

double nowMs() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch()).count();
}

ProgressController::Operations scaledTable() {
    ProgressController::Operations table = progress::OperationMailbox().getOperations();
    for (auto& op : table) op.weight /= Scale;
    return table;
}

// Stands in for the page: every value with the time it came.
class TimedView : public ProgressView {
public:
    struct Value {
        double ms;
        double percent;
    };
    void setProgress(double percent) override {
        std::lock_guard<std::mutex> lock(mutex);
        values.push_back({nowMs(), percent});
    }
    std::vector<Value> values;

private:
    std::mutex mutex;
};

int write(const std::string& mailbox, unsigned seed) {
    progress::ClientOperation client(mailbox);
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> spread(0.8, 1.2);
    for (const auto& op : scaledTable()) {
        client.post(op.id);
        std::printf("%u %.3f\n", op.id, nowMs());
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(op.weight * spread(random)));
    }
    client.post(scaledTable().back().id, progress::Operation::Finished);
    std::printf("0 %.3f\n", nowMs());
    return 0;
}

int runs(int count) {
    const ProgressController::Operations table = scaledTable();
    for (int run = 1; run <= count; ++run) {
        const std::string mailbox = "CxProgressBench." + std::to_string(GetCurrentProcessId()) +
                                    "." + std::to_string(run);
        TimedView view;
        std::vector<std::pair<unsigned, double>> posts;  // (id, ms); id 0 is the last record
        {
            ProgressController controller(&view, table, mailbox);
            controller.start();
            char self[MAX_PATH] = {};
            GetModuleFileNameA(nullptr, self, MAX_PATH);
            Executor writer(self);
            writer.setArguments("write " + mailbox + " " + std::to_string(run))
                .setCaptureOutput(true).setWaitForExit(true).setHideWindow(true);
            if (writer.exec() != 0) {
                std::printf("run %d: the writer failed\n", run);
                return 1;
            }
            std::istringstream lines(writer.output());
            unsigned id;
            double ms;
            while (lines >> id >> ms) posts.push_back({id, ms});
            // The pass ends by itself on the last record; stop joins it.
            std::this_thread::sleep_for(std::chrono::milliseconds(3 * ProgressController::PollMs));
            controller.stop();
        }
        if (posts.size() != table.size() + 1) {
            std::printf("run %d: the writer posted %zu records\n", run, posts.size());
            return 1;
        }
        int decreases = 0;
        double jump = 0, previous = 0, first100 = -1;
        for (const auto& v : view.values) {
            decreases += v.percent < previous;
            jump = std::max(jump, v.percent - previous);
            previous = v.percent;
            if (v.percent >= 100.0 && first100 < 0) first100 = v.ms;
        }
        // Updates while an operation is being timed: from its record until
        // its expected time has run out or the next record came.
        double slowest = 1e9;
        for (size_t i = 0; i + 1 < posts.size(); ++i) {
            const double from = posts[i].second;
            const double to = std::min(posts[i + 1].second, from + table[i].weight);
            const auto inside = std::count_if(view.values.begin(), view.values.end(),
                [&](const TimedView::Value& v) { return v.ms > from && v.ms <= to; });
            slowest = std::min(slowest, inside * 1000.0 / (to - from));
        }
        const double last = posts.back().second;
        std::printf("run %d: %zu updates, decreases %d, largest jump %.1f points, "
                    "first 100 %s, at %+.0f ms from the last record, "
                    "fewest updates per second in an operation %.1f\n",
                    run, view.values.size(), decreases, jump,
                    first100 < 0 ? "never" : (first100 < last ? "BEFORE the last record" : "after the last record"),
                    first100 < 0 ? 0.0 : first100 - last, slowest);
    }
    return 0;
}

// One agreeing copy of the record (a writer may be half-way through it).
progress::Operation readRecord(ipc::SharedMemory<progress::Operation>& mailbox) {
    for (;;) {
        const progress::Operation a = ipc::SharedMemory<progress::Operation>::Snapshot(mailbox).get();
        if (a == ipc::SharedMemory<progress::Operation>::Snapshot(mailbox).get()) return a;
    }
}

// Beside a real install: prints each new record of the installer's mailbox
// as "record <id> <state>" until the empty record follows a posted one (or
// the time is up), while a second thread sends WM_NULL to the progress
// window every 20 ms; then prints the largest round trip, overall and while
// an operation was running.
int watch(double seconds) {
    const double deadline = nowMs() + seconds * 1000;
    std::atomic<bool> done{false}, installing{false};
    double slowest = 0, slowestInstalling = 0;
    unsigned probes = 0;
    std::thread prober([&] {
        while (!done) {
            if (HWND window = FindWindowW(L"OrvelPaneDialog", nullptr)) {
                const double from = nowMs();
                DWORD_PTR answer = 0;
                if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer)) {
                    const double took = nowMs() - from;
                    slowest = std::max(slowest, took);
                    if (installing) slowestInstalling = std::max(slowestInstalling, took);
                    ++probes;
                }
            }
            Sleep(20);
        }
    });
    std::unique_ptr<ipc::SharedMemory<progress::Operation>> mailbox;
    progress::Operation last;
    bool posted = false, ended = false;
    while (!ended && nowMs() < deadline) {
        if (!mailbox) {
            try {
                mailbox.reset(new ipc::SharedMemory<progress::Operation>(
                    ipc::SharedMemoryUnsafe::Open, progress::OperationMailbox::SharedMemoryName));
            } catch (const ipc::PlatformError&) {
                // Not made yet: the installer makes it with its progress page.
            }
        }
        if (mailbox) {
            const progress::Operation now = readRecord(*mailbox);
            if (now != last) {
                std::printf("record %u %u\n", now.getId(), now.getState());
                std::fflush(stdout);
                last = now;
                posted = posted || now != progress::Operation();
                ended = posted && now == progress::Operation();
                installing = now.getState() == progress::Operation::Started;
            }
        }
        Sleep(1);
    }
    done = true;
    prober.join();
    std::printf("window probes %u, largest round trip %.1f ms, %.1f ms while an operation ran\n", probes,
                slowest, slowestInstalling);
    return ended ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "write" && argc == 4) return write(argv[2], static_cast<unsigned>(std::stoul(argv[3])));
    if (mode == "runs" && argc == 3) return runs(std::stoi(argv[2]));
    if (mode == "watch" && argc == 3) return watch(std::stod(argv[2]));
    std::fprintf(stderr, "usage: progress_bar_winbench runs <n> | write <mailbox> <seed> | watch <seconds>\n");
    return 2;
}
