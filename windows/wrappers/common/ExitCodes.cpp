#include "ExitCodes.h"

namespace {

const int kSuccess = 0;
const int kInstallFailure = 1603;
const int kUserExit = 1602;
const int kAlreadyRunning = 1618;
const int kProductVersion = 1638;
const int kInvalidCommandLine = 1639;
const int kRestartInitiated = 1641;
const int kRestartRequired = 3010;

int successCode(Restart restart) {
    switch (restart) {
    case Restart::Required: return kRestartRequired;
    case Restart::Started: return kRestartInitiated;
    case Restart::None: break;
    }
    return kSuccess;
}

} // namespace

int exitCodeFor(ExitCodeStyle style, Outcome::Reason reason, int calyxCode, Restart restart) {
    if (style == ExitCodeStyle::Calyx) return calyxCode;
    using Reason = Outcome::Reason;
    switch (reason) {
    case Reason::INSTALLED:
    case Reason::UNINSTALLED:
        return calyxCode == 0 ? successCode(restart) : calyxCode;
    case Reason::IN_PROGRESS: return kAlreadyRunning;
    case Reason::NEWER_PRESENT:
    case Reason::SAME_STATIC: return kProductVersion;
    // A configuration that could not be written is a failed install, not a bad switch.
    case Reason::CONFIG_ERROR: return calyxCode == -80 ? kInvalidCommandLine : kInstallFailure;
    case Reason::CANCELLED: return kUserExit;
    case Reason::EXTRACTION_FAILED: return kInstallFailure;
    case Reason::VALIDATE: return calyxCode == -80 ? kInvalidCommandLine : calyxCode;
    case Reason::PACKAGE_FAILED:
    case Reason::TEST_SWITCH:
    case Reason::HELP:
    case Reason::EXTRACTED: break;
    }
    // Exit code 1 tells a deployment tool nothing; a failure must not read as success.
    if (calyxCode == 1 || calyxCode < 0) return kInstallFailure;
    return calyxCode;
}

int calyxExitCode(Outcome::Reason reason) {
    using Reason = Outcome::Reason;
    switch (reason) {
    case Reason::CONFIG_ERROR: return -80;
    case Reason::IN_PROGRESS:
    case Reason::SAME_STATIC: return -1;
    case Reason::EXTRACTION_FAILED:
    case Reason::PACKAGE_FAILED: return kInstallFailure;
    case Reason::INSTALLED:
    case Reason::NEWER_PRESENT:
    case Reason::CANCELLED:
    case Reason::TEST_SWITCH:
    case Reason::VALIDATE:
    case Reason::HELP:
    case Reason::UNINSTALLED:
    case Reason::EXTRACTED: break;
    }
    return kSuccess;
}
