#include "WrapperUtils.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "FileUtils.h"
#include "Registry.h"
#include "TestSupport.h"

using ::testing::HasSubstr;

namespace {

// A copy of the stand-in browser named firefox.exe in its own folder.
std::string standInFirefox(const std::string& folderName) {
    const std::string folder = testsupport::testFolder(folderName);
    const std::string program = folder + "\\firefox.exe";
    const std::string built = testsupport::binaryDir() + "/bin/standin_browser.exe";
    if (!CopyFileA(built.c_str(), program.c_str(), FALSE)) throw std::runtime_error("cannot copy " + built);
    return program;
}

UniqueHandle start(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        throw std::runtime_error("cannot start " + program);
    }
    CloseHandle(info.hThread);
    // Its window exists once it has been idle for input.
    WaitForInputIdle(info.hProcess, 10000);
    return UniqueHandle(info.hProcess);
}

DWORD exitCodeOf(const UniqueHandle& process) {
    WaitForSingleObject(process.get(), 15000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

} // namespace

TEST(CloseProcessesByName, PoliteBrowsersCloseAndStubbornOnesAreKilled) {
    const std::string program = standInFirefox("close");
    UniqueHandle polite = start(program, "");
    UniqueHandle stubborn = start(program, "--stubborn");
    CloseProcessesByName("FIREFOX.EXE");
    EXPECT_EQ(7u, exitCodeOf(polite));  // its own answer to WM_CLOSE
    EXPECT_EQ(0u, exitCodeOf(stubborn));  // terminated
}

TEST(BrowserRestart, FlagsAskForARestartAndAreDeleted) {
    const std::string program = standInFirefox("restart");
    const std::string record = FileUtils::dirName(program) + "\\commandline.txt";
    const Registry& machine = Registry::localMachine();
    // The registration goes again however the test ends.
    struct Unregister {
        ~Unregister() {
            Registry::open(Registry::localMachine(), "SOFTWARE", Registry::Mode::Write).deleteTree("Mozilla");
        }
    } unregister;
    {
        const Registry firefox = Registry::open(machine, "SOFTWARE\\Mozilla\\Mozilla Firefox", Registry::Mode::Write);
        firefox.setString("CurrentVersion", "99.0 (x86 en-US)");
        Registry::open(firefox, "99.0 (x86 en-US)\\Main", Registry::Mode::Write)
            .setString("Install Directory", FileUtils::dirName(program));
    }
    const Registry vendor = Registry::open(machine, "SOFTWARE\\Calyxware", Registry::Mode::Write);

    EXPECT_FALSE(BrowserRestart());

    UniqueHandle running = start(program, "--stubborn");
    vendor.setString("FIREFOXRESTART", "1");
    EXPECT_TRUE(BrowserRestart());
    EXPECT_EQ(0u, exitCodeOf(running));
    EXPECT_FALSE(vendor.valueExists("FIREFOXRESTART"));
    std::string launched;
    for (int i = 0; i < 200 && launched.find("-new-window") == std::string::npos; ++i) {
        Sleep(100);
        launched = testsupport::readFile(record);
    }
    EXPECT_THAT(launched, HasSubstr("-new-window http://www.calyx.example/verify9/?src=install"));
    CloseProcessesByName("firefox.exe", 1000);
}
