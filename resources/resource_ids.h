#pragma once

// Carried resources of the installer executable.
#define IDR_CALYX_INSTALLER_TYPE "CALYX_INSTALLER"
#define IDR_RUNTIME_PACKAGE 103
#define IDR_AGENT_PACKAGE 105
// The executable's icon; the lowest icon id, so the shell shows it.
#define IDI_CALYX 1
