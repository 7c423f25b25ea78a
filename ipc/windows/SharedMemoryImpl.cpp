#include "SharedMemoryImpl.h"

#include <objbase.h>

#include <cstdint>

#include "Log.h"
#include "PlatformFailure.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace ipc {

namespace {

HANDLE createMapping(bool create, const std::string& name, std::size_t size) {
    const std::uint64_t size64 = size;
    HANDLE handle = create ? CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                                static_cast<DWORD>(size64 >> 32),
                                                static_cast<DWORD>(size64), name.c_str())
                           : OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name.c_str());
    if (!handle) {
        IPC_THROW_LAST_ERROR("ipc::SharedMemoryUnsafe::create");
    }
    return handle;
}

} // namespace

std::string SharedMemoryImpl::freshName() {
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

SharedMemoryImpl::SharedMemoryImpl(bool create, const std::string& name, std::size_t size)
    : handle(createMapping(create, name, size)) {}

SharedMemoryViewImpl::SharedMemoryViewImpl(SharedMemoryImpl& memory, std::size_t size)
    : view(MapViewOfFile(memory.handle.get(), FILE_MAP_ALL_ACCESS, 0, 0, size)) {
    if (!view) {
        IPC_THROW_LAST_ERROR("ipc::SharedMemoryUnsafe::Snapshot::Snapshot");
    }
}

SharedMemoryViewImpl::~SharedMemoryViewImpl() {
    if (!UnmapViewOfFile(view.release())) {
        LOG_AT_NAMED(LOG_ERROR, "ipc::SharedMemoryUnsafe::Snapshot::~Snapshot",
                     "UnmapViewOfFile failed with " << systemErrorText(GetLastError()));
    }
}

void SharedMemoryViewImpl::flush(std::size_t size) {
    if (!FlushViewOfFile(view.get(), size)) {
        IPC_THROW_LAST_ERROR("ipc::SharedMemoryUnsafe::Snapshot::flush");
    }
}

} // namespace ipc
