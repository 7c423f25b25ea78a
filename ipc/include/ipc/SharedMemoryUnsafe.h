#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace ipc {

class SharedMemoryImpl;
class SharedMemoryViewImpl;

// Named, page-file-backed shared memory that other processes can open.
// Unsafe: reads and writes are not synchronised between processes.
class SharedMemoryUnsafe {
public:
    enum Mode { Create, Open };

    // Create: makes a mapping of `size` bytes (named by a fresh GUID text
    // when `name` is empty); Open: opens an existing one of that size, and
    // raises PlatformError when no process has created it.
    SharedMemoryUnsafe(Mode mode, const std::string& name, std::size_t size);
    ~SharedMemoryUnsafe();
    SharedMemoryUnsafe(const SharedMemoryUnsafe&) = delete;
    SharedMemoryUnsafe& operator=(const SharedMemoryUnsafe&) = delete;

    const std::string& getName() const { return name; }
    std::size_t getSize() const { return size; }

    // A view of the whole mapping for the duration of one access.
    class Snapshot {
    public:
        explicit Snapshot(SharedMemoryUnsafe& memory);
        // Unmaps; a failure is logged, never raised.
        ~Snapshot();
        Snapshot(const Snapshot&) = delete;
        Snapshot& operator=(const Snapshot&) = delete;

        void* getData() const;
        std::size_t getSize() const { return size; }

        // Writes the view's changes through.
        void flush();

    private:
        std::unique_ptr<SharedMemoryViewImpl> view;
        std::size_t size;
    };

private:
    std::unique_ptr<SharedMemoryImpl> impl;
    std::size_t size;
    std::string name;
};

} // namespace ipc
