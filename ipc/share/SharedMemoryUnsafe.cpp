#include <ipc/SharedMemoryUnsafe.h>

#include <cassert>

#include "SharedMemoryImpl.h"

namespace ipc {

SharedMemoryUnsafe::SharedMemoryUnsafe(Mode mode, const std::string& name, std::size_t size)
    : size(size), name(mode == Create && name.empty() ? SharedMemoryImpl::freshName() : name) {
    assert(!this->name.empty());
    impl.reset(new SharedMemoryImpl(mode == Create, this->name, size));
}

SharedMemoryUnsafe::~SharedMemoryUnsafe() = default;

SharedMemoryUnsafe::Snapshot::Snapshot(SharedMemoryUnsafe& memory)
    : view(new SharedMemoryViewImpl(*memory.impl, memory.size)), size(memory.size) {}

SharedMemoryUnsafe::Snapshot::~Snapshot() = default;

void* SharedMemoryUnsafe::Snapshot::getData() const {
    return view->data();
}

void SharedMemoryUnsafe::Snapshot::flush() {
    view->flush(size);
}

} // namespace ipc
