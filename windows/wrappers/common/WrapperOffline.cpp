#include "WrapperOffline.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "au/AuMsi.h"
#include "BuildInfo.h"
#include "CalyxVersion.h"
#include "FileUtils.h"
#include "HeldFolder.h"
#include "HttpConnection.h"
#include "InstallStatus.h"
#include "Locale.h"
#include "Log.h"
#include "MessageBoxes.h"
#include "NetUtils.h"
#include "OnlineOptions.h"
#include "Resource.h"
#include "SecurityBaselineCheck.h"
#include "resource_ids.h"
#include "SysInfo.h"
#include "WinErrorHandling.h"
#include "VersionText.h"
#include "UpdateUtils.h"
#include "UsageValues.h"
#include "tstrings.h"

namespace {

const char* const kResourceType = "CALYX_INSTALLER";

// The carried version as the folder and file names spell it: "1.8.0_451".
std::string carriedVersionWithoutBuild() {
    return withoutBuild(CalyxVersion(CX_RUNTIME_VERSION)).toString();
}

std::string vendorFolder() {
    return SysInfo::getUserAppDataLowDir() + "\\Tolvane";
}

std::string productFolder(bool package64Bit) {
    return tstrings::sformat(package64Bit ? "%s%s%s_x64" : "%s%s%s",
                             (vendorFolder() + "\\Calyx\\").c_str(), "cxr",
                             carriedVersionWithoutBuild().c_str());
}

// Reports a failed write of the product package, which ends the run; the
// run's exit code is the system error number.
DWORD reportFailedExtraction(const char* step, bool silent) {
    const DWORD error = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<LPSTR>(&text), 0, nullptr);
    const std::string message = tstrings::sformat("%s failed with error %d: %s", step,
                                                  static_cast<int>(error), text ? text : "");
    if (text) LocalFree(text);
    logit(message.c_str());
    // A silent run has nobody to press OK: a box would hang the deployment tool.
    if (!silent) {
        MessageBoxA(nullptr, message.c_str(), "Error", MB_OK);
    }
    // A short write sets no error: the run must still not end as a success.
    return error != 0 ? error : ERROR_INSTALL_FAILURE;
}

} // namespace

std::string GetProductPackagePath(bool package64Bit) {
    try {
        const std::string folder = productFolder(package64Bit);
        FileUtils::HeldFolder::holdFromProfile(folder, true);
        return tstrings::sformat("%s\\%s%s.msi", folder.c_str(), "cxr", carriedVersionWithoutBuild().c_str());
    } catch (const FileUtils::LinkRefused&) {
        return std::string();
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return std::string();
    }
}

bool FileMatchesBytes(HANDLE file, const void* data, size_t size) {
    LARGE_INTEGER length = {};
    if (!GetFileSizeEx(file, &length) || static_cast<unsigned long long>(length.QuadPart) != size) {
        return false;
    }
    // Compared byte for byte from the start: cheaper than hashing both, and
    // just as exact.
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) JP_THROW_LAST_ERROR("SetFilePointerEx", SetFilePointerEx);
    std::vector<char> chunk(64 * 1024);
    const char* expected = static_cast<const char*>(data);
    for (size_t done = 0; done < size;) {
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min(chunk.size(), size - done));
        if (!ReadFile(file, chunk.data(), wanted, &read, nullptr)) JP_THROW_LAST_ERROR("ReadFile", ReadFile);
        if (read == 0 || std::memcmp(chunk.data(), expected + done, read) != 0) return false;
        done += read;
    }
    return true;
}

bool ExtractResourceTo(HINSTANCE instance, UINT id, const std::string& path, bool silent,
                       ExtractedPackage& package, WriteFailure onWriteFailure) {
    const void* data = nullptr;
    size_t size = 0;
    try {
        data = Resource(id, kResourceType, instance).getPtr(size);
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return false;
    }
    const auto writeFailed = [&](const char* step) {
        if (onWriteFailure == WriteFailure::EndsTheRun) {
            package.failure_ = reportFailedExtraction(step, silent);
            return false;
        }
        LOG_ERROR(systemFailure(step, GetLastError()));
        return false;
    };
    // The folder stays held, so the file reopened below is the one written.
    std::unique_ptr<FileUtils::HeldFolder> folder;
    {
        UniqueHandle file;
        try {
            folder.reset(new FileUtils::HeldFolder(
                FileUtils::HeldFolder::holdFromProfile(FileUtils::dirName(path), false)));
            file = folder->createFile(FileUtils::baseName(path));
        } catch (const SysError& e) {
            REPORT_CAUGHT(e);
            SetLastError(e.code());
            return writeFailed("Installer : Wrapper.CreateFile ");
        } catch (const std::exception& e) {
            REPORT_CAUGHT(e);
            return writeFailed("Installer : Wrapper.CreateFile ");
        }
        const char* p = static_cast<const char*>(data);
        size_t left = size;
        while (left > 0) {
            const DWORD chunk = left > 8192 ? 8192 : static_cast<DWORD>(left);
            DWORD written = 0;
            if (!WriteFile(file.get(), p, chunk, &written, nullptr) || written == 0) {
                const DWORD error = GetLastError();
                FileUtils::deleteByHandle(file.get(), path);
                SetLastError(error);
                return writeFailed("Installer : Wrapper.WriteFile (In small chunks) ");
            }
            p += written;
            left -= written;
        }
        if (!CloseHandle(file.release())) return writeFailed("Installer : Wrapper.CloseHandle ");
    }
    // Held without write or delete sharing until the service is done, so the
    // file it installs is the one checked here.
    package.handle_.reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!package.handle_) {
        LOG_ERROR(systemFailure("CreateFile(" + path + ")", GetLastError()));
        return false;
    }
    try {
        if (!FileMatchesBytes(package.handle_.get(), data, size)) {
            LOG_ERROR("The extracted package [" << path << "] differs from the carried one");
            package.release();
            return false;
        }
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        package.release();
        return false;
    }
    package.path_ = path;
    package.folder_ = std::move(folder);
    return true;
}

bool ExtractProductPackage(HINSTANCE instance, const std::string& path, bool silent,
                           ExtractedPackage& package) {
    return ExtractResourceTo(instance, 103, path, silent, package);
}

int ExtractAndInstallAutoUpdate(HINSTANCE instance, bool oemUpdate, bool autoUpdate) {
    int result = -1;
    try {
        const std::string folder = vendorFolder() + "\\Calyx\\AU";
        try {
            FileUtils::HeldFolder::holdFromProfile(folder, true);
        } catch (const FileUtils::LinkRefused&) {
            return result;
        }
        result = -5;
        ExtractedPackage package;
        if (!ExtractResourceTo(instance, IDR_AGENT_PACKAGE, folder + "\\au.msi", true, package,
                               WriteFailure::ReturnFalse)) {
            return result;
        }
        au::msi::InstallRequest request;
        request.packagePath = package.path();
        request.oemUpdate = oemUpdate;
        request.autoUpdateEnabled = autoUpdate;
        result = au::msi::install(request);
        package.release();
        if (!autoUpdate) TurnOffSecurityBaselineCheck();
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ExtractAndInstallAutoUpdate"), e);
    }
    return result;
}

void RemoveExtractionFolders(bool package64Bit) {
    try {
        // Held from the profile down: a link at any level ends the clean-up
        // there, and nothing it points at is touched.
        const std::string vendor = vendorFolder();
        const FileUtils::HeldFolder base = FileUtils::HeldFolder::holdFromProfile(FileUtils::dirName(vendor), false);
        if (FileUtils::exists(vendor + "\\Calyx")) {
            const FileUtils::HeldFolder calyx = base.child("Tolvane", false).child("Calyx", false);
            calyx.remove(FileUtils::baseName(productFolder(package64Bit)));
            calyx.remove("AU");
        }
        base.removeIfEmpty("Tolvane");
    } catch (const FileUtils::LinkRefused&) {
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
    }
}

int ExecCommand(const msi::InstallData& request,
                const std::function<void(const msi::InstallData&)>& install) {
    // A stale status address must not outlive the run that set it.
    SetPolicyValue("", "PostStatusUrl");
    int result = ERROR_INSTALL_FAILURE;
    try {
        try {
            install(request);
            result = 0;
        } catch (const msi::Error& e) {
            result = static_cast<int>(e.getStatus());
            throw;
        }
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ExecCommand"), e);
    } catch (...) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ExecCommand"));
    }
    return result;
}

namespace {

const DWORD kDocumentTimeoutMs = 20000;
const unsigned kPromoDigestString = 4008;

// "<low-integrity app data>\Orvel\Calyx\cxr<version>\CalyxPromoBanner.png"
// with its folders made; empty when a level is a link.
std::string promoImagePath() {
    const std::string folder =
        SysInfo::getUserAppDataLowDir() + "\\Orvel\\Calyx\\cxr" + carriedVersionWithoutBuild();
    try {
        FileUtils::HeldFolder::holdFromProfile(folder, true);
    } catch (const FileUtils::LinkRefused&) {
        return std::string();
    }
    return tstrings::sformat("%s\\%s.png", folder.c_str(), "CalyxPromoBanner");
}

std::vector<char> fetch(const std::string& url, bool allowHttp) {
    HttpConnection::Settings settings;
    settings.url = url;
    settings.allowHttp = allowHttp;
    settings.timeoutMs = kDocumentTimeoutMs;
    return HttpConnection::connect(settings).saveToBuffer();
}

} // namespace

bool GetOptionsFromXmlIfOnline(HINSTANCE instance, unsigned langId, std::string& offlineOptions,
                               PromoImage& image) {
    offlineOptions.clear();
    image.release();
    UsageValues& usage = UsageValues::current();
    usage.postStatusUrl.clear();

    std::string url;
    // An administrator's override may name a plain HTTP server.
    const bool overridden = ReadCalyxwareValue("InstallerXmlURL", url, 2048);
    if (!overridden) {
        url = "https://" + NetUtils::vendorHost("update") + "/update/" CX_RUNTIME_FAMILY "/" CX_RUNTIME_VERSION ".xml";
    }
    const Locale& locale = Locale::fromLangId(langId);
    OnlineOptions options;
    bool result = false;
    try {
        const std::vector<char> text = fetch(url, overridden);
        options = OnlineOptions::fromDocument(std::string(text.begin(), text.end()), locale.name());
        offlineOptions = options.offlineOptions;
        usage.postStatusUrl = options.postStatusUrl;
        result = options.hasPostStatus();
        if (result) {
            std::string stored;
            if (!ReadStoredCountry(stored)) GetCountry(options.countryLookupUrl);
        }
    } catch (const HttpConnection::network_error& e) {
        // An offline machine is what this installer is made for.
        LOG_AT_NAMED(LOG_WARNING, "GetOptionsFromXmlIfOnline",
                     "No online options; the install goes on without them: " << e.what());
        return result;
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("GetOptionsFromXmlIfOnline"), e);
        return result;
    }
    if (locale.langId() == Locale::english().langId() || options.packageUrl.empty()) return result;

    const std::string path = promoImagePath();
    if (path.empty()) return result;
    try {
        HttpConnection::Settings settings;
        settings.url = tstrings::sformat("%s/%s_%s.png", options.packageUrl.c_str(), "CalyxPromoBanner",
                                         locale.name().c_str());
        settings.allowHttp = overridden;
        settings.timeoutMs = kDocumentTimeoutMs;
        HttpConnection::connect(settings).saveToFile(path);
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("GetOptionsFromXmlIfOnline"), e);
        return result;
    }
    image.handle_.reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const std::string expected = loadInstallerString(instance, langId, kPromoDigestString);
    if (image.handle_ && verifyCheckSum(path, expected)) {
        image.path_ = path;
    } else {
        image.release();
        try {
            FileUtils::HeldFolder::holdFromProfile(FileUtils::dirName(path), false).remove(FileUtils::baseName(path));
        } catch (const std::exception& e) {
            REPORT_CAUGHT(e);
        }
    }
    return result;
}
