#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Values the installer shares with the product package, the update agent
// and later runs (InstallerKeys.h says where). These routines report
// failures as result codes or false and log them; they do not raise.

// Deletes "MSIStatusError" and "MSIStatusExtendedError"; 0 when done or when
// the vendor key does not exist.
LONG ClearMSIStatus();

// Reads both status values; 0 on success.
LONG GetMSIStatus(DWORD* status, DWORD* extendedStatus);

// A string value of the vendor key; true when it is not empty and shorter
// than capacity.
bool ReadCalyxwareValue(const std::string& name, std::string& text, size_t capacity);

// Writes a string value of the vendor key, or deletes it for an empty text.
void SetCalyxwareKey(const std::string& name, const std::string& text);

// Deletes "InstallStatus".
void ResetInstallStatus();

// The "SilentInstall" key exists while a silent run installs: 0 or 1603.
int MarkSilentInstall();
void EndSilentInstall();

// Writes (non-empty text) or deletes (empty text) a value of the update
// agent's policy key.
bool SetPolicyValue(const std::string& text, const std::string& name);

// Writes the scheduler's start-up entry when it is missing.
void EnsureSchedulerEntry();

// "<program files>\Calyx\cxr<version without build>" for the first candidate
// folder that is absolute (drive or share); empty, with an ERROR record, when
// none is: a default folder is never relative to the root.
std::string DefaultInstallFolderFrom(const std::vector<std::string>& programFilesCandidates);

// The default folder from the program files folder of the package's
// architecture, falling back to the native one.
std::string GetDefaultInstallFolder(bool package64Bit);
