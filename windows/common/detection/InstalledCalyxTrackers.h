#pragma once

#include "GroupTracker.h"
#include "KnownProductCodeInstalledCalyxTracker.h"
#include "ModernUpgradeCodeInstalledCalyxTracker.h"

// Every installed Calyx product: those found by product-code template
// first, then those found by modern-scheme upgrade code, each once.
typedef GroupTracker<KnownProductCodeInstalledCalyxTracker, ModernUpgradeCodeInstalledCalyxTracker>
    AllInstalledCalyxTracker;
