#include "MsiError.h"

#include <atomic>
#include <optional>

#include "AutoHandle.h"
#include "Log.h"
#include "SysInfo.h"
#include "MessageText.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

const char kMakeMessageName[] = "msi::`anonymous-namespace'::makeMessage";

// String id of a string table entry: table block id/16 + 1, entry id%16,
// each entry a length word followed by that many UTF-16 units. Nothing
// when the module has no such entry; raises for a malformed table.
std::optional<std::wstring> findString(HMODULE module, UINT id) {
    const HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id / 16 + 1),
                                     MAKEINTRESOURCEW(6));
    if (!info) return std::nullopt;
    const DWORD size = SizeofResource(module, info);
    const HGLOBAL loaded = LoadResource(module, info);
    const auto* units = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (!units) {
        JP_THROW_LAST_ERROR(tstrings::sformat("Reading string table of string %u", id),
                            LoadResource);
    }
    const size_t count = size / sizeof(WCHAR);
    size_t pos = 0;
    for (UINT entry = 0; entry < id % 16; ++entry) {
        if (pos >= count) break;
        pos += 1 + units[pos];
    }
    if (pos < count && units[pos] == 0) return std::nullopt;
    if (pos >= count || units[pos] > count - pos - 1) {
        JP_THROW_MSG(tstrings::sformat("String %u is missing or malformed", id));
    }
    return std::wstring(units + pos + 1, units[pos]);
}

std::wstring stringResource(HMODULE module, UINT id) {
    const std::optional<std::wstring> text = findString(module, id);
    if (!text) JP_THROW_MSG(tstrings::sformat("No string table holds string %u", id));
    return *text;
}

// "(<text>)" for status from the message library, "" when it has none.
std::string serviceText(UINT status, const wchar_t* messageLibrary) {
    // The installer carries the texts that some message libraries lack.
    if (!messageLibrary) {
        try {
            if (const auto own = findString(GetModuleHandleW(nullptr), status)) {
                return "(" + tstrings::toACP(*own) + ")";
            }
        } catch (const std::exception& e) {
            reportCaughtException(SOURCE_LOCATION_NAMED(kMakeMessageName), e);
        }
    }
    const std::wstring libraryPath =
        messageLibrary ? std::wstring(messageLibrary)
                       : tstrings::toUtf16(SysInfo::getSystemDir() + "\\msimsg.dll");
    const std::string libraryName = tstrings::toUtf8(libraryPath);
    UniqueModule library(LoadLibraryExW(libraryPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!library) {
        const DWORD error = GetLastError();
        LOG_AT_NAMED(LOG_ERROR, kMakeMessageName,
                     systemFailure("LoadLibraryExW(" + libraryName + ")", error));
        return std::string();
    }
    try {
        return "(" + tstrings::toACP(stringResource(library.get(), status)) + ")";
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED(kMakeMessageName), e);
    }
    return std::string();
}

} // namespace

namespace msi {
namespace {

// Set from any thread that runs an install; read once the run ends.
std::atomic<bool> restartNeeded{false};
std::atomic<bool> restartStarted{false};

} // namespace

std::string makeErrorMessage(UINT status, const std::string& context,
                             const wchar_t* messageLibrary) {
    const std::string detail = tstrings::sformat("MSI error [%u]", status) +
                               serviceText(status, messageLibrary);
    return joinMessage(context, detail);
}

Error::Error(UINT status, const std::string& context)
    : std::runtime_error(makeErrorMessage(status, context)), status_(status) {}

void handleMsiStatus(const std::string& context, UINT status) {
    const char* const name = "msi::`anonymous-namespace'::handleMsiStatus";
    if (status == ERROR_SUCCESS || status == ERROR_SUCCESS_REBOOT_INITIATED ||
        status == ERROR_SUCCESS_REBOOT_REQUIRED) {
        if (status != ERROR_SUCCESS) restartNeeded = true;
        if (status == ERROR_SUCCESS_REBOOT_INITIATED) restartStarted = true;
        LOG_AT_NAMED(LOG_INFO, name,
                     context << "succeeded"
                             << (status != ERROR_SUCCESS ? " [" + std::to_string(status) + "]"
                                                         : std::string()));
        return;
    }
    JP_THROW_NAMED(Error(status, context + "failed"), name);
}

bool restartRequired() { return restartNeeded; }

bool restartInitiated() { return restartStarted; }

void forgetRestartRequired() {
    restartNeeded = false;
    restartStarted = false;
}

} // namespace msi
