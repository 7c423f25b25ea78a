#pragma once

// Hand-made machine answers for the detection tests: installed products,
// related products, properties, registry values and files, with counts of
// the enumeration calls.

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "DetectionFacts.h"
#include "MsiError.h"

class DetectionFactsFake : public DetectionFacts {
public:
    std::vector<std::string> installed;
    std::map<std::string, std::vector<std::string>> related;
    // Enumeration failures: the status the service answers at that index.
    std::map<DWORD, UINT> installedFailures;
    std::map<std::pair<std::string, DWORD>, UINT> relatedFailures;

    bool is64 = true;
    std::map<std::pair<std::string, std::string>, std::string> productProperties;
    std::map<std::pair<std::string, std::string>, std::string> packageProperties;
    std::set<std::pair<RegistryView, std::string>> keys;
    std::map<std::tuple<RegistryView, std::string, std::string>, std::string> values;
    std::set<std::string> files;
    // Archive path to entry text; a missing entry raises.
    std::map<std::string, std::map<std::string, std::string>> archives;
    std::map<std::string, Version> fileVersions;

    mutable size_t installedCalls = 0;
    mutable size_t relatedCalls = 0;
    mutable uint64_t lastZipLimit = 0;

    std::optional<std::string> installedProduct(DWORD index) const override {
        ++installedCalls;
        const auto failure = installedFailures.find(index);
        if (failure != installedFailures.end()) throw msi::Error(failure->second, "enumeration");
        if (index >= installed.size()) return std::nullopt;
        return installed[index];
    }

    std::optional<std::string> relatedProduct(const std::string& upgradeCode,
                                              DWORD index) const override {
        ++relatedCalls;
        const auto failure = relatedFailures.find({upgradeCode, index});
        if (failure != relatedFailures.end()) throw msi::Error(failure->second, "related");
        const auto found = related.find(upgradeCode);
        if (found == related.end() || index >= found->second.size()) return std::nullopt;
        return found->second[index];
    }

    bool is64BitOs() const override { return is64; }

    std::string productProperty(const std::string& code, const std::string& name) const override {
        return lookup(productProperties, {code, name});
    }

    std::string packageProperty(const std::string& path, const std::string& name) const override {
        const auto found = packageProperties.find({path, name});
        if (found == packageProperties.end()) throw std::runtime_error("no package " + path);
        return found->second;
    }

    bool keyExists(RegistryView view, const std::string& key) const override {
        return keys.count({view, key}) != 0;
    }

    std::string registryString(RegistryView view, const std::string& key,
                               const std::string& name) const override {
        return lookup(values, {view, key, name});
    }

    bool fileExists(const std::string& path) const override { return files.count(path) != 0; }

    std::string zipEntry(const std::string& archive, const std::string& entry,
                         uint64_t maxSize) const override {
        lastZipLimit = maxSize;
        const auto found = archives.find(archive);
        if (found == archives.end() || found->second.count(entry) == 0) {
            throw std::runtime_error("no entry " + entry + " in " + archive);
        }
        return found->second.at(entry);
    }

    Version fileVersion(const std::string& path) const override {
        const auto found = fileVersions.find(path);
        if (found == fileVersions.end()) throw std::runtime_error("no version in " + path);
        return found->second;
    }

    // The launchers of a runtime (and of a development kit) in home\bin.
    void addLaunchers(const std::string& home, bool developmentKit = false) {
        files.insert(home + "\\bin\\calyx.exe");
        if (developmentKit) files.insert(home + "\\bin\\calyxc.exe");
    }

private:
    template <class Map>
    static std::string lookup(const Map& map, const typename Map::key_type& key) {
        const auto found = map.find(key);
        return found == map.end() ? std::string() : found->second;
    }
};

// The message of what action raises; "no error" when it raises nothing.
inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}
