#include "Browsers.h"

#include <windows.h>
#include <shellapi.h>

#include <stdexcept>

#include "Executor.h"
#include "FileUtils.h"
#include "Log.h"
#include "Registry.h"
#include "SysInfo.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace browsers {

std::string getDefaultBrowserPath() {
    const std::string file = FileUtils::createTempFile(SysInfo::getTempDir(), "tegu", ".html");
    char program[MAX_PATH] = {};
    const INT_PTR answer = reinterpret_cast<INT_PTR>(FindExecutableA(file.c_str(), nullptr, program));
    FileUtils::tryDeleteFile(file);
    if (answer <= 32) {
        JP_THROW(SysError(JP_API_ADDRESS(FindExecutableA), "cannot find the default browser",
                          static_cast<DWORD>(answer)));
    }
    return program;
}

bool launchDefault(const std::string& url) {
    try {
        if (Executor::ExecProcessAsDesktopUser(getDefaultBrowserPath(), url) != 0) {
            LOG_AT_NAMED(LOG_ERROR, "browsers::launchDefault", "launchDefault(" << url << ") failed");
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("browsers::launchDefault"), e);
        return false;
    }
}

bool isInstalled(int browserId, bool view32) {
    try {
        const Registry clients = Registry::open(
            Registry::localMachine(view32 ? RegistryView::Bits32 : RegistryView::Bits64),
            "Software\\Clients\\StartMenuInternet");
        switch (browserId) {
        case InternetExplorer:
            return clients.keyExists("IEXPLORE.EXE");
        case Firefox:
            return clients.keyExists("FIREFOX.EXE");
        case Chrome:
            for (const std::string& name : clients.getSubkeyNames()) {
                if (tstrings::toLower(name.substr(0, 13)) == "google chrome") return true;
            }
            return false;
        default:
            JP_THROW(std::logic_error("unexpected browserId"));
        }
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("browsers::isInstalled"), e);
        return false;
    }
}

} // namespace browsers
