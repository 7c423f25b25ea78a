#pragma once

#include <windows.h>

#include <string>

#include "AutoHandle.h"

namespace msi {

// A package database opened read-only.
class Database {
public:
    // Opens the package file; raises Error when the service cannot.
    explicit Database(const std::string& path);
    // Opens the cached package ("LocalPackage") of an installed product.
    explicit Database(const GUID& productCode);

    // The Value of the named row of the Property table. A property the
    // table does not hold raises Error with status 259 (no more items).
    std::string getProperty(const std::string& name) const;

    // Whether the package holds a substorage of that name (an embedded
    // transform, for one). The name is digits, letters, "_" or "." only;
    // anything else raises std::invalid_argument.
    bool hasStorage(const std::string& name) const;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    UniqueMsiHandle handle_;
};

} // namespace msi
