#include "DeployLibLoader.h"

#include "Log.h"
#include "TeguError.h"
#include "TrustedLibrary.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

const char kConstructor[] = "DeployLibLoader::DeployLibLoader";
const int kRequestVersion = 4;
const int kRequestKind = 2;
const int kDecisionsArgument = 30;
const char kBaselineCheckOff[] = "deployment.expiration.check.enabled false";

[[noreturn]] void raise(const std::string& text) {
    JP_THROW_NAMED(DeployLibLoader::DeployLibLoaderError(text), kConstructor);
}

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// A drive path ("C:\...") or a UNC path: anything else would make the
// system search for the library.
bool isAbsolute(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && isSeparator(path[2])) {
        const wchar_t drive = path[0];
        return (drive >= L'A' && drive <= L'Z') || (drive >= L'a' && drive <= L'z');
    }
    return path.size() >= 3 && isSeparator(path[0]) && isSeparator(path[1]);
}

std::wstring withoutTrailingSeparators(std::wstring path) {
    while (!path.empty() && isSeparator(path.back())) {
        path.pop_back();
    }
    return path;
}

// Only a library no user can change is loaded into the elevated run; its
// dependencies come from its own folder (checked with it) or the system folder.
HMODULE loadByFullPath(const std::wstring& path, const char* failureText) {
    TrustedLibrary::Verdict verdict;
    try {
        verdict = TrustedLibrary::check(path);
    } catch (const std::exception& e) {
        verdict.refusal = tstrings::toUtf8(path) + ": its security cannot be read: " + e.what();
    }
    if (!verdict.refusal.empty()) {
        LOG_AT_NAMED(LOG_WARNING, kConstructor,
                     "Not loading " << tstrings::toUtf8(path) << ", which a user could change ("
                                    << verdict.refusal << ")");
        raise(failureText);
    }
    HMODULE module = LoadLibraryExW(verdict.path.c_str(), nullptr,
                                    LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
        const DWORD error = GetLastError();
        LOG_AT_NAMED(LOG_ERROR, kConstructor,
                     failureText << ". "
                                 << systemFailure("LoadLibraryExW(" + tstrings::toUtf8(verdict.path) + ")",
                                                  error));
        raise(failureText);
    }
    return module;
}

} // namespace

DeployLibLoader::DeployLibLoader(const std::string& calyxHome) : registerDeployEx_(nullptr) {
    if (calyxHome.empty()) {
        LOG_ERROR("calyxHome is empty. Fail to load deploy lib.");
        raise("calyxHome is empty. Fail to load deploy lib");
    }
    LOG_INFO("DeployLibLoader: calyxHome is " << calyxHome);
    // Home folders come from the registry's ANSI entry points.
    const std::wstring wideHome = tstrings::fromACP(calyxHome);
    if (!isAbsolute(wideHome)) {
        LOG_ERROR("calyxHome is not an absolute path: " << calyxHome);
        raise("calyxHome is not an absolute path: " + calyxHome);
    }
    const std::wstring home = withoutTrailingSeparators(wideHome);

    const std::wstring msvcrPath = home + L"\\bin\\msvcr100.dll";
    LOG_INFO("msvcrLib path is " << tstrings::toUtf8(msvcrPath));
    msvcrLib_.reset(loadByFullPath(msvcrPath, "Failed to load msvcr library"));

    const std::wstring deployPath = home + L"\\bin\\deploy.dll";
    LOG_INFO("DeployLib path is " << tstrings::toUtf8(deployPath));
    deployLib_.reset(loadByFullPath(deployPath, "Failed to load Deploy library"));

    registerDeployEx_ = reinterpret_cast<RegisterDeployExFn>(
        GetProcAddress(deployLib_.get(), "RegisterDeployEx"));
    if (!registerDeployEx_) {
        const DWORD error = GetLastError();
        LOG_ERROR("Failed to GetProcAddress(RegisterDeployEx) in "
                  << tstrings::toUtf8(deployPath) << ": " << systemErrorText(error));
        raise("Failed to GetProcAddress(RegisterDeployEx)");
    }
}

int DeployLibLoader::QueryDeploy(Query kind, int argument, const std::string& configuration) {
    DeployRequest request = {};
    request.size = sizeof(request);
    request.version = kRequestVersion;
    request.requestKind = kRequestKind;
    std::wstring configurationText;
    switch (kind) {
        case PluginStatus:
            LOG_INFO("RegisterDeployEx: query userWebCalyxStatus");
            request.queryPluginStatus = 1;
            break;
        case PreviousDecisionsExist:
            LOG_INFO("RegisterDeployEx: query userPreviousDecisionsExist");
            request.queryPreviousDecisionsExist = 1;
            request.argument = argument;
            break;
        case ClearPreviousDecisions:
            LOG_INFO("RegisterDeployEx: query clearUserPreviousDecisions");
            request.clearPreviousDecisions = 1;
            request.argument = argument;
            break;
        case ResetPreviousDecisions:
            LOG_INFO("RegisterDeployEx: query resetUserPreviousDecisions");
            request.resetPreviousDecisions = 1;
            break;
        case SystemConfig:
            LOG_INFO("RegisterDeployEx: query systemConfig " << configuration);
            request.setSystemConfig = 1;
            configurationText = tstrings::toUtf16(configuration);
            request.configuration = configurationText.c_str();
            break;
        default:
            JP_THROW(std::invalid_argument("Unknown RegisterDeployEx query kind " +
                                           std::to_string(static_cast<int>(kind))));
    }

    DeployResult result = {};
    DeployResponse response = {};
    response.resultCount = 1;
    response.results = &result;
    LOG_INFO("Calling RegisterDeployEx...");
    if (!registerDeployEx_(&request, &response)) {
        LOG_ERROR("RegisterDeployEx call failed");
        return -1;
    }
    // Read from the record supplied here, whatever the library did to the
    // response's pointer.
    LOG_INFO("RegisterDeployEx call returned query_res = "
             << result.queryRes
             << " ( 1 - yes/ok, 0 - no/(not found), -1 - error during execution)");
    return result.queryRes;
}

bool DeployLibLoader::isCalyxPluginDisabled() {
    return LogResult("isCalyxPluginDisabled", QueryDeploy(PluginStatus, 0, std::string()) == 0);
}

bool DeployLibLoader::isPreviousSecurityDecisionsExist() {
    return LogResult("isPreviousSecurityDecisionsExist",
                     QueryDeploy(PreviousDecisionsExist, kDecisionsArgument, std::string()) == 1);
}

bool DeployLibLoader::doClearUserPreviousDecisions() {
    return LogResult("doClearUserPreviousDecisions",
                     QueryDeploy(ClearPreviousDecisions, kDecisionsArgument, std::string()) == 1);
}

bool DeployLibLoader::doResetUserPreviousDecisions() {
    return LogResult("doResetUserPreviousDecisions",
                     QueryDeploy(ResetPreviousDecisions, 0, std::string()) == 1);
}

bool DeployLibLoader::turnOffSecurityBaselineCheck() {
    return LogResult("turnOffSecurityBaselineCheck",
                     QueryDeploy(SystemConfig, 0, kBaselineCheckOff) == 1);
}

bool DeployLibLoader::LogResult(const char* name, bool result) {
    LOG_INFO("DeployLibLoader::" << name << "() " << (result ? "succeed" : "return false"));
    return result;
}
