#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include <set>
#include <vector>

#include "DirectoryWalk.h"
#include "FileTestSupport.h"
#include "FileUtils.h"
#include "HeldFolder.h"
#include "TestSupport.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

using testing::HasSubstr;
using testing::ThrowsMessage;

using testsupport::logText;
using testsupport::testFolder;
using testsupport::writeFile;

namespace {

class RecordingCallback : public FileUtils::DirectoryCallback {
public:
    void onFile(const std::string& path) override { files.insert(path); }
    void onDirectory(const std::string& path) override { folders.insert(path); }
    std::set<std::string> files;
    std::set<std::string> folders;
};

// tree\a.txt, tree\sub\b.txt, tree\sub\deeper\c.txt, tree\empty
std::string makeTree(const std::string& name) {
    const std::string tree = testFolder(name);
    testFolder(name + "\\sub\\deeper");
    testFolder(name + "\\empty");
    for (const char* file : {"\\a.txt", "\\sub\\b.txt", "\\sub\\deeper\\c.txt"}) {
        EXPECT_TRUE(writeFile(tree + file));
    }
    return tree;
}

// A mount point (junction) from `link` to `target`, as Windows makes it.
bool makeJunction(const std::string& link, const std::string& target) {
    if (!CreateDirectoryA(link.c_str(), nullptr)) return false;
    const std::wstring path = tstrings::fromACP(target);
    const std::wstring substitute = L"\\??\\" + path;
    // Reparse header (tag, length, reserved) and the mount point's four
    // offsets, then both names, each ended by a null character.
    const size_t namesBytes = (substitute.size() + 1 + path.size() + 1) * sizeof(wchar_t);
    std::vector<BYTE> buffer(8 + 8 + namesBytes, 0);
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD header[2] = {static_cast<WORD>(8 + namesBytes), 0};
    const WORD offsets[4] = {0, static_cast<WORD>(substitute.size() * sizeof(wchar_t)),
                             static_cast<WORD>((substitute.size() + 1) * sizeof(wchar_t)),
                             static_cast<WORD>(path.size() * sizeof(wchar_t))};
    memcpy(&buffer[0], &tag, 4);
    memcpy(&buffer[4], header, 4);
    memcpy(&buffer[8], offsets, 8);
    memcpy(&buffer[16], substitute.c_str(), substitute.size() * sizeof(wchar_t));
    memcpy(&buffer[16 + offsets[2]], path.c_str(), path.size() * sizeof(wchar_t));
    bool made = false;
    {
        const UniqueHandle folder(CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr,
                                              OPEN_EXISTING,
                                              FILE_FLAG_BACKUP_SEMANTICS |
                                                  FILE_FLAG_OPEN_REPARSE_POINT,
                                              nullptr));
        DWORD returned = 0;
        made = folder.valid() &&
               DeviceIoControl(folder.get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                               static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    }
    if (!made) RemoveDirectoryA(link.c_str());
    return made;
}

// Starts a program of the host system (Wine only) on host names of the
// paths. Wine gives no waitable handle for such a process: callers watch
// for its effect instead.
bool startHostTool(const std::string& tool, const std::string& options,
                   const std::vector<std::string>& dosPaths) {
    typedef char*(CDECL * UnixName)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    if (!unixName) return false;
    std::string commandLine = tool + " " + options;
    for (const std::string& path : dosPaths) {
        char* name = unixName(tstrings::fromACP(path).c_str());
        if (!name) return false;
        commandLine += std::string(" \"") + name + "\"";
        HeapFree(GetProcessHeap(), 0, name);
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(tool.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        return false;
    }
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return true;
}

bool isLink(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Polls for up to ten seconds.
bool linkBecomes(const std::string& path, bool present) {
    for (int i = 0; i < 100; ++i) {
        if (isLink(path) == present) return true;
        Sleep(100);
    }
    return false;
}

// A junction where the system can make one. Wine cannot (it refuses
// FSCTL_SET_REPARSE_POINT and CreateSymbolicLink creates nothing) but
// shows a host symbolic link as a reparse point, so plant one of those.
bool plantLink(const std::string& link, const std::string& target) {
    return makeJunction(link, target) ||
           (startHostTool("Z:\\bin\\ln", "-s", {target, link}) && linkBecomes(link, true));
}

void removeLink(const std::string& link) {
    if (isLink(link) && !RemoveDirectoryA(link.c_str()) &&
        startHostTool("Z:\\bin\\rm", "-f", {link})) {
        EXPECT_TRUE(linkBecomes(link, false));
    }
}

} // namespace

TEST(DirectoryWalk, ReportsFilesAndFoldersWithoutDots) {
    const std::string tree = makeTree("walk");
    RecordingCallback callback;
    FileUtils::iterateDirectory(tree, callback);
    EXPECT_EQ(callback.files, (std::set<std::string>{tree + "\\a.txt"}));
    EXPECT_EQ(callback.folders, (std::set<std::string>{tree + "\\empty", tree + "\\sub"}));

    RecordingCallback empty;
    FileUtils::iterateDirectory(tree + "\\empty\\", empty);
    EXPECT_TRUE(empty.files.empty());
    EXPECT_TRUE(empty.folders.empty());
}

TEST(DirectoryWalk, MissingFolderRaises) {
    const std::string missing = FileUtils::joinPath(testsupport::tempDir(), "missing");
    RecordingCallback callback;
    EXPECT_THAT([&] { FileUtils::iterateDirectory(missing, callback); },
                ThrowsMessage<SysError>(HasSubstr("at FileUtils::iterateDirectory(): FindFirstFile(" +
                                                  missing + ") failed. System error [3]")));
}

TEST(HeldFolder, RemovesATreeButNeverFollowsALinkInIt) {
    const std::string outside = testFolder("outside");
    ASSERT_TRUE(writeFile(outside + "\\keep.txt"));
    const std::string tree = makeTree("linked");
    const std::string link = tree + "\\sub\\link";
    if (!plantLink(link, outside)) GTEST_SKIP() << "no junction or symbolic link can be made here";
    const FileUtils::HeldFolder parent = FileUtils::HeldFolder::holdFromProfile(testFolder(""), false);

    const bool removed = parent.remove("linked");
    EXPECT_TRUE(FileUtils::exists(outside + "\\keep.txt"));
    EXPECT_FALSE(FileUtils::exists(tree + "\\a.txt"));
    EXPECT_FALSE(FileUtils::exists(tree + "\\sub\\b.txt"));
    // Wine cannot remove a link through the system calls: then the link and
    // the folders above it stay, and the answer says so.
    EXPECT_EQ(removed, !FileUtils::exists(tree));
    // A held folder refuses a link at any level, and once in the log.
    EXPECT_THROW(FileUtils::HeldFolder::holdFromProfile(link + "\\deeper", true), FileUtils::LinkRefused);
    EXPECT_THROW(parent.child("linked", false).child("sub", false).child("link", false), FileUtils::LinkRefused);
    EXPECT_FALSE(FileUtils::exists(outside + "\\deeper"));
    EXPECT_THAT(logText(), HasSubstr("Refusing to use [" + link + "]: it is a link to another place"));
    removeLink(link);
    // A folder outside the profile is held from its drive's root.
    EXPECT_EQ("C:\\cx-held\\a", FileUtils::HeldFolder::holdFromProfile("C:\\cx-held\\a", true).path());
    EXPECT_TRUE(FileUtils::HeldFolder::hold("C:\\", {}, false).remove("cx-held"));
}
