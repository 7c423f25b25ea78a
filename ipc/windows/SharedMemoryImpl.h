#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "AutoHandle.h"

namespace ipc {

// The file mapping behind an ipc::SharedMemoryUnsafe.
class SharedMemoryImpl {
public:
    // Creates a page-file-backed mapping or opens an existing one; raises
    // PlatformError "ipc::SharedMemoryUnsafe::create".
    SharedMemoryImpl(bool create, const std::string& name, std::size_t size);

    // A fresh GUID text, for a mapping nobody named.
    static std::string freshName();

private:
    friend class SharedMemoryViewImpl;
    UniqueHandle handle;
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

    void* data() const { return view.get(); }
    // Raises PlatformError "ipc::SharedMemoryUnsafe::Snapshot::flush".
    void flush(std::size_t size);

private:
    UniqueMappedView view;
};

} // namespace ipc
