#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "AutoHandle.h"
#include "HeldFolder.h"
#include "MsiUtils.h"

// What a failing write of an extracted package does: the product package
// cannot go on without its file, so the run ends (through its common end);
// a missing agent package only skips the agent.
enum class WriteFailure { EndsTheRun, ReturnFalse };

// The carried product package, written to a per-user folder and held
// read-only until the installer service is done with it.
class ExtractedPackage {
public:
    const std::string& path() const { return path_; }
    bool held() const { return handle_.valid(); }
    // The system error number of a failed write that ends the run; 0 when
    // none failed.
    DWORD failure() const { return failure_; }
    void release() {
        handle_.reset();
        folder_.reset();
    }

private:
    friend bool ExtractProductPackage(HINSTANCE, const std::string&, bool, ExtractedPackage&);
    friend bool ExtractResourceTo(HINSTANCE, UINT, const std::string&, bool, ExtractedPackage&,
                                  WriteFailure);
    std::string path_;
    std::unique_ptr<FileUtils::HeldFolder> folder_;
    UniqueHandle handle_;
    DWORD failure_ = 0;
};

// The promotional image for the progress page, held without write or
// delete sharing until the run ends, so the file shown is the one checked.
class PromoImage {
public:
    const std::string& path() const { return path_; }
    void release() {
        handle_.reset();
        path_.clear();
    }

private:
    friend bool GetOptionsFromXmlIfOnline(HINSTANCE, unsigned, std::string&, PromoImage&);
    std::string path_;
    UniqueHandle handle_;
};

// Fetches the vendor's online options document ("InstallerXmlURL" of the
// vendor key, else the built-in HTTPS address): the offline options, the
// post-status address (into UsageValues) and, outside English, the
// promotional image checked against string 4008. True when a post-status
// address was obtained. Never raises; a silent server costs at most the
// request deadlines.
bool GetOptionsFromXmlIfOnline(HINSTANCE instance, unsigned langId, std::string& offlineOptions,
                               PromoImage& image);

// "<low-integrity app data>\Tolvane\Calyx\cxr<version>[_x64]\cxr<version>.msi"
// with its folders created; empty when a level is a reparse point or cannot
// be made.
std::string GetProductPackagePath(bool package64Bit);

// Writes resource id of type "CALYX_INSTALLER" to path in chunks of at most
// 8192 bytes, then reopens it shared for reading only and compares it byte for byte
// against the resource. False when the resource is missing or the written
// file is not exactly the resource. A failing write logs and, with
// EndsTheRun, shows "Error" (unless silent) and records the system error
// number as the package's failure().
bool ExtractResourceTo(HINSTANCE instance, UINT id, const std::string& path, bool silent,
                       ExtractedPackage& package,
                       WriteFailure onWriteFailure = WriteFailure::EndsTheRun);
bool ExtractProductPackage(HINSTANCE instance, const std::string& path, bool silent,
                           ExtractedPackage& package);

// Writes the carried update agent to "Tolvane\Calyx\AU\au.msi" below the
// low-integrity application data folder and installs it (au::msi::install),
// then turns off the security baseline check when automatic update is off.
// -1 when the folder cannot be made, -5 when the package cannot be written,
// else the agent installer's result. Never raises.
int ExtractAndInstallAutoUpdate(HINSTANCE instance, bool oemUpdate, bool autoUpdate);

// Removes the package folders and the vendor folder when empty; never raises.
void RemoveExtractionFolders(bool package64Bit);

// Whether the file now at path holds exactly these bytes; for the integrity
// check and its tests.
bool FileMatchesBytes(HANDLE file, const void* data, size_t size);

// Runs the package install: 0 on success, the service's status when it
// fails, 1603 for any other failure (logged under "ExecCommand").
// install is the service call; tests replace it to force failures the
// service does not produce on demand.
int ExecCommand(const msi::InstallData& request,
                const std::function<void(const msi::InstallData&)>& install = msi::install);
