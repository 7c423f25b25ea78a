#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <fstream>

#include "AllUsersReadableSecurity.h"
#include "AutoHandle.h"
#include "SettingsStatusOf.h"
#include "SettingsFileWriter.h"
#include "SettingsPaths.h"
#include "TestSupport.h"
#include "tstrings.h"

using namespace settings_impl;

namespace {

// A folder of its own per test, so the folder listing shows leftovers.
std::string freshFolder(const std::string& name) {
    const std::string folder = testsupport::tempDir() + "\\writer-" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::vector<std::string> listFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const UniqueFindHandle find(FindFirstFileA((folder + "\\*").c_str(), &data));
    if (!find) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find.get(), &data));
    return names;
}

int writeCode(const SettingsFileWriter& writer, const FileName& name, const std::string& text) {
    return settingsStatusOf([&] { writer.write(name, text); });
}

std::wstring descriptorText(const SECURITY_ATTRIBUTES* security) {
    wchar_t* text = nullptr;
    if (security == nullptr ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorW(security->lpSecurityDescriptor,
                                                              SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text,
                                                              nullptr)) {
        return L"none";
    }
    const UniqueLocalMemory hold(text);
    return text;
}

} // namespace

TEST(SettingsFileWriter, NewFileHasLineFeedsAndExistingFileCrLf) {
    const std::string folder = freshFolder("lineends");
    const FileName name = canonicalFileName(folder + "\\s.cfg");
    SettingsFileWriter().write(name, "a=1\nb=2\n");
    EXPECT_EQ(testsupport::readFile(folder + "\\s.cfg"), "a=1\nb=2\n");
    SettingsFileWriter().write(name, "c=3\n");
    EXPECT_EQ(testsupport::readFile(folder + "\\s.cfg"), "c=3\r\n");
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{"s.cfg"});
}

TEST(SettingsFileWriter, WriteFailingHalfWayKeepsThePreviousFile) {
    const std::string folder = freshFolder("torn");
    const FileName name = canonicalFileName(folder + "\\s.cfg");
    SettingsFileWriter().write(name, "old=1\nkeep=2\n");
    SettingsFileWriter::SystemCalls calls = SettingsFileWriter::systemCalls();
    calls.writeBlock = [](HANDLE file, const char* data, DWORD size) {
        DWORD written = 0;
        WriteFile(file, data, size / 2, &written, nullptr);
        return written;
    };
    const SettingsFileWriter torn(calls);
    EXPECT_EQ(writeCode(torn, name, "new=1\nother=2\nmore=3\n"), 306);
    EXPECT_EQ(testsupport::readFile(folder + "\\s.cfg"), "old=1\nkeep=2\n");
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{"s.cfg"});

    const FileName fresh = canonicalFileName(folder + "\\never.cfg");
    EXPECT_EQ(writeCode(torn, fresh, "new=1\n"), 306);
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{"s.cfg"});
}

// Wine reports a file's access list from its Unix permissions, so the
// descriptor is checked where the new file is created.
TEST(SettingsFileWriter, NewFileIsBesideTheTargetAndReadableByEveryUser) {
    const std::string folder = freshFolder("security");
    std::vector<std::wstring> paths;
    std::vector<std::wstring> descriptors;
    SettingsFileWriter::SystemCalls calls = SettingsFileWriter::systemCalls();
    const auto create = calls.createNew;
    calls.createNew = [&](const std::wstring& path, SECURITY_ATTRIBUTES* security) {
        paths.push_back(path);
        descriptors.push_back(descriptorText(security));
        return create(path, security);
    };
    const std::string existing = folder + "\\existing.cfg";
    std::ofstream(existing, std::ios::binary) << "x=1\n";
    SettingsFileWriter(calls).write(canonicalFileName(folder + "\\s.cfg"), "a=1\n");
    SettingsFileWriter(calls).write(canonicalFileName(existing), "x=2\n");

    const std::wstring expected = AllUsersReadableSecurity().sddl();
    EXPECT_EQ(descriptors, (std::vector<std::wstring>{expected, expected}));
    ASSERT_EQ(paths.size(), 2u);
    std::wstring canonicalFolder = tstrings::toUtf16(folder);
    for (wchar_t& c : canonicalFolder) {
        if (c == L'\\') c = L'/';
    }
    for (size_t i = 0; i < 2; ++i) {
        const std::wstring target = canonicalFolder + (i == 0 ? L"/s.cfg" : L"/existing.cfg");
        EXPECT_EQ(paths[i].compare(0, target.size() + 4, target + L".tmp"), 0) << paths[i];
    }
    EXPECT_EQ(testsupport::readFile(existing), "x=2\r\n");
    EXPECT_EQ(listFolder(folder), (std::vector<std::string>{"existing.cfg", "s.cfg"}));
}

TEST(SettingsFileWriter, LeftoverTemporaryFileIsReplaced) {
    const std::string folder = freshFolder("leftover");
    const std::string leftover = folder + "\\s.cfg.tmp" + std::to_string(GetCurrentProcessId());
    std::ofstream(leftover, std::ios::binary) << "stale";
    SettingsFileWriter().write(canonicalFileName(folder + "\\s.cfg"), "a=1\n");
    EXPECT_EQ(testsupport::readFile(folder + "\\s.cfg"), "a=1\n");
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{"s.cfg"});
}

TEST(SettingsFileWriter, UnwritableTargets) {
    const std::string folder = freshFolder("targets");
    CreateDirectoryA((folder + "\\dir.cfg").c_str(), nullptr);
    EXPECT_EQ(writeCode(SettingsFileWriter(), canonicalFileName(folder + "\\dir.cfg"), "a=1\n"),
              304);
    // A file in the way of a folder counts as there; the file below it
    // then cannot be created.
    std::ofstream(folder + "\\plain", std::ios::binary) << "x";
    EXPECT_EQ(writeCode(SettingsFileWriter(), canonicalFileName(folder + "\\plain\\s.cfg"), "a=1\n"),
              304);
    // Open elsewhere without sharing write access: it cannot be rewritten.
    const std::string busy = folder + "\\busy.cfg";
    std::ofstream(busy, std::ios::binary) << "kept=1\n";
    {
        const UniqueHandle holder(CreateFileA(busy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder.valid());
        EXPECT_EQ(writeCode(SettingsFileWriter(), canonicalFileName(busy), "a=1\n"), 304);
    }
    EXPECT_EQ(testsupport::readFile(busy), "kept=1\n");
}

TEST(SettingsFileWriter, NeedsACanonicalName) {
    try {
        SettingsFileWriter().write(FileName("C:\\x\\s.cfg"), "a=1\n");
        FAIL() << "no exception";
    } catch (const std::logic_error& e) {
        EXPECT_TRUE(tstrings::endsWith(e.what(), "canonicalized file name expected")) << e.what();
    }
}
