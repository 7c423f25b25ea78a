// Times single requests of HttpConnection under Wine.
//   network_winbench <url> <timeout ms> <runs>   prints the median seconds
//   and what the last request ended with (bytes or the error)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "HttpConnection.h"

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    HttpConnection::Settings settings;
    settings.url = argv[1];
    settings.allowHttp = true;
    settings.timeoutMs = static_cast<DWORD>(std::stoul(argv[2]));
    const int runs = std::max(1, std::stoi(argv[3]));
    std::vector<double> seconds;
    std::string outcome;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        try {
            outcome = std::to_string(HttpConnection::connect(settings).saveToBuffer().size()) + " bytes";
        } catch (const std::exception& e) {
            outcome = e.what();
        }
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%.3f s  %s\n", seconds[seconds.size() / 2], outcome.c_str());
    return 0;
}
