// Times full detection walks and counts what they ask the machine.
//   detection_winbench walk <runs>          median time of <runs> walks, then the calls of one
//   detection_winbench install <msi>...     installs the packages
//   detection_winbench remove <code>...     removes the products that are installed

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "CalyxEnvironment.h"
#include "GuidText.h"
#include "MsiProduct.h"
#include "MsiUtils.h"

namespace {

typedef std::chrono::steady_clock Clock;

// Passes every question on to the machine, counting calls and time per kind.
class CountingFacts : public DetectionFacts {
public:
    struct Tally {
        size_t calls = 0;
        double ms = 0;
    };
    mutable std::map<std::string, Tally> tallies;

    template <class F>
    auto timed(const char* kind, F&& f) const -> decltype(f()) {
        const auto start = Clock::now();
        struct Record {
            Tally& tally;
            Clock::time_point start;
            ~Record() {
                ++tally.calls;
                tally.ms += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            }
        } record{tallies[kind], start};
        return f();
    }

    std::optional<std::string> installedProduct(DWORD index) const override {
        return timed("MsiEnumProducts", [&] { return machine().installedProduct(index); });
    }
    std::optional<std::string> relatedProduct(const std::string& code, DWORD index) const override {
        return timed("MsiEnumRelatedProducts",
                     [&] { return machine().relatedProduct(code, index); });
    }
    bool is64BitOs() const override { return machine().is64BitOs(); }
    std::string productProperty(const std::string& code, const std::string& name) const override {
        return timed("product property", [&] { return machine().productProperty(code, name); });
    }
    std::string packageProperty(const std::string& path, const std::string& name) const override {
        return timed("package property", [&] { return machine().packageProperty(path, name); });
    }
    bool keyExists(RegistryView view, const std::string& key) const override {
        return timed("registry", [&] { return machine().keyExists(view, key); });
    }
    std::string registryString(RegistryView view, const std::string& key,
                               const std::string& name) const override {
        return timed("registry", [&] { return machine().registryString(view, key, name); });
    }
    bool fileExists(const std::string& path) const override {
        return timed("file exists", [&] { return machine().fileExists(path); });
    }
    std::string zipEntry(const std::string& archive, const std::string& entry,
                         uint64_t maxSize) const override {
        return timed("zip entry", [&] { return machine().zipEntry(archive, entry, maxSize); });
    }
    Version fileVersion(const std::string& path) const override {
        return timed("file version", [&] { return machine().fileVersion(path); });
    }
};

int walk(int runs) {
    std::vector<double> times;
    size_t found = 0;
    for (int i = 0; i < runs; ++i) {
        const CalyxEnvironment calyx;
        const auto start = Clock::now();
        found = calyx.detect(CalyxEnvironment::FILTER_ALL).size();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("products %zu\nmedian_ms %.1f\n", found, times[times.size() / 2]);

    const CountingFacts counting;
    const auto start = Clock::now();
    CalyxEnvironment(counting).detect(CalyxEnvironment::FILTER_ALL);
    std::printf("counted_walk_ms %.1f\n",
                std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    for (const auto& t : counting.tallies) {
        std::printf("calls %s|%zu|%.1f\n", t.first.c_str(), t.second.calls, t.second.ms);
    }
    return 0;
}

int install(const std::vector<std::string>& packages) {
    for (const std::string& path : packages) {
        msi::InstallData data;
        data.packagePath = path;
        msi::install(data);
    }
    return 0;
}

int remove(const std::vector<std::string>& codes) {
    for (const std::string& code : codes) {
        if (msi::getProductInfoOrEmpty(code, "VersionString").empty()) continue;
        msi::UninstallData data;
        data.productCode = guidFromText(code);
        msi::uninstall(data);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        const std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
        if (command == "walk" && args.size() == 1) return walk(std::max(1, std::atoi(args[0].c_str())));
        if (command == "install") return install(args);
        if (command == "remove") return remove(args);
        std::fprintf(stderr, "usage: detection_winbench walk <runs> | install <msi>... | remove <code>...\n");
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
