#include "Outcome.h"

#include <chrono>

#include "Log.h"

Outcome::Outcome(std::string carriedVersion, Clock clock)
    : version_(std::move(carriedVersion)), clock_(std::move(clock)), start_(clock_()) {}

Outcome::~Outcome() {
    try {
        write();
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"), e);
    }
}

void Outcome::because(Reason reason) {
    if (hasReason_) return;
    hasReason_ = true;
    reason_ = reason;
}

const char* Outcome::word(Reason reason) {
    switch (reason) {
    case Reason::INSTALLED: return "installed";
    case Reason::NEWER_PRESENT: return "newer-present";
    case Reason::SAME_STATIC: return "same-static";
    case Reason::IN_PROGRESS: return "in-progress";
    case Reason::CONFIG_ERROR: return "config-error";
    case Reason::EXTRACTION_FAILED: return "extraction-failed";
    case Reason::PACKAGE_FAILED: return "package-failed";
    case Reason::CANCELLED: return "cancelled";
    case Reason::TEST_SWITCH: return "test-switch";
    case Reason::VALIDATE: return "validate";
    case Reason::HELP: return "help";
    case Reason::UNINSTALLED: return "uninstalled";
    case Reason::EXTRACTED: return "extracted";
    }
    return "package-failed";
}

Outcome::Reason Outcome::reason() const {
    return hasReason_ ? reason_ : exitCode_ == 0 ? Reason::INSTALLED : Reason::PACKAGE_FAILED;
}

std::string Outcome::line() const {
    const unsigned long long now = clock_();
    return "Outcome: exit=" + std::to_string(exitCode_) + " reason=" + word(reason()) +
           " product=" + (productCode_.empty() ? "-" : productCode_) + " version=" + version_ +
           " lang=" + std::to_string(langId_) + " transform=" + (transform_ ? "yes" : "no") +
           " removed=" + std::to_string(removed_) + " agent=" + std::to_string(agentResult_) +
           " restart=" + (restartRequired_ ? "required" : "none") + " ui=" + ui_ + " ms=" + std::to_string(now >= start_ ? now - start_ : 0);
}

void Outcome::write() {
    if (written_) return;
    written_ = true;
    LOG_AT_NAMED(LOG_INFO, "WinMain", line());
}

unsigned long long Outcome::steadyMilliseconds() {
    return static_cast<unsigned long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                               std::chrono::steady_clock::now().time_since_epoch())
                                               .count());
}
