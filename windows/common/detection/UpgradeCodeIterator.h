#pragma once

#include <windows.h>

#include "ProductType.h"

// The upgrade codes of one product type and architecture in the modern
// version scheme: one per major version from 9 to 99.
class UpgradeCodeIterator {
public:
    // Raises std::runtime_error for a type other than CXR and CXS.
    UpgradeCodeIterator(int type, int bits);

    // The printf format of the type's upgrade codes; its arguments are the
    // bits ("%2d") and the major version ("%04d"). Raises
    // "Unrecognized product type" for a type other than CXR and CXS.
    static const char* getTemplate(int type);

    // The code of the next major version; the all-zero GUID after 99.
    GUID next();

private:
    static constexpr int kFirstMajor = 9;
    static constexpr int kEndMajor = 100;

    const char* format_;
    int bits_;
    int major_ = kFirstMajor;
};
