#include <gtest/gtest.h>

#include <regex>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "DeployLibLoader.h"
#include "DeployTestSupport.h"
#include "MsiTestFixtures.h"
#include "TeguError.h"
#include "tstrings.h"

using deploytest::StandInSteering;

namespace {

const char kAnswerLegend[] = " ( 1 - yes/ok, 0 - no/(not found), -1 - error during execution)";

bool moduleLoaded(const std::string& path) {
    return GetModuleHandleW(tstrings::fromACP(path).c_str()) != nullptr;
}

// The plain message of the DeployLibLoaderError raised for home, checking
// that what() locates it in the constructor.
std::string loaderError(const std::string& home) {
    try {
        DeployLibLoader loader(home);
    } catch (const DeployLibLoader::DeployLibLoaderError& e) {
        static const std::regex located(
            R"(DeployLibLoader\.cpp\(\d+\) at DeployLibLoader::DeployLibLoader\(\): ([\s\S]*))");
        std::smatch match;
        const std::string what = e.what();
        EXPECT_TRUE(std::regex_match(what, match, located)) << what;
        EXPECT_EQ(e.std::runtime_error::what(), match[1].str());
        return match[1].str();
    }
    ADD_FAILURE() << "nothing raised for " << home;
    return std::string();
}

class DeployLibLoaderTest : public ::testing::Test {
protected:
    StandInSteering steering;
    const std::string home = deploytest::makeHome("runtime", deploytest::standIns());
};

} // namespace

TEST_F(DeployLibLoaderTest, QueriesSendTheirRequestsAndReadDefaultAnswers) {
    EXPECT_EQ(deploytest::askEverything(home), (std::vector<bool>{false, false, true, true, true}));
    EXPECT_EQ(steering.requests(), deploytest::everyRequest());
}

TEST_F(DeployLibLoaderTest, QueriesFollowTheLibrarysAnswers) {
    steering.answerEach(0, 1, 0, 0, 0);
    EXPECT_EQ(deploytest::askEverything(home), (std::vector<bool>{true, true, false, false, false}));
    // Only 1 means yes, only 0 means disabled.
    steering.answerEach(2, 2, 2, 2, 2);
    EXPECT_EQ(deploytest::askEverything(home), std::vector<bool>(5, false));
}

TEST_F(DeployLibLoaderTest, ExecutionErrorMakesEveryQueryFalse) {
    steering.answerEach(-1, -1, -1, -1, -1);
    msitest::LogWatch log;
    EXPECT_EQ(deploytest::askEverything(home), std::vector<bool>(5, false));
    EXPECT_EQ(DeployLibLoader(home).QueryDeploy(DeployLibLoader::PluginStatus, 0, ""), -1);
    EXPECT_NE(log.written().find(std::string("query_res = -1") + kAnswerLegend),
              std::string::npos);
}

TEST_F(DeployLibLoaderTest, FailedCallAnswersMinusOneAndLogsAnError) {
    steering.answer("CallFails", 1);
    msitest::LogWatch log;
    DeployLibLoader loader(home);
    EXPECT_EQ(loader.QueryDeploy(DeployLibLoader::ResetPreviousDecisions, 0, ""), -1);
    EXPECT_FALSE(loader.doClearUserPreviousDecisions());
    // Plug-in disabled means an answer of 0, which a failed call never gives.
    EXPECT_FALSE(loader.isCalyxPluginDisabled());
    const std::string written = log.written();
    EXPECT_NE(written.find("ERROR: RegisterDeployEx call failed\r\n"), std::string::npos);
    EXPECT_EQ(written.find("call returned"), std::string::npos);
    EXPECT_NE(written.find("DeployLibLoader::doClearUserPreviousDecisions() return false"),
              std::string::npos);
}

TEST_F(DeployLibLoaderTest, LogsEachStep) {
    steering.answer("PreviousDecisionsExist", 1);
    msitest::LogWatch log;
    deploytest::askEverything(home);
    const std::string written = log.written();
    size_t at = 0;
    for (const std::string& line : std::vector<std::string>{
             "INFO: DeployLibLoader: calyxHome is " + home,
             "INFO: msvcrLib path is " + home + "\\bin\\msvcr100.dll",
             "INFO: DeployLib path is " + home + "\\bin\\deploy.dll",
             "INFO: RegisterDeployEx: query userWebCalyxStatus",
             "INFO: Calling RegisterDeployEx...",
             std::string("INFO: RegisterDeployEx call returned query_res = 1") + kAnswerLegend,
             "INFO: DeployLibLoader::isCalyxPluginDisabled() return false",
             "INFO: RegisterDeployEx: query userPreviousDecisionsExist",
             "INFO: DeployLibLoader::isPreviousSecurityDecisionsExist() succeed",
             "INFO: RegisterDeployEx: query clearUserPreviousDecisions",
             "INFO: DeployLibLoader::doClearUserPreviousDecisions() succeed",
             "INFO: RegisterDeployEx: query resetUserPreviousDecisions",
             "INFO: DeployLibLoader::doResetUserPreviousDecisions() succeed",
             "INFO: RegisterDeployEx: query systemConfig deployment.expiration.check.enabled false",
             "INFO: DeployLibLoader::turnOffSecurityBaselineCheck() succeed"}) {
        const size_t found = written.find(line + "\r\n", at);
        ASSERT_NE(found, std::string::npos) << line << "\n--- after offset " << at << " in\n"
                                            << written;
        at = found + line.size();
    }
    EXPECT_NE(written.find("(DeployLibLoader::QueryDeploy)]"), std::string::npos);
}

TEST_F(DeployLibLoaderTest, QueryDeployPassesArgumentsOnlyWhereTheyBelong) {
    DeployLibLoader loader(home);
    EXPECT_EQ(loader.QueryDeploy(DeployLibLoader::PluginStatus, 30, "ignored"), 1);
    EXPECT_EQ(loader.QueryDeploy(DeployLibLoader::SystemConfig, 30, "k\xC3\xA4y v\xC3\xA4lue"), 1);
    EXPECT_EQ(steering.requests(),
              "kind=1 argument=0 config=\n"
              "kind=5 argument=0 config=k\xC3\xA4y v\xC3\xA4lue\n");
}

TEST_F(DeployLibLoaderTest, UnknownQueryKindIsRefusedWithoutACall) {
    DeployLibLoader loader(home);
    EXPECT_THROW(loader.QueryDeploy(static_cast<DeployLibLoader::Query>(6), 0, ""),
                 TeguError<std::invalid_argument>);
    EXPECT_THROW(loader.QueryDeploy(static_cast<DeployLibLoader::Query>(0), 0, ""),
                 std::invalid_argument);
    EXPECT_EQ(steering.requests(), "");
}

TEST_F(DeployLibLoaderTest, LibrariesAreHeldForTheLoadersLifetime) {
    const std::string deploy = home + "\\bin\\deploy.dll";
    const std::string msvcr = home + "\\bin\\msvcr100.dll";
    {
        DeployLibLoader loader(home);
        EXPECT_TRUE(moduleLoaded(deploy));
        EXPECT_TRUE(moduleLoaded(msvcr));
    }
    EXPECT_FALSE(moduleLoaded(deploy));
    EXPECT_FALSE(moduleLoaded(msvcr));
}

TEST_F(DeployLibLoaderTest, HomeWithTrailingSeparatorAndNonAsciiName) {
    const std::string other = deploytest::makeHome("Calyx h\xF6me", deploytest::standIns());
    DeployLibLoader loader(other + "\\");
    EXPECT_TRUE(loader.turnOffSecurityBaselineCheck());
    EXPECT_EQ(steering.requests(), deploytest::baselineRequest());
    EXPECT_TRUE(moduleLoaded(other + "\\bin\\deploy.dll"));
}

TEST(DeployLibLoaderErrors, EmptyOrRelativeHome) {
    msitest::LogWatch log;
    EXPECT_EQ(loaderError(""), "calyxHome is empty. Fail to load deploy lib");
    EXPECT_NE(log.written().find("ERROR: calyxHome is empty. Fail to load deploy lib.\r\n"),
              std::string::npos);
    EXPECT_EQ(loaderError("runtime\\home"), "calyxHome is not an absolute path: runtime\\home");
    EXPECT_EQ(loaderError("\\runtime"), "calyxHome is not an absolute path: \\runtime");
    EXPECT_EQ(loaderError("C:runtime"), "calyxHome is not an absolute path: C:runtime");
    // ANSI text that is not UTF-8 is still a path.
    EXPECT_EQ(loaderError("C:\\r\xFFntime"), "Failed to load msvcr library");
}

TEST(DeployLibLoaderErrors, MissingLibraries) {
    StandInSteering steering;
    msitest::LogWatch log;
    const std::string noBin = testsupport::tempDir() + "\\no-runtime";
    EXPECT_EQ(loaderError(noBin), "Failed to load msvcr library");
    EXPECT_NE(log.written().find("ERROR: Failed to load msvcr library. LoadLibraryExW(" + noBin +
                                 "\\bin\\msvcr100.dll) failed with system error 126 ("),
              std::string::npos)
        << log.written();

    // The C library comes first even when the deployment library is there.
    const std::string deployOnly =
        deploytest::makeHome("deploy-only", {{"runtime-bin/deploy.dll", "deploy.dll"}});
    EXPECT_EQ(loaderError(deployOnly), "Failed to load msvcr library");

    const std::string msvcrOnly =
        deploytest::makeHome("msvcr-only", {{"runtime-bin/msvcr100.dll", "msvcr100.dll"}});
    EXPECT_EQ(loaderError(msvcrOnly), "Failed to load Deploy library");
    EXPECT_FALSE(moduleLoaded(msvcrOnly + "\\bin\\msvcr100.dll"));
    EXPECT_NE(log.written().find("DeployLib path is " + msvcrOnly + "\\bin\\deploy.dll"),
              std::string::npos);
    EXPECT_EQ(steering.requests(), "");
}

TEST(DeployLibLoaderErrors, MissingExport) {
    msitest::LogWatch log;
    const std::string home = deploytest::makeHome(
        "without-export", {{"runtime-bin/msvcr100.dll", "msvcr100.dll"},
                           {"deploy-without-export/deploy.dll", "deploy.dll"}});
    EXPECT_EQ(loaderError(home), "Failed to GetProcAddress(RegisterDeployEx)");
    EXPECT_NE(log.written().find("ERROR: Failed to GetProcAddress(RegisterDeployEx) in " + home +
                                 "\\bin\\deploy.dll: system error 127 ("),
              std::string::npos)
        << log.written();
    // Whatever was loaded before the failure is freed again.
    EXPECT_FALSE(moduleLoaded(home + "\\bin\\deploy.dll"));
    EXPECT_FALSE(moduleLoaded(home + "\\bin\\msvcr100.dll"));
}

// Everyone may write: on Wine this sets the world-write bits it reports back.
void letEveryoneWrite(const std::string& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;FA;;;WD)", SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    const UniqueLocalMemory hold(descriptor);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
    ASSERT_EQ(SetNamedSecurityInfoW(const_cast<wchar_t*>(tstrings::fromACP(path).c_str()),
                                    SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                    dacl, nullptr),
              static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(DeployLibLoaderErrors, LibrariesAUserCouldChangeAreNotLoaded) {
    StandInSteering steering;
    msitest::LogWatch log;
    const std::string openLibrary = deploytest::makeHome("open-library", deploytest::standIns());
    letEveryoneWrite(openLibrary + "\\bin\\deploy.dll");
    EXPECT_EQ(loaderError(openLibrary), "Failed to load Deploy library");
    EXPECT_NE(log.written().find("WARNING: Not loading " + openLibrary +
                                 "\\bin\\deploy.dll, which a user could change ("),
              std::string::npos)
        << log.written();
    EXPECT_NE(log.written().find("deploy.dll: S-1-1-0 may change it)"), std::string::npos);
    EXPECT_FALSE(moduleLoaded(openLibrary + "\\bin\\deploy.dll"));

    // A writable folder could receive the libraries the C library loads.
    const std::string openFolder = deploytest::makeHome("open-folder", deploytest::standIns());
    letEveryoneWrite(openFolder + "\\bin");
    EXPECT_EQ(loaderError(openFolder), "Failed to load msvcr library");
    EXPECT_NE(log.written().find("bin: S-1-1-0 may change it)"), std::string::npos);
    EXPECT_EQ(steering.requests(), "");
}

// The stand-in checks the records byte by byte, so the loader's tests above
// would fail on a wrong layout.
TEST(DeployStandIn, RejectsRecordsThatBreakTheLayout) {
    StandInSteering steering;
    const std::string home = deploytest::makeHome("direct", deploytest::standIns());
    const UniqueModule msvcr(LoadLibraryW(tstrings::toUtf16(home + "\\bin\\msvcr100.dll").c_str()));
    const UniqueModule deploy(LoadLibraryW(tstrings::toUtf16(home + "\\bin\\deploy.dll").c_str()));
    ASSERT_TRUE(deploy);
    typedef int(__cdecl * Export)(DeployRequest*, DeployResponse*);
    const Export call = reinterpret_cast<Export>(GetProcAddress(deploy.get(), "RegisterDeployEx"));
    ASSERT_NE(call, nullptr);

    struct Records {
        DeployRequest request = {};
        DeployResult result = {};
        DeployResponse response = {};
        Records() {
            request.size = sizeof(request);
            request.version = 4;
            request.requestKind = 2;
            request.resetPreviousDecisions = 1;
            response.resultCount = 1;
            response.results = &result;
        }
    };
    {
        Records good;
        EXPECT_EQ(call(&good.request, &good.response), 1);
        EXPECT_EQ(good.result.queryRes, 1);
    }
    const std::vector<std::pair<void (*)(Records&), std::string>> breaks = {
        {[](Records& r) { r.request.size += 4; }, "size " + std::to_string(sizeof(DeployRequest) + 4)},
        {[](Records& r) { r.request.version = 3; }, "version 3"},
        {[](Records& r) { r.request.reserved2 = 7; }, "reserved field at 12"},
        {[](Records& r) { r.request.requestKind = 1; }, "request kind 1"},
        {[](Records& r) { r.request.queryPluginStatus = 1; }, "more than one query"},
        {[](Records& r) { r.request.resetPreviousDecisions = 0; }, "no query"},
        {[](Records& r) { r.request.argument = 30; }, "argument 30 for query 4"},
        {[](Records& r) { r.request.configuration = L"x"; }, "configuration text for query 4"},
        {[](Records& r) { r.response.resultCount = 2; }, "result count 2"},
        {[](Records& r) { r.response.results = nullptr; }, "no result record"},
        {[](Records& r) { r.result.reserved[0] = 1; }, "result record not zero-filled"},
    };
    std::string expected = "kind=4 argument=0 config=\n";
    for (const auto& broken : breaks) {
        Records records;
        broken.first(records);
        EXPECT_EQ(call(&records.request, &records.response), 0) << broken.second;
        expected += "invalid: " + broken.second + "\n";
    }
    EXPECT_EQ(steering.requests(), expected);
}
