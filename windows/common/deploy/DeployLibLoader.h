#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "AutoHandle.h"

// Records exchanged with RegisterDeployEx of an installed runtime's
// deployment library. The 32-bit layout is fixed by that library; the
// 64-bit one keeps the same fields in the same order, naturally aligned.
struct DeployRequest {
    int32_t size;  // sizeof(DeployRequest)
    int32_t version;
    int32_t reserved1;
    int32_t reserved2;
    int32_t reserved3;
    int32_t requestKind;
    int32_t queryPluginStatus;
    int32_t queryPreviousDecisionsExist;
    int32_t clearPreviousDecisions;
    int32_t resetPreviousDecisions;
    int32_t setSystemConfig;
    int32_t argument;
    const wchar_t* configuration;
};

struct DeployResult {
    int32_t reserved[7];
    int32_t queryRes;  // 1 yes or done, 0 no or not found, -1 error
};

struct DeployResponse {
    int32_t reserved1;
    int32_t resultCount;
    int32_t reserved2;
    DeployResult* results;
};

static_assert(sizeof(DeployResult) == 32 && offsetof(DeployResult, queryRes) == 28,
              "result record");
static_assert(offsetof(DeployRequest, requestKind) == 20 &&
                  offsetof(DeployRequest, queryPluginStatus) == 24 &&
                  offsetof(DeployRequest, setSystemConfig) == 40 &&
                  offsetof(DeployRequest, argument) == 44 &&
                  offsetof(DeployRequest, configuration) == 48,
              "request fields");
static_assert(offsetof(DeployResponse, resultCount) == 4, "response fields");
#if defined(_WIN64)
static_assert(sizeof(DeployRequest) == 56, "64-bit request");
static_assert(sizeof(DeployResponse) == 24 && offsetof(DeployResponse, results) == 16,
              "64-bit response");
#else
static_assert(sizeof(DeployRequest) == 52, "32-bit request");
static_assert(sizeof(DeployResponse) == 16 && offsetof(DeployResponse, results) == 12,
              "32-bit response");
#endif

// The deployment library ("bin\deploy.dll") of one installed runtime and
// the runtime's C library it needs, loaded by full path and freed with the
// object.
class DeployLibLoader {
public:
    class DeployLibLoaderError : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    enum Query {
        PluginStatus = 1,
        PreviousDecisionsExist = 2,
        ClearPreviousDecisions = 3,
        ResetPreviousDecisions = 4,
        SystemConfig = 5,
    };

    // calyxHome is the runtime's absolute home folder (ANSI code page). Raises
    // DeployLibLoaderError when a library or the export cannot be loaded.
    explicit DeployLibLoader(const std::string& calyxHome);

    // Asks the library one query; the configuration text is used by
    // SystemConfig only. Returns query_res, or -1 when the call fails.
    int QueryDeploy(Query kind, int argument, const std::string& configuration);

    // True when the plug-in status query answers 0; an error is false.
    bool isCalyxPluginDisabled();
    // The rest are true when their query answers 1.
    bool isPreviousSecurityDecisionsExist();
    bool doClearUserPreviousDecisions();
    bool doResetUserPreviousDecisions();
    // Sets "deployment.expiration.check.enabled false".
    bool turnOffSecurityBaselineCheck();

    // Logs "DeployLibLoader::<name>() succeed" or "... return false".
    static bool LogResult(const char* name, bool result);

private:
    typedef int(__cdecl* RegisterDeployExFn)(DeployRequest*, DeployResponse*);

    UniqueModule msvcrLib_;
    UniqueModule deployLib_;
    RegisterDeployExFn registerDeployEx_;
};
