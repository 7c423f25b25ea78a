#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "FileUtils.h"
#include "TestSupport.h"
#include "WinErrorHandling.h"

using testing::AllOf;
using testing::EndsWith;
using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;
using testing::ThrowsMessage;

using testsupport::holdOpen;
using testsupport::logText;
using testsupport::testFolder;
using testsupport::writeFile;

TEST(FilePaths, JoinAndSplit) {
    EXPECT_EQ(FileUtils::joinPath("C:\\a\\/", "/b"), "C:\\a\\b");
    EXPECT_EQ(FileUtils::joinPath("C:\\a", "b\\"), "C:\\a\\b\\");
    EXPECT_EQ(FileUtils::joinPath("", "b"), "b");
    EXPECT_EQ(FileUtils::joinPath("a", ""), "a");
    EXPECT_EQ(FileUtils::joinPath("a", "\\\\b"), "a\\\\b");
    EXPECT_EQ(FileUtils::baseName("C:\\a/b\\c.txt"), "c.txt");
    EXPECT_EQ(FileUtils::baseName("c.txt"), "c.txt");
    EXPECT_EQ(FileUtils::dirName("C:\\a/b\\c.txt"), "C:\\a/b");
    EXPECT_EQ(FileUtils::dirName("c.txt"), "");
    EXPECT_EQ(FileUtils::stripTrailingSeparators("C:\\a\\/\\"), "C:\\a");
    EXPECT_EQ(FileUtils::stripTrailingSeparators("\\"), "");
}

TEST(FilePaths, IllegalNameCharacters) {
    for (const char* bad : {"a:b", "a<", ">", "\"", "|", "?", "*", "a/b", "a\\b", "\t", "\x1f"}) {
        EXPECT_TRUE(FileUtils::hasIllegalNameChars(bad)) << bad;
    }
    EXPECT_FALSE(FileUtils::hasIllegalNameChars("tegu-1.html"));
    EXPECT_FALSE(FileUtils::hasIllegalNameChars(""));
}

TEST(FilePaths, ExistenceAndKind) {
    const std::string folder = testFolder("kinds");
    const std::string file = FileUtils::joinPath(folder, "f.txt");
    ASSERT_TRUE(writeFile(file));
    EXPECT_TRUE(FileUtils::exists(file));
    EXPECT_FALSE(FileUtils::isDirectory(file));
    EXPECT_TRUE(FileUtils::isDirectory(folder));
    EXPECT_FALSE(FileUtils::exists(file + ".missing"));
    EXPECT_FALSE(FileUtils::isDirectory(file + ".missing"));
}

TEST(CreateTempFile, CreatesDistinctNewFiles) {
    const std::string folder = testFolder("temp-files");
    const std::string a = FileUtils::createTempFile(folder, "tegu", ".html");
    const std::string b = FileUtils::createTempFile(folder, "tegu", ".html");
    EXPECT_NE(a, b);
    for (const std::string& path : {a, b}) {
        EXPECT_TRUE(FileUtils::exists(path));
        EXPECT_EQ(FileUtils::dirName(path), folder);
        EXPECT_THAT(FileUtils::baseName(path), AllOf(StartsWith("tegu"), EndsWith(".html")));
        EXPECT_THAT(logText(), HasSubstr("(FileUtils::`anonymous-namespace'::createNewFile)]\n"
                                         "\tTRACE: Created [" + path + "] file"));
    }
}

TEST(CreateTempFile, RefusesIllegalNamePartsBeforeTouchingTheDisk) {
    const std::string missing = FileUtils::joinPath(testsupport::tempDir(), "no-such-folder");
    EXPECT_THAT([&] { FileUtils::createTempFile(missing, "a:b", ""); },
                ThrowsMessage<std::runtime_error>(
                    EndsWith("at FileUtils::createTempFile(): Illegal characters in prefix=a:b")));
    EXPECT_THAT([&] { FileUtils::createTempFile(missing, "a", "?"); },
                ThrowsMessage<std::runtime_error>(EndsWith("Illegal characters in suffix=?")));
    EXPECT_FALSE(FileUtils::exists(missing));
}

TEST(CreateTempFile, GivesUpWhenNoNameCanBeCreated) {
    const std::string missing = FileUtils::joinPath(testsupport::tempDir(), "no-such-folder");
    EXPECT_THAT([&] { FileUtils::createTempFile(missing, "x", ".tmp"); },
                ThrowsMessage<std::runtime_error>(
                    EndsWith("at FileUtils::createTempFile(): cannot create temp file")));
}

TEST(CreateDirectory, CreatesEveryLevelOnce) {
    const std::string top = FileUtils::joinPath(testsupport::tempDir(), "levels");
    const std::string deep = top + "\\a/b\\c\\";
    FileUtils::createDirectory(deep);
    EXPECT_TRUE(FileUtils::isDirectory(top + "\\a\\b\\c"));
    EXPECT_THAT(logText(), HasSubstr("TRACE: Created [" + top + "\\a/b\\] directory"));

    const std::string before = logText();
    FileUtils::createDirectory(deep);
    EXPECT_EQ(logText(), before);
}

TEST(CreateDirectory, ALevelThatIsAFileRaises) {
    const std::string folder = testFolder("blocked");
    ASSERT_TRUE(writeFile(folder + "\\file"));
    EXPECT_THAT([&] { FileUtils::createDirectory(folder + "\\file\\sub"); },
                ThrowsMessage<SysError>(
                    HasSubstr("at FileUtils::createDirectory(): CreateDirectory(" + folder +
                              "\\file\\) failed. System error [183]")));
}

TEST(DeleteFile, MissingFileSucceedsWithoutALogRecord) {
    const std::string missing = FileUtils::joinPath(testsupport::tempDir(), "missing.txt");
    const std::string before = logText();
    EXPECT_TRUE(FileUtils::tryDeleteFile(missing));
    FileUtils::deleteFile(missing);
    FileUtils::deleteFile(missing + "\\in\\missing\\folder");
    EXPECT_EQ(logText(), before);
}

TEST(DeleteFile, DeletesAndLogs) {
    const std::string file = FileUtils::joinPath(testFolder("delete-file"), "f.txt");
    ASSERT_TRUE(writeFile(file));
    FileUtils::deleteFile(file);
    EXPECT_FALSE(FileUtils::exists(file));
    EXPECT_THAT(logText(), HasSubstr("(FileUtils::deleteFile)]\n\tTRACE: Deleted [" + file + "] file"));
}

TEST(DeleteFile, BusyFileRaisesWithTheSystemError) {
    const std::string file = FileUtils::joinPath(testFolder("busy-file"), "f.txt");
    ASSERT_TRUE(writeFile(file));
    const UniqueHandle busy = holdOpen(file);
    ASSERT_TRUE(busy.valid());
    EXPECT_FALSE(FileUtils::tryDeleteFile(file));
    EXPECT_THAT([&] { FileUtils::deleteFile(file); },
                ThrowsMessage<SysError>(AllOf(
                    StartsWith("FileUtils.cpp("),
                    HasSubstr(") at FileUtils::deleteFile(): DeleteFile(" + file +
                              ") failed. System error [32](system error 32 ("))));
    EXPECT_TRUE(FileUtils::exists(file));
}

TEST(DeleteDirectory, EmptyMissingAndNonEmpty) {
    const std::string folder = testFolder("delete-dir");
    const std::string empty = testFolder("delete-dir\\empty");
    FileUtils::deleteDirectory(empty);
    EXPECT_FALSE(FileUtils::exists(empty));
    EXPECT_THAT(logText(), HasSubstr("TRACE: deleteDirectory(" + empty + ")"));
    EXPECT_THAT(logText(), HasSubstr("(FileUtils::deleteDirectory)]\n\tTRACE: Deleted [" + empty +
                                     "] directory"));
    EXPECT_TRUE(FileUtils::tryDeleteDirectory(empty));

    ASSERT_TRUE(writeFile(folder + "\\f.txt"));
    EXPECT_FALSE(FileUtils::tryDeleteDirectory(folder));
    EXPECT_THAT([&] { FileUtils::deleteDirectory(folder); },
                ThrowsMessage<SysError>(
                    HasSubstr("at FileUtils::deleteDirectory(): RemoveDirectory(" + folder +
                              ") failed. System error [")));
}

TEST(MoveFile, MovesAndLogs) {
    const std::string folder = testFolder("move");
    ASSERT_TRUE(writeFile(folder + "\\a.txt", "content"));
    FileUtils::moveFile(folder + "\\a.txt", folder + "\\b.txt", 0);
    EXPECT_FALSE(FileUtils::exists(folder + "\\a.txt"));
    EXPECT_EQ(testsupport::readFile(folder + "\\b.txt"), "content");
    EXPECT_THAT(logText(), HasSubstr("(FileUtils::`anonymous-namespace'::moveFileImpl)]\n\tTRACE: "
                                     "Moved [" + folder + "\\a.txt] file to [" + folder +
                                     "\\b.txt]\n"));
}

TEST(MoveFile, FailureRaises) {
    const std::string folder = testFolder("move-fail");
    EXPECT_THAT([&] { FileUtils::moveFile(folder + "\\none", folder + "\\other", 0); },
                ThrowsMessage<SysError>(HasSubstr(
                    "at FileUtils::`anonymous-namespace'::moveFileImpl(): MoveFileEx(" + folder +
                    "\\none, " + folder + "\\other) failed. System error [2]")));
}

TEST(DeletePersistentFile, DeletesAFreeFileAndIgnoresAMissingOne) {
    const std::string file = FileUtils::joinPath(testFolder("persistent"), "f.txt");
    ASSERT_TRUE(writeFile(file));
    FileUtils::deletePersistentFile(file);
    EXPECT_FALSE(FileUtils::exists(file));
    const std::string before = logText();
    FileUtils::deletePersistentFile(file);
    EXPECT_EQ(logText(), before);
    EXPECT_THAT(before, Not(HasSubstr("cannot delete file " + file)));
}

TEST(FileVersion, ReadsTheVersionResource) {
    EXPECT_EQ(FileUtils::getFileVersion(testsupport::selfPath()), Version(11, 2, 33, 44));
}

TEST(FileVersion, FileWithoutVersionResourceRaises) {
    const std::string file = FileUtils::joinPath(testFolder("no-version"), "plain.exe");
    ASSERT_TRUE(writeFile(file, "MZ not really a program"));
    EXPECT_THAT([&] { FileUtils::getFileVersion(file); },
                ThrowsMessage<SysError>(HasSubstr("at FileUtils::getFileVersion(): "
                                                  "GetFileVersionInfoSize(" + file + ") failed")));
    EXPECT_THROW(FileUtils::getFileVersion(file + ".missing"), SysError);
}
