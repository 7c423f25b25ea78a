#pragma once

#include <string>

// Asks the deployment library in calyxHome to switch off the runtime's
// security-baseline expiration check. Loader and query failures are logged,
// never raised.
void TurnOffSecurityBaselineCheck(const std::string& calyxHome);

// The same for the installed runtime of the installer's own architecture;
// nothing happens when none is installed.
void TurnOffSecurityBaselineCheck();
