#include <ipc/SharedMemoryUnsafe.h>

#include <objbase.h>

#include <cassert>
#include <cstdint>

#include "Log.h"
#include "PlatformFailure.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace ipc {

namespace {

std::string newGuidText() {
    GUID guid;
    const HRESULT hr = CoCreateGuid(&guid);
    if (FAILED(hr)) {
        JP_THROW_NAMED(PlatformError(static_cast<unsigned long>(hr)),
                       "ipc::SharedMemoryUnsafe::create");
    }
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return tstrings::toUtf8(text);
}

HANDLE createMapping(SharedMemoryUnsafe::Mode mode, const std::string& name, std::size_t size) {
    const std::uint64_t size64 = size;
    HANDLE handle = mode == SharedMemoryUnsafe::Create
                        ? CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                             static_cast<DWORD>(size64 >> 32),
                                             static_cast<DWORD>(size64), name.c_str())
                        : OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name.c_str());
    if (!handle) {
        IPC_THROW_LAST_ERROR("ipc::SharedMemoryUnsafe::create");
    }
    return handle;
}

} // namespace

SharedMemoryUnsafe::SharedMemoryUnsafe(Mode mode, const std::string& name, std::size_t size)
    : size(size), name(mode == Create && name.empty() ? newGuidText() : name) {
    assert(!this->name.empty());
    handle.reset(createMapping(mode, this->name, size));
}

SharedMemoryUnsafe::Snapshot::Snapshot(SharedMemoryUnsafe& memory)
    : view(MapViewOfFile(memory.handle.get(), FILE_MAP_ALL_ACCESS, 0, 0, memory.size)),
      size(memory.size) {
    if (!view) {
        IPC_THROW_LAST_ERROR("ipc::SharedMemoryUnsafe::Snapshot::Snapshot");
    }
}

SharedMemoryUnsafe::Snapshot::~Snapshot() {
    if (!UnmapViewOfFile(view.release())) {
        LOG_AT_NAMED(LOG_ERROR, "ipc::SharedMemoryUnsafe::Snapshot::~Snapshot",
                     "UnmapViewOfFile failed with " << systemErrorText(GetLastError()));
    }
}

void SharedMemoryUnsafe::Snapshot::flush() {
    if (!FlushViewOfFile(view.get(), size)) {
        IPC_THROW_LAST_ERROR("ipc::SharedMemoryUnsafe::Snapshot::flush");
    }
}

} // namespace ipc
