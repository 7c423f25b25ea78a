#pragma once

#include <string>

#include "AutoHandle.h"

// The file that marks a running installation. The holder keeps it open
// without sharing and with delete-on-close, so another installer cannot
// delete it while this one runs and the system removes it when we end.
class InstallFlag {
public:
    // "<low-integrity app data>\Tolvane\Calyx\CALYX_INSTALL_FLAG", creating
    // the folders; false (logged) when they cannot be created.
    static bool getFlagPath(std::string& path);
    static bool getFlagPath(const std::string& baseFolder, std::string& path);

    // True when another installer holds the flag. A flag left by a finished
    // run is deleted on the way.
    static bool installationInProgress();
    static bool installationInProgress(const std::string& baseFolder);

    bool take();
    bool take(const std::string& baseFolder);
    void release() { handle_.reset(); }
    bool held() const { return handle_.valid(); }

private:
    UniqueHandle handle_;
};
