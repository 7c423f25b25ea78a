#pragma once

#include "Outcome.h"

// Which codes the run returns: its own (the default), or on "/exitcodes=msi"
// the installer service's, which deployment tools already know.
enum class ExitCodeStyle { Calyx, Installer };

enum class Restart { None, Required, Started };

// The code a run that ended for reason with its own code returns in style.
// A package failure keeps the service's code in both styles.
int exitCodeFor(ExitCodeStyle style, Outcome::Reason reason, int calyxCode, Restart restart);

// The run's own code for a stop whose reason fixes it (the outcomes of
// extraction, export, validation, removal and the package carry theirs).
int calyxExitCode(Outcome::Reason reason);
