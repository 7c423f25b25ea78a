#pragma once

#include <cstdint>
#include <memory>

namespace ipc {

class MutexImpl;

// An unnamed kernel mutex. Its owner may lock it again (locks nest and are
// released innermost first). Lock and Unlock are scope objects.
class Mutex {
public:
    class Lock;

    Mutex();
    // A mutex destroyed while locked hands its handle to the locks that hold
    // it: they release it, and the outermost closes it.
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    // Holds the mutex from construction to destruction, on one thread.
    class Lock {
    public:
        explicit Lock(Mutex& mutex);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        friend class Mutex;
        friend class Unlock;

        static constexpr std::uint32_t Live = 0x87654321;
        static constexpr std::uint32_t Orphaned = 0x12345678;

        Mutex& m;
        MutexImpl* impl;
        std::uint32_t state;
        Lock* prev;
        std::uint32_t tid;
    };

    // Releases a live innermost lock for its scope and takes it back at the end.
    class Unlock {
    public:
        explicit Unlock(Lock& lock);
        ~Unlock();
        Unlock(const Unlock&) = delete;
        Unlock& operator=(const Unlock&) = delete;

    private:
        Lock& l;
    };

private:
    // Handed to the locks when the mutex goes while they hold it.
    std::unique_ptr<MutexImpl> impl;
    Lock* innermost;
};

} // namespace ipc
