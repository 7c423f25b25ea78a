// The runtime package's custom actions: they post operations 4 to 7 into
// the installer's progress mailbox while the package does its work.
#include <windows.h>
#include <msi.h>

#include <ipc/Error.h>

#include "ClientOperation.h"
#include "Log.h"
#include "OperationMailbox.h"

namespace {

// Each record stays in the mailbox for a few of the installer's 100 ms
// polls, so that none is missed and the bar moves through every operation
// instead of jumping over it.
const DWORD HoldMs = 300;

// Never fails the install: without a mailbox (a silent run, or the package
// run by itself) there is nobody to tell.
UINT post(unsigned id, unsigned state) {
    try {
        progress::ClientOperation mailbox(progress::OperationMailbox::SharedMemoryName);
        // Before the post: whatever the installer does with the record comes
        // after this in its log.
        LOG_AT_NAMED(LOG_TRACE, "ProgressActions", "Posting operation " << id << " state " << state);
        mailbox.post(id, state);
        Sleep(HoldMs);
    } catch (const ipc::PlatformError& e) {
        if (e.code() != ERROR_FILE_NOT_FOUND) {
            REPORT_CAUGHT(e);
        }
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    } catch (...) {
        REPORT_UNKNOWN_CAUGHT();
    }
    return ERROR_SUCCESS;
}

} // namespace

// Before the files are copied.
extern "C" __declspec(dllexport) UINT __stdcall PostCopyStarted(MSIHANDLE) {
    return post(4, progress::Operation::Started);
}

// After the files, before the registry is written.
extern "C" __declspec(dllexport) UINT __stdcall PostConfigureStarted(MSIHANDLE) {
    return post(5, progress::Operation::Started);
}

// Before the product is registered.
extern "C" __declspec(dllexport) UINT __stdcall PostRegisterStarted(MSIHANDLE) {
    return post(6, progress::Operation::Started);
}

// Before the features and the product are published.
extern "C" __declspec(dllexport) UINT __stdcall PostPublishStarted(MSIHANDLE) {
    return post(7, progress::Operation::Started);
}

// The package's work is done.
extern "C" __declspec(dllexport) UINT __stdcall PostPublishFinished(MSIHANDLE) {
    return post(7, progress::Operation::Finished);
}
