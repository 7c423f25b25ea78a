#pragma once

#include <string>

// "/uninstall": removes the carried build by its product code, without a
// user interface and without a restart, waiting a bounded time for a busy
// installer service. 0 when it was removed or was not installed (a repeated
// uninstall succeeds); otherwise the service's status.
int UninstallCarriedBuild(const std::string& productCode);
