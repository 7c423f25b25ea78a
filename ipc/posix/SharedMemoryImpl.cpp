#include "SharedMemoryImpl.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>

#include "Log.h"
#include "PlatformFailure.h"

namespace ipc {

SharedMemoryImpl::SharedMemoryImpl(bool create, const std::string& name, std::size_t size)
    : objectName("/" + name), created(create),
      fd(create && size == 0
             ? -1
             : shm_open(objectName.c_str(), create ? O_RDWR | O_CREAT | O_EXCL : O_RDWR, 0600)) {
    // Windows makes no empty mapping either.
    if (create && size == 0) errno = EINVAL;
    if (fd < 0) {
        IPC_THROW_ERRNO("ipc::SharedMemoryUnsafe::create");
    }
    if (create && ftruncate(fd, static_cast<off_t>(size)) != 0) {
        const int error = errno;
        close(fd);
        shm_unlink(objectName.c_str());
        errno = error;
        IPC_THROW_ERRNO("ipc::SharedMemoryUnsafe::create");
    }
}

SharedMemoryImpl::~SharedMemoryImpl() {
    close(fd);
    if (created) shm_unlink(objectName.c_str());
}

std::string SharedMemoryImpl::freshName() {
    std::random_device random;
    unsigned parts[4];
    for (unsigned& part : parts) part = random();
    char text[40];
    std::snprintf(text, sizeof(text), "{%08X-%04X-%04X-%04X-%04X%08X}", parts[0], parts[1] >> 16,
                  parts[1] & 0xFFFF, parts[2] >> 16, parts[2] & 0xFFFF, parts[3]);
    return text;
}

SharedMemoryViewImpl::SharedMemoryViewImpl(SharedMemoryImpl& memory, std::size_t size)
    : view(mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, memory.fd, 0)), size(size) {
    if (view == MAP_FAILED) {
        view = nullptr;
        IPC_THROW_ERRNO("ipc::SharedMemoryUnsafe::Snapshot::Snapshot");
    }
}

SharedMemoryViewImpl::~SharedMemoryViewImpl() {
    if (munmap(view, size) != 0) {
        LOG_AT_NAMED(LOG_ERROR, "ipc::SharedMemoryUnsafe::Snapshot::~Snapshot",
                     "munmap failed with errno " << errno << " (" << std::strerror(errno) << ")");
    }
}

void SharedMemoryViewImpl::flush(std::size_t size) {
    if (msync(view, size, MS_SYNC) != 0) {
        IPC_THROW_ERRNO("ipc::SharedMemoryUnsafe::Snapshot::flush");
    }
}

} // namespace ipc
