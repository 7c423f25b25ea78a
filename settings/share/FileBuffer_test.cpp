#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "FileBuffer.h"
#include "SettingsStatusOf.h"
#include "TestSupport.h"

#ifdef _WIN32
#include <process.h>
#define CX_PID _getpid()
#else
#include <unistd.h>
#define CX_PID getpid()
#endif

using namespace settings_impl;

namespace {

std::string tempPath(const std::string& name) {
    return testsupport::tempDir() + "/cx-settings-" + std::to_string(CX_PID) + "-" + name;
}

std::string writeTemp(const std::string& name, const std::string& bytes) {
    const std::string path = tempPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

int readCode(const std::string& path) {
    return settingsStatusOf([&] { FileBuffer(FileName(path)).read(); });
}

} // namespace

TEST(FileBuffer, ReadsBytesUntranslated) {
    const std::string text = "a=1\r\nb=2\rc=3\n\xC3\xA9=\xE2\x82\xAC";
    const std::string path = writeTemp("plain.cfg", text);
    EXPECT_EQ(FileBuffer(FileName(path)).read(), text);
    std::remove(path.c_str());
}

TEST(FileBuffer, SizeLimit) {
    std::string text(FileBuffer::kMaxSize, 'x');
    text[0] = 'k';
    text[1] = '=';
    const std::string exact = writeTemp("exact.cfg", text);
    EXPECT_EQ(FileBuffer(FileName(exact)).read().size(), 1048576u);
    const std::string longer = writeTemp("longer.cfg", text + "x");
    EXPECT_EQ(readCode(longer), 315);
    std::remove(exact.c_str());
    std::remove(longer.c_str());
}

TEST(FileBuffer, NotPlainText) {
    const std::string ff = writeTemp("ff.cfg", "a=1\nb=\xFF\n");
    EXPECT_EQ(readCode(ff), 314);
    const std::string cut = writeTemp("cut.cfg", "a=\xE2\x82");
    EXPECT_EQ(readCode(cut), 314);
    std::remove(ff.c_str());
    std::remove(cut.c_str());
}

TEST(FileBuffer, UnopenableSources) {
    EXPECT_EQ(readCode(tempPath("missing.cfg")), 304);
    // A folder opens on Linux and then fails to read; Windows refuses it.
#ifdef _WIN32
    EXPECT_EQ(readCode(testsupport::tempDir()), 305);
#else
    EXPECT_EQ(readCode(testsupport::tempDir()), 307);
#endif
}
