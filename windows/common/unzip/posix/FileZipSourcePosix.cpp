#include "FileZipSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

class PosixFileZipSource : public ZipSource {
public:
    PosixFileZipSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
    ~PosixFileZipSource() override { close(fd_); }

    uint64_t size() const override { return size_; }

protected:
    size_t readSome(uint64_t offset, void* buffer, size_t length) override {
        for (;;) {
            const ssize_t n = pread(fd_, buffer, length, static_cast<off_t>(offset));
            if (n >= 0 || errno != EINTR) {
                return n > 0 ? static_cast<size_t>(n) : 0;
            }
        }
    }

private:
    const int fd_;
    const uint64_t size_;
};

} // namespace

std::unique_ptr<ZipSource> openFileZipSource(const std::string& path, std::string* error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = "open(" + path + ") failed with " + std::strerror(errno);
        return nullptr;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        *error = path + " is not a readable regular file";
        close(fd);
        return nullptr;
    }
    return std::make_unique<PosixFileZipSource>(fd, static_cast<uint64_t>(status.st_size));
}
