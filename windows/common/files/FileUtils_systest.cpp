#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "FileTestSupport.h"
#include "FileUtils.h"
#include "tstrings.h"

using testing::HasSubstr;

namespace {

const wchar_t* const kSessionManager = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t* const kPending = L"PendingFileRenameOperations";

// The (source, target) pairs the system will carry out at its next start.
std::vector<std::wstring> pendingOperations(HKEY key) {
    DWORD size = 0;
    if (RegQueryValueExW(key, kPending, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return {};
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 2, L'\0');
    if (RegQueryValueExW(key, kPending, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS) {
        return {};
    }
    std::vector<std::wstring> entries;
    // Empty targets are entries too, so walk by count rather than stop at "".
    const size_t count = size / sizeof(wchar_t);
    for (size_t pos = 0; pos < count;) {
        const std::wstring entry(&data[pos]);
        entries.push_back(entry);
        pos += entry.size() + 1;
    }
    if (entries.size() % 2) entries.pop_back();
    return entries;
}

// Removes the operations on `path`; answers how many pairs there were.
int forgetPendingOperations(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      &key) != ERROR_SUCCESS) {
        return 0;
    }
    const std::wstring source = L"\\??\\" + tstrings::fromACP(path);
    const std::vector<std::wstring> entries = pendingOperations(key);
    std::wstring kept;
    int removed = 0;
    for (size_t i = 0; i + 1 < entries.size(); i += 2) {
        if (_wcsicmp(entries[i].c_str(), source.c_str()) == 0) {
            ++removed;
        } else {
            kept += entries[i] + L'\0' + entries[i + 1] + L'\0';
        }
    }
    if (kept.empty()) {
        RegDeleteValueW(key, kPending);
    } else {
        kept += L'\0';
        RegSetValueExW(key, kPending, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kept.data()),
                       static_cast<DWORD>(kept.size() * sizeof(wchar_t)));
    }
    RegCloseKey(key);
    return removed;
}

} // namespace

TEST(DeletePersistentFile, BusyFileIsScheduledForTheNextStart) {
    const std::string file = testsupport::testFolder("persistent-busy") + "\\busy.txt";
    ASSERT_TRUE(testsupport::writeFile(file));
    forgetPendingOperations(file);
    {
        const UniqueHandle busy = testsupport::holdOpen(file);
        ASSERT_TRUE(busy.valid());
        FileUtils::deletePersistentFile(file);
    }
    EXPECT_TRUE(FileUtils::exists(file));
    const std::string log = testsupport::logText();
    EXPECT_THAT(log, HasSubstr("INFO: cannot delete file " + file + ", schedule deletion on reboot"));
    EXPECT_THAT(log, HasSubstr("TRACE: Move [" + file + "] file to [] on reboot"));
    EXPECT_EQ(forgetPendingOperations(file), 1);
}
