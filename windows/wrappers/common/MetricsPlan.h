#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The install metrics of "Software\CxrMetrics" as a decision: what one run's
// result makes of the stored values. The caller reads, asks and writes.
namespace metrics {

// The values as read; an absent or unreadable value is empty.
struct Stored {
    enum class Count { Present, Absent, Unreadable };
    Count machineCount = Count::Absent;
    std::optional<uint32_t> installAttempts;
    std::optional<std::string> newCxrVersion;
    std::optional<uint32_t> updateCount;
    std::optional<std::string> cxrVersion;
};

struct Plan {
    bool countMachine = false;            // write "MachineCount" = 1
    std::optional<int> raiseUpdateCount;  // write "CxrVersion" = carried and this "UpdateCount"
    bool forgetAttempts = false;          // delete "InstallAttempts" and "NewCxrVersion"
    std::optional<int> recordAttempts;    // write this "InstallAttempts" and "NewCxrVersion" = carried
    // As reported; a machine counted now reports "false" once the write
    // succeeded, and keeps this otherwise.
    std::string machineCounted = "XX";
    int installAttempts = 1;
    int updateCount = 0;
};

Plan plan(const Stored& stored, int installResult, const std::string& carriedVersion);

} // namespace metrics
