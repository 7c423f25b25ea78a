#pragma once

#include <string>

#include "CalyxVersion.h"
#include "ProductEnumerator.h"
#include "ProductType.h"

// One product the installer service knows as installed.
struct InstalledProduct {
    // Braced upper-case GUID text, as the service answers it.
    std::string productCode;
    // A ProductType, or -1 while not known.
    int type = -1;
    // 32 or 64; 0 while not known.
    int bits = 0;
    // The first four items read from the product code, or not set at all.
    CalyxVersion version;
};

// What every tracker is built from: where products are enumerated and
// which Windows they are enumerated on.
struct TrackerContext {
    const ProductEnumerator& products;
    bool is64BitOs;

    // The installer service of this machine.
    static const TrackerContext& installerService();
};

// Walks installed products once, front to back.
class InstalledCalyxTracker {
public:
    virtual ~InstalledCalyxTracker() {}
    // The next entry, or null when the walk is over. The entry belongs to
    // the tracker and stays valid until the following call.
    virtual const InstalledProduct* next() = 0;
};
