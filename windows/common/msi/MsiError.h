#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

#include "TeguError.h"

namespace msi {

// A failed installer-service call. Carries the status the service answered,
// or 0 where the failure is not a service status.
class Error : public std::runtime_error {
public:
    // The message is makeErrorMessage(status, context).
    Error(UINT status, const std::string& context);
    UINT getStatus() const { return status_; }

private:
    UINT status_;
};

// context joined with "MSI error [<status>]", followed by the service's own
// text for the status in parentheses when messageLibrary (loaded as data,
// never run) has one. No library given: msimsg.dll of the system folder,
// never one found beside the executable.
std::string makeErrorMessage(UINT status, const std::string& context,
                             const wchar_t* messageLibrary = nullptr);

// The outcome of an install or removal: 0, 1641 and 3010 log one INFO record
// "<context>succeeded" (" [<status>]" added for the restart statuses);
// any other status raises Error "<context>failed".
void handleMsiStatus(const std::string& context, UINT status);

// Whether an install or removal of this process answered 1641 or 3010: the
// machine needs a restart for what this run changed.
bool restartRequired();
// Whether one of them answered 1641: the service has started the restart.
bool restartInitiated();
void forgetRestartRequired();  // for tests

} // namespace msi

// The raise helper for msi.dll's UINT statuses: anything but ERROR_SUCCESS
// raises TeguError<msi::Error> at the named function. context is built only
// on failure.
#define MSI_CHECK_NAMED(expr, context, name)                                      \
    do {                                                                          \
        const UINT cxMsiStatus_ = (expr);                                         \
        if (cxMsiStatus_ != ERROR_SUCCESS) {                                      \
            JP_THROW_NAMED(msi::Error(cxMsiStatus_, (context)), (name));          \
        }                                                                         \
    } while (0)
