#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CalyxProbe.h"
#include "DetectionFacts.h"
#include "InstalledCalyx.h"
#include "InstalledCalyxTracker.h"

// The Calyx products installed on this machine, complete with home
// folder, full version and mode.
class CalyxEnvironment {
public:
    // Filter flags of detect: a product is kept when the flag of its type
    // and the flag of its architecture are both set.
    enum Filter : unsigned {
        FILTER_CXR = 1,
        FILTER_CXS = 2,
        FILTER_GLINT = 4,
        FILTER_32BIT = 16,
        FILTER_64BIT = 32,
        FILTER_ALL = FILTER_CXR | FILTER_CXS | FILTER_GLINT | FILTER_32BIT | FILTER_64BIT,
    };

    explicit CalyxEnvironment(const DetectionFacts& facts = DetectionFacts::machine());

    // The installed products the filter keeps, in tracker order. A product
    // that cannot be described is logged and left out; a failing service
    // enumeration is logged and ends the walk with what was found, and
    // *complete (when given) is set false; true otherwise.
    std::vector<InstalledCalyx> detect(unsigned filter, bool* complete = nullptr) const;

    // The installed runtimes of one architecture (32 or 64).
    std::vector<InstalledCalyx> detectRuntimes(int bits) const;

    // The installed product the package belongs to, by its ProductCode.
    // Raises when the package cannot be read or its product is not found.
    InstalledCalyx fromMsi(const std::string& packagePath) const;

    // The installed product with this code (any case, with or without
    // braces); raises "No matching Calyx found for <code> Product Code".
    InstalledCalyx fromProductCode(const std::string& productCode) const;

    // FILTER_CXR and the architecture's flag; raises "unexpected arch: "
    // for bits other than 32 and 64.
    static unsigned toFilterFlags(int bits);

    static bool accepts(unsigned filter, int type, int bits);

    // The product of the type and bits with the highest version; the first
    // of equals; null when there is none.
    static const InstalledCalyx* newest(const std::vector<InstalledCalyx>& products, int type,
                                        int bits);

private:
    // The entry with its type and bits detected when the trackers did not
    // know them.
    InstalledProduct completed(const InstalledProduct& entry) const;

    const DetectionFacts& facts_;
    const TrackerContext context_;
    const CalyxProbe probe_;
};
