#include "MsiDatabase.h"

#include <msiquery.h>

#include <cctype>
#include <stdexcept>

#include "GuidText.h"
#include "MsiError.h"
#include "MsiProduct.h"
#include "MsiString.h"

namespace {

const char kGetPropertyName[] = "msi::Database::getProperty";
const char kHasStorageName[] = "msi::Database::hasStorage";

UniqueMsiHandle openDatabase(const std::string& path) {
    UniqueMsiHandle handle;
    MSI_CHECK_NAMED(MsiOpenDatabaseA(path.c_str(), reinterpret_cast<LPCSTR>(MSIDBOPEN_READONLY),
                                     handle.receive()),
                    "MsiOpenDatabase(" + path + ", MSIDBOPEN_READONLY) failed",
                    "msi::`anonymous-namespace'::openDatabase");
    return handle;
}

// A view that is closed (then released) on every path once executed.
class ExecutedView {
public:
    ExecutedView(MSIHANDLE database, const std::string& query, const std::string& callText,
                 const char* function) {
        MSI_CHECK_NAMED(MsiDatabaseOpenViewA(database, query.c_str(), view_.receive()),
                        "MsiDatabaseOpenView(" + callText + ") failed", function);
        MSI_CHECK_NAMED(MsiViewExecute(view_.get(), 0),
                        "MsiViewExecute(" + callText + ") failed", function);
    }
    ~ExecutedView() { MsiViewClose(view_.get()); }
    ExecutedView(const ExecutedView&) = delete;
    ExecutedView& operator=(const ExecutedView&) = delete;

    MSIHANDLE get() const { return view_.get(); }

private:
    UniqueMsiHandle view_;
};

} // namespace

namespace msi {

Database::Database(const std::string& path) : path_(path), handle_(openDatabase(path)) {}

Database::Database(const GUID& productCode)
    : Database(getProductInfo(guidToText(productCode), "LocalPackage")) {}

std::string Database::getProperty(const std::string& name) const {
    const std::string query = "SELECT Value FROM Property WHERE Property = '" + name + "'";
    const std::string callText = path_ + ", " + query;
    const ExecutedView view(handle_.get(), query, callText, kGetPropertyName);

    UniqueMsiHandle record;
    MSI_CHECK_NAMED(MsiViewFetch(view.get(), record.receive()),
                    "MsiViewFetch(" + callText + ") failed", kGetPropertyName);
    if (MsiRecordGetFieldCount(record.get()) != 1) {
        JP_THROW_NAMED(Error(0, "MsiRecordGetFieldCount(" + callText +
                                    ") returned unexpected value"),
                       kGetPropertyName);
    }
    const MSIHANDLE recordHandle = record.get();
    return readString(
        [recordHandle](char* buffer, DWORD* size) {
            return MsiRecordGetStringA(recordHandle, 1, buffer, size);
        },
        "MsiRecordGetString(" + std::to_string(recordHandle) + ", 1)");
}

bool Database::hasStorage(const std::string& name) const {
    for (const char c : name) {
        if (!isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.') {
            JP_THROW_NAMED(std::invalid_argument("Not a storage name: " + name), kHasStorageName);
        }
    }
    const std::string query = "SELECT `Name` FROM `_Storages` WHERE `Name` = '" + name + "'";
    const std::string callText = path_ + ", " + query;
    const ExecutedView view(handle_.get(), query, callText, kHasStorageName);
    UniqueMsiHandle record;
    const UINT status = MsiViewFetch(view.get(), record.receive());
    if (status == ERROR_NO_MORE_ITEMS) return false;
    MSI_CHECK_NAMED(status, "MsiViewFetch(" + callText + ") failed", kHasStorageName);
    return true;
}

} // namespace msi
