#pragma once

#include <cstdint>
#include <string>

#include "ProductEnumerator.h"
#include "Registry.h"
#include "Version.h"

// Everything detection reads from the machine: the installer service, the
// registry and files. Tests supply their own answers.
class DetectionFacts : public ProductEnumerator {
public:
    virtual bool is64BitOs() const = 0;

    // A property of an installed product; empty when it cannot be read.
    virtual std::string productProperty(const std::string& productCode,
                                         const std::string& name) const = 0;

    // A property of a package file; raises when it cannot be read.
    virtual std::string packageProperty(const std::string& packagePath,
                                        const std::string& name) const = 0;

    // Whether the HKLM key exists in the view.
    virtual bool keyExists(RegistryView view, const std::string& key) const = 0;

    // A text value of an HKLM key; empty when the key or value is missing
    // or is no text. name may hold a sub-key path ("MSI\MODE").
    virtual std::string registryString(RegistryView view, const std::string& key,
                                       const std::string& name) const = 0;

    virtual bool fileExists(const std::string& path) const = 0;

    // One entry of a zip archive, whole; raises when it cannot be read or
    // is larger than maxSize.
    virtual std::string zipEntry(const std::string& archivePath, const std::string& entryName,
                                 uint64_t maxSize) const = 0;

    // The file version of an executable; raises when it has none.
    virtual Version fileVersion(const std::string& path) const = 0;

    // This machine.
    static const DetectionFacts& machine();
};
