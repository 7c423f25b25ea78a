#pragma once

#include <string>

#include "DetectionFacts.h"
#include "InstalledCalyx.h"
#include "InstalledCalyxTracker.h"

// Completes what the trackers know of an installed product (code, type,
// bits, maybe a version) from the machine's records: home folder, full
// version and mode. Each step logs what it tries.
class CalyxProbe {
public:
    explicit CalyxProbe(const DetectionFacts& facts) : facts_(facts) {}

    // CXS when the product's name says it is a development kit, else CXR.
    int detectType(const std::string& productCode) const;

    // 64 when the product's uninstall key is in the 64-bit registry view
    // (also when it is in both), 32 when only in the 32-bit view; raises
    // when it is in neither.
    int detectBits(const std::string& productCode) const;

    // The complete record; raises for bits other than 32 and 64.
    InstalledCalyx getInstalledCalyx(const InstalledProduct& entry) const;

    // The first non-empty of: the InstallLocation property, the folders
    // that ProductIcon, DisplayIcon and Readme point into, the CalyxHome
    // value of the product's own key. No trailing separator.
    std::string findHomeDir(const InstalledProduct& entry) const;

    // The version the manifest of the runtime archive "lib\rt.cxa" names;
    // the entry's version when there is no archive or it cannot be read.
    CalyxVersion adjustVersion(const InstalledProduct& entry, const std::string& homeDir) const;

    // The most complete of the entry's version, the package's FullVersion
    // (or CXS_VERSION) and the build number of the launcher's file
    // version; the entry's own on ties.
    CalyxVersion detectFullVersion(const InstalledProduct& entry, const std::string& homeDir) const;
    CalyxVersion detectFullVersionFromMsi(const InstalledProduct& entry) const;
    CalyxVersion detectFullVersionFromHomeDir(const InstalledProduct& entry,
                                              const std::string& homeDir) const;

    // CALYX_MODE_STATIC when the product's MSI\MODE value is "S" in any
    // case, CALYX_MODE_NORMAL otherwise (failures included).
    int detectCxrMode(const InstalledProduct& entry) const;

    // The nearest folder at or above path that holds the type's launchers
    // in its "bin" folder; empty when none does or path is not absolute.
    std::string homeDirOf(const std::string& path, int type) const;

private:
    // A value under the product's own key, in the product's view. Raises
    // for a type other than CXR and CXS and for bits other than 32 and 64.
    std::string productKeyValue(const InstalledProduct& entry, const std::string& name) const;

    const DetectionFacts& facts_;
};
