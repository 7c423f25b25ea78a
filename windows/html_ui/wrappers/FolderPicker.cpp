#include "FolderPicker.h"

#include <shlobj.h>

#include "AnsiText.h"
#include "Log.h"
#include "UiHandles.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

bool pickFolder(HWND owner, const std::string& title, std::string& folder) {
    UniqueTaskMemory root;
    const HRESULT located =
        SHGetFolderLocation(nullptr, CSIDL_DRIVES, nullptr, 0, reinterpret_cast<PIDLIST_ABSOLUTE*>(root.receive()));
    if (FAILED(located)) {
        // The picker still works from the desktop.
        LOG_ERROR(systemFailure("SHGetFolderLocation", static_cast<DWORD>(located)));
    }
    const std::wstring wideTitle = tstrings::toUtf16(title);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pidlRoot = static_cast<PCIDLIST_ABSOLUTE>(root.get());
    info.pszDisplayName = displayName;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE;
    const UniqueTaskMemory chosen(SHBrowseForFolderW(&info));
    if (!chosen) {
        return false;
    }
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), path)) {
        LOG_ERROR(systemFailure("SHGetPathFromIDList", GetLastError()));
        return false;
    }
    const std::string utf8 = tstrings::toUtf8(path);
    if (!exactAnsiText(utf8)) {
        LOG_ERROR("The chosen folder " << utf8 << " has no exact form in the ANSI code page; kept "
                                        << folder);
        return false;
    }
    folder = utf8;
    return true;
}
