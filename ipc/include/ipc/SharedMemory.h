#pragma once

#include <cassert>
#include <cstring>
#include <type_traits>

#include <ipc/SharedMemoryUnsafe.h>

namespace ipc {

// Shared memory holding one record of type T, copied whole in and out.
template <class T>
class SharedMemory {
    static_assert(std::is_trivially_copyable<T>::value, "the record is copied as bytes");

public:
    // As SharedMemoryUnsafe, sized for one record.
    SharedMemory(SharedMemoryUnsafe::Mode mode, const std::string& name)
        : memory(mode, name, sizeof(T)) {}

    const std::string& getName() const { return memory.getName(); }

    // A copy of the record taken when the view is mapped; flush() writes
    // the whole record back.
    class Snapshot {
    public:
        explicit Snapshot(SharedMemory& shared) : impl(shared.memory) {
            assert(sizeof(buffer) == impl.getSize());
            std::memcpy(&buffer, impl.getData(), sizeof(buffer));
        }

        T& get() { return buffer; }

        void flush() {
            std::memcpy(impl.getData(), &buffer, sizeof(buffer));
            impl.flush();
        }

    private:
        SharedMemoryUnsafe::Snapshot impl;
        T buffer;
    };

private:
    SharedMemoryUnsafe memory;
};

} // namespace ipc
