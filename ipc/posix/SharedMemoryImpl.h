#pragma once

#include <cstddef>
#include <string>

namespace ipc {

// The POSIX shared-memory object behind an ipc::SharedMemoryUnsafe. The
// creating side removes the name when it goes, as the last handle of a
// Windows mapping does.
class SharedMemoryImpl {
public:
    // Raises PlatformError "ipc::SharedMemoryUnsafe::create".
    SharedMemoryImpl(bool create, const std::string& name, std::size_t size);
    ~SharedMemoryImpl();
    SharedMemoryImpl(const SharedMemoryImpl&) = delete;
    SharedMemoryImpl& operator=(const SharedMemoryImpl&) = delete;

    // A fresh GUID-like text, for a mapping nobody named.
    static std::string freshName();

private:
    friend class SharedMemoryViewImpl;
    std::string objectName;
    bool created;
    int fd;
};

// A view of a whole mapping, behind an ipc::SharedMemoryUnsafe::Snapshot.
class SharedMemoryViewImpl {
public:
    // Raises PlatformError "ipc::SharedMemoryUnsafe::Snapshot::Snapshot".
    SharedMemoryViewImpl(SharedMemoryImpl& memory, std::size_t size);
    // Unmaps; a failure is logged, never raised.
    ~SharedMemoryViewImpl();
    SharedMemoryViewImpl(const SharedMemoryViewImpl&) = delete;
    SharedMemoryViewImpl& operator=(const SharedMemoryViewImpl&) = delete;

    void* data() const { return view; }
    // Raises PlatformError "ipc::SharedMemoryUnsafe::Snapshot::flush".
    void flush(std::size_t size);

private:
    void* view;
    std::size_t size;
};

} // namespace ipc
