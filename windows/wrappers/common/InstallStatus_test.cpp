#include <gtest/gtest.h>

#include "InstallStatus.h"

TEST(InstallStatus, DefaultFolderComesFromTheFirstAbsoluteProgramFilesFolder) {
    const std::string tail = "\\Calyx\\cxr1.8.0_451";
    const struct Case {
        const char* name;
        std::vector<std::string> candidates;
        std::string expected;
    } cases[] = {
        {"own view", {"C:\\Program Files (x86)", "C:\\Program Files"}, "C:\\Program Files (x86)" + tail},
        {"no 32-bit half", {"", "", "C:\\Program Files\\"}, "C:\\Program Files" + tail},
        {"share", {"\\\\server\\apps"}, "\\\\server\\apps" + tail},
        {"relative skipped", {"\\Program Files", "Program Files", "D:\\Apps"}, "D:\\Apps" + tail},
        {"none", {"", "\\"}, ""},
        {"nothing read", {}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DefaultInstallFolderFrom(c.candidates), c.expected) << c.name;
    }
}
