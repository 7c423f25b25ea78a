#include "WrapperUtils.h"

#include <gmock/gmock.h>

#include "FileTestSupport.h"
#include "FileUtils.h"
#include "Registry.h"
#include "SysInfo.h"
#include "TestSupport.h"

namespace {

UniqueHandle start(const std::string& program, std::string arguments) {
    STARTUPINFOA startup = {sizeof(startup)};
    PROCESS_INFORMATION info = {};
    arguments = "\"" + program + "\" " + arguments;
    if (!CreateProcessA(program.c_str(), &arguments[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        throw std::runtime_error("cannot start " + program);
    CloseHandle(info.hThread);
    return UniqueHandle(info.hProcess);
}

DWORD exitCodeOf(const UniqueHandle& process) {
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(process.get(), 15000);
    return GetExitCodeProcess(process.get(), &code) ? code : STILL_ACTIVE;
}

} // namespace

// WM_CLOSE closes a browser, one that ignores it is killed; the flag goes, the browser comes back.
TEST(BrowserRestart, FlagClosesAndRelaunchesFirefox) {
    const std::string program = testsupport::testFolder("restart") + "\\firefox.exe";
    ASSERT_TRUE(CopyFileA((testsupport::binaryDir() + "/bin/standin_browser.exe").c_str(), program.c_str(), FALSE));
    struct Unregister {
        ~Unregister() { Registry::open(Registry::localMachine(), "SOFTWARE", Registry::Mode::Write).deleteTree("Mozilla"); }
    } unregister;
    const Registry firefox = Registry::open(Registry::localMachine(), "SOFTWARE\\Mozilla\\Mozilla Firefox",
                                            Registry::Mode::Write);
    firefox.setString("CurrentVersion", "99.0");
    Registry::open(firefox, "99.0\\Main", Registry::Mode::Write).setString("Install Directory", FileUtils::dirName(program));
    const Registry vendor = Registry::open(Registry::localMachine(), "SOFTWARE\\Calyxware", Registry::Mode::Write);

    EXPECT_FALSE(BrowserRestart());
    const std::string record = FileUtils::dirName(program) + "\\commandline.txt";  // a line per window
    UniqueHandle polite = start(program, "");
    for (int i = 0; i < 600 && testsupport::readFile(record).empty(); ++i) Sleep(100);
    UniqueHandle stubborn = start(program, "--stubborn");
    for (int i = 0; i < 600 && testsupport::readFile(record).find("--stubborn") == std::string::npos; ++i) Sleep(100);
    vendor.setString("FIREFOXRESTART", "1");
    const bool closes = !SysInfo::isNative64BitProcess();  // a 64-bit installer only deletes the flag
    EXPECT_EQ(closes, BrowserRestart());
    EXPECT_FALSE(vendor.valueExists("FIREFOXRESTART"));
    if (!closes) return CloseProcessesByName("firefox.exe", 1000);
    EXPECT_EQ(7u, exitCodeOf(polite));    // its own answer to WM_CLOSE
    EXPECT_EQ(0u, exitCodeOf(stubborn));  // terminated
    for (int i = 0; i < 200 && testsupport::readFile(record).find("-new-window") == std::string::npos; ++i) Sleep(100);
    EXPECT_THAT(testsupport::readFile(record),
                ::testing::HasSubstr("-new-window http://www.calyx.example/verify9/?src=install"));
    CloseProcessesByName("firefox.exe", 1000);
}
