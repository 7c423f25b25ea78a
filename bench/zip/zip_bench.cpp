// zip_bench <archive> <entry> <runs>: opens the archive and reads one entry,
// runs times, and prints the median wall time of one run in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ZipFile.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: zip_bench <archive> <entry> <runs>\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[3]));
    std::vector<double> times;
    size_t bytes = 0;
    try {
        for (int i = 0; i < runs; ++i) {
            const auto start = std::chrono::steady_clock::now();
            {
                ZipFile file(argv[1]);
                bytes = file.extractEntryAsUtf8String(argv[2]).size();
            }
            const auto stop = std::chrono::steady_clock::now();
            times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("%.3f %zu\n", times[times.size() / 2], bytes);
    return 0;
}
