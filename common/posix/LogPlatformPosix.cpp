#include "LogPlatform.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <vector>

namespace logplatform {

LogTime localTime() {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    tm local{};
    localtime_r(&tv.tv_sec, &local);
    return LogTime{static_cast<unsigned>(local.tm_year + 1900),
                   static_cast<unsigned>(local.tm_mon + 1),
                   static_cast<unsigned>(local.tm_mday),
                   static_cast<unsigned>(local.tm_hour),
                   static_cast<unsigned>(local.tm_min),
                   static_cast<unsigned>(local.tm_sec),
                   static_cast<unsigned>(tv.tv_usec / 1000)};
}

unsigned processId() { return static_cast<unsigned>(getpid()); }

unsigned threadId() { return static_cast<unsigned>(syscall(SYS_gettid)); }

bool appendOnce(const std::string& path, const std::string& text) {
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0) {
        return false;
    }
    const ssize_t written = ::write(fd, text.data(), text.size());
    close(fd);
    return written == static_cast<ssize_t>(text.size());
}

void sleepOneMillisecond() { usleep(1000); }

std::string temporaryDirectory() {
    const char* dir = std::getenv("TMPDIR");
    return dir && *dir ? dir : "/tmp";
}

std::string executablePath() {
    std::vector<char> buffer(260);
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n <= 0) {
            throw std::runtime_error("GetModuleFileName(NULL) failed");
        }
        if (static_cast<size_t>(n) < buffer.size()) {
            return std::string(buffer.data(), static_cast<size_t>(n));
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace logplatform
