#pragma once

#include <windows.h>

#include <functional>

// Runs a blocking call on a worker thread and waits for it no later than
// deadline (a GetTickCount64 time). Wine's WinINet does not return from a
// blocking call when another thread closes its handle, so the caller stops
// waiting instead: the call may outlive the wait, so everything it touches
// must be its own (captured by value, shared pointers for handles and
// buffers). True when the call ended in time.
bool callBefore(ULONGLONG deadline, std::function<void()> call);
