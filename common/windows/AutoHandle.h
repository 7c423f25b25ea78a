#pragma once

#include <windows.h>
#include <wincrypt.h>
#include <wininet.h>
#include <msi.h>
#include <unknwn.h>

#include <utility>

// The one scope object for every kind of system handle. Close is a free
// function that releases a valid handle and logs (never raises) on failure.
// A handle equal to NoHandle, or to AlsoNoHandle, is "no handle".
template <typename T, void (*Close)(T)>
struct AutoHandleTraits {
    static bool isValid(T h) { return h != T(); }
    static void close(T h) { Close(h); }
};

template <typename T, typename Traits>
class AutoHandle {
public:
    AutoHandle() : handle_(T()) {}
    explicit AutoHandle(T handle) : handle_(handle) {}
    ~AutoHandle() { reset(); }

    AutoHandle(const AutoHandle&) = delete;
    AutoHandle& operator=(const AutoHandle&) = delete;
    AutoHandle(AutoHandle&& other) noexcept : handle_(other.release()) {}
    AutoHandle& operator=(AutoHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    T get() const { return handle_; }
    bool valid() const { return Traits::isValid(handle_); }
    explicit operator bool() const { return valid(); }

    // Closes the held handle, keeping the thread's last error intact so a
    // caller can still report the failure that led here.
    void reset(T handle = T()) {
        if (Traits::isValid(handle_)) {
            const DWORD lastError = GetLastError();
            Traits::close(handle_);
            SetLastError(lastError);
        }
        handle_ = handle;
    }

    T release() {
        T h = handle_;
        handle_ = T();
        return h;
    }

    // For out-parameters of system calls; closes what is held first.
    T* receive() {
        reset();
        return &handle_;
    }

private:
    T handle_;
};

void closeHANDLE(HANDLE h);
void closeRegHandle(HKEY h);
void closeModule(HMODULE h);
void closeMappedView(void* view);
void closeFindHandle(HANDLE h);
void closeCryptProvider(HCRYPTPROV h);
void closeCryptHash(HCRYPTHASH h);
void closeMsiHandle(MSIHANDLE h);
void closeLocalMemory(HLOCAL h);
void closeInternetHandle(HINTERNET h);

struct KernelHandleTraits {
    static bool isValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { closeHANDLE(h); }
};

struct FindHandleTraits {
    static bool isValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { closeFindHandle(h); }
};

typedef AutoHandle<HANDLE, KernelHandleTraits> UniqueHandle;
typedef AutoHandle<HANDLE, FindHandleTraits> UniqueFindHandle;
typedef AutoHandle<HKEY, AutoHandleTraits<HKEY, closeRegHandle>> UniqueRegKey;
typedef AutoHandle<HMODULE, AutoHandleTraits<HMODULE, closeModule>> UniqueModule;
typedef AutoHandle<void*, AutoHandleTraits<void*, closeMappedView>> UniqueMappedView;
typedef AutoHandle<HCRYPTPROV, AutoHandleTraits<HCRYPTPROV, closeCryptProvider>> UniqueCryptProvider;
typedef AutoHandle<HCRYPTHASH, AutoHandleTraits<HCRYPTHASH, closeCryptHash>> UniqueCryptHash;
typedef AutoHandle<MSIHANDLE, AutoHandleTraits<MSIHANDLE, closeMsiHandle>> UniqueMsiHandle;
// Memory the system allocated for the caller (LocalFree).
typedef AutoHandle<HLOCAL, AutoHandleTraits<HLOCAL, closeLocalMemory>> UniqueLocalMemory;
typedef AutoHandle<HINTERNET, AutoHandleTraits<HINTERNET, closeInternetHandle>> UniqueInternetHandle;

// A COM interface pointer; Release cannot fail.
template <typename I>
struct ComPtrTraits {
    static bool isValid(I* p) { return p != nullptr; }
    static void close(I* p) { p->Release(); }
};
template <typename I>
using UniqueComPtr = AutoHandle<I*, ComPtrTraits<I>>;
