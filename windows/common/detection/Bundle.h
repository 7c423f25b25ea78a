#pragma once

#include <string>

#include "CalyxVersion.h"
#include "VersionText.h"
#include "ProductType.h"

// One installable Calyx product: its kind, architecture and version. Gives
// the names an installed product is known by.
class Bundle {
public:
    Bundle(int type, int bits, const CalyxVersion& version)
        : type_(type), bits_(bits), version_(version) {}

    int type() const { return type_; }
    int bits() const { return bits_; }
    const CalyxVersion& version() const { return version_; }

    // The product's own key below HKLM, in the view of its bits:
    // "Software\Calyxware\Calyx Runtime Environment\1.4.2_07" for a runtime,
    // "...\Calyx Development Kit\..." for a development kit. Raises for any
    // other type or for bits other than 32 and 64.
    std::string registryKey() const;

    // The name the product is listed under ("Calyx 8 Update 451 (64-bit)").
    std::string displayName() const;

    // "Bundle(type=0, bits=32, version=1.4.2_07)" for messages.
    std::string toString() const;

    [[noreturn]] void throwUnexpectedType() const;

private:
    int type_;
    int bits_;
    CalyxVersion version_;
};
