#pragma once

#include <string>

namespace testsupport {

// The all-users application data folder; empty when the system gives none.
std::string programDataFolder();

// Keeps the machine's runtime settings file as it was: the destructor puts
// its bytes back, or removes it and the folders made for it when there was
// none. The saved state sits beside the folders until then, so a guard
// after a crashed test first puts the machine back from it.
class RuntimeSettingsFileGuard {
public:
    RuntimeSettingsFileGuard();
    ~RuntimeSettingsFileGuard();
    RuntimeSettingsFileGuard(const RuntimeSettingsFileGuard&) = delete;
    RuntimeSettingsFileGuard& operator=(const RuntimeSettingsFileGuard&) = delete;

    const std::string& file() const { return file_; }

private:
    void putBack() const;

    std::string vendor_;
    std::string product_;
    std::string file_;
    std::string state_;
};

} // namespace testsupport
