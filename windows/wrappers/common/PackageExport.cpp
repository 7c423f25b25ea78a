#include "PackageExport.h"

#include "BuildInfo.h"
#include "CalyxVersion.h"
#include "FileUtils.h"
#include "HeldFolder.h"
#include "Log.h"
#include "Resource.h"
#include "VersionText.h"
#include "WinErrorHandling.h"
#include "WrapperOffline.h"
#include "resource_ids.h"
#include "tstrings.h"

namespace {

void writeAll(HANDLE file, const char* data, size_t size, const std::string& path) {
    while (size > 0) {
        const DWORD chunk = size > 65536 ? 65536 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) {
            JP_THROW_LAST_ERROR("WriteFile(" + path + ")", WriteFile);
        }
        data += written;
        size -= written;
    }
}

// The file at name holds exactly the resource afterwards, or this raises.
std::string exportResource(HINSTANCE instance, UINT id, const FileUtils::HeldFolder& folder,
                           const std::string& name) {
    size_t size = 0;
    const char* data =
        static_cast<const char*>(Resource(id, IDR_CALYX_INSTALLER_TYPE, instance).getPtr(size));
    const std::string path = FileUtils::joinPath(folder.path(), name);
    UniqueHandle existing(CreateFileW(tstrings::toUtf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (existing) {
        if (!FileMatchesBytes(existing.get(), data, size)) {
            JP_THROW_MSG(path + " already exists and differs from the carried package; not overwritten");
        }
        LOG_INFO(path << " already holds the carried package; kept");
        return path;
    }
    const UniqueHandle file = folder.createFile(name);
    writeAll(file.get(), data, size, path);
    if (!FileMatchesBytes(file.get(), data, size)) {
        FileUtils::deleteByHandle(file.get(), path);
        JP_THROW_MSG("The written package " + path + " differs from the carried one");
    }
    return path;
}

} // namespace

namespace PackageExport {

std::vector<std::string> run(HINSTANCE instance, const std::string& where, bool package64Bit) {
    const std::string folder = FileUtils::stripTrailingSeparators(FileUtils::fullPath(where));
    FileUtils::createDirectory(folder);
    const FileUtils::HeldFolder held = FileUtils::HeldFolder::holdFromProfile(folder, false);
    const std::string runtimeName = "cxr" + withoutBuild(CalyxVersion(CX_RUNTIME_VERSION)).toString() +
                                    (package64Bit ? "_x64" : "") + ".msi";
    return {exportResource(instance, IDR_RUNTIME_PACKAGE, held, runtimeName),
            exportResource(instance, IDR_AGENT_PACKAGE, held, "au.msi")};
}

std::string report(const std::vector<std::string>& paths) {
    std::string text = "Extracted:\n";
    for (const std::string& path : paths) text += "  " + path + "\n";
    if (paths.size() == 2) {
        text += "A deployment of the bare packages:\n"
                "  msiexec /i \"" + paths[0] + "\" /qn REBOOT=ReallySuppress"
                " [TRANSFORMS=:<LANGID>] [INSTALLDIR=<folder>] [AUTO_UPDATE=0 ...]\n"
                "  msiexec /i \"" + paths[1] + "\" /qn [DISABLE=1: no automatic update]"
                " [OEMUPDATE=1]\n"
                "Embedded transforms (LANGID): " CX_RUNTIME_TRANSFORM_IDS "\n";
    }
    return text;
}

} // namespace PackageExport
