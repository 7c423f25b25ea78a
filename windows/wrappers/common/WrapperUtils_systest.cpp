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
    WaitForInputIdle(info.hProcess, 60000);  // its window exists from then on
    return UniqueHandle(info.hProcess);
}

DWORD exitCodeOf(const UniqueHandle& process) {
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(process.get(), 15000);
    return GetExitCodeProcess(process.get(), &code) ? code : STILL_ACTIVE;
}

} // namespace

// Closing sends WM_CLOSE to every window of the browser and kills one that
// ignores it; the flag goes and the browser comes back on the verify page.
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
    UniqueHandle polite = start(program, "");
    UniqueHandle stubborn = start(program, "--stubborn");
    vendor.setString("FIREFOXRESTART", "1");
    const bool closes = !SysInfo::isNative64BitProcess();  // a 64-bit installer only deletes the flag
    EXPECT_EQ(closes, BrowserRestart());
    EXPECT_FALSE(vendor.valueExists("FIREFOXRESTART"));
    if (!closes) return CloseProcessesByName("firefox.exe", 1000);
    EXPECT_EQ(7u, exitCodeOf(polite));    // its own answer to WM_CLOSE
    EXPECT_EQ(0u, exitCodeOf(stubborn));  // terminated
    const std::string record = FileUtils::dirName(program) + "\\commandline.txt";
    for (int i = 0; i < 200 && testsupport::readFile(record).find("-new-window") == std::string::npos; ++i) Sleep(100);
    EXPECT_THAT(testsupport::readFile(record),
                ::testing::HasSubstr("-new-window http://www.calyx.example/verify9/?src=install"));
    CloseProcessesByName("firefox.exe", 1000);
}
