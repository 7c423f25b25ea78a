#include "RuntimeSettingsFileGuard.h"

#include <windows.h>
#include <shlobj.h>

#include "FileTestSupport.h"
#include "TestSupport.h"
#include "tstrings.h"

namespace testsupport {

namespace {

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

std::string programDataFolder() {
    PWSTR folder = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &folder) != S_OK) return "";
    const std::string result = tstrings::toUtf8(folder);
    CoTaskMemFree(folder);
    return result;
}

RuntimeSettingsFileGuard::RuntimeSettingsFileGuard()
    : vendor_(programDataFolder() + "\\Tolvane"), product_(vendor_ + "\\Calyx"),
      file_(product_ + "\\calyx.settings.cfg"),
      state_(programDataFolder() + "\\cx_test_runtime_settings.state") {
    if (exists(state_)) putBack();
    // Three flags (vendor folder, product folder, file), then the file's bytes.
    std::string state;
    state += exists(vendor_) ? '1' : '0';
    state += exists(product_) ? '1' : '0';
    state += exists(file_) ? '1' : '0';
    writeFile(state_, state + readFile(file_));
}

RuntimeSettingsFileGuard::~RuntimeSettingsFileGuard() {
    putBack();
}

void RuntimeSettingsFileGuard::putBack() const {
    const std::string state = readFile(state_);
    if (state.size() < 3) return;
    if (state[2] == '1') {
        CreateDirectoryA(vendor_.c_str(), nullptr);
        CreateDirectoryA(product_.c_str(), nullptr);
        writeFile(file_, state.substr(3));
    } else {
        DeleteFileA(file_.c_str());
        if (state[1] == '0') RemoveDirectoryA(product_.c_str());
        if (state[0] == '0') RemoveDirectoryA(vendor_.c_str());
    }
    DeleteFileA(state_.c_str());
}

} // namespace testsupport
