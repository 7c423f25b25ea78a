#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "MemoryZipSource.h"
#include "ZipTestArchive.h"
#include "unzip.h"

namespace {

const std::vector<ziptest::Member> kMembers = {
    {"META-INF/", ""},
    {"META-INF/MANIFEST.MF", "Implementation-Version: 1.8.0_451\n", 8},
    {"a.txt", "alpha"},
    {"b.txt", std::string(20000, 'b'), 8},
};

std::string openFailure(const std::string& path) {
    const char* message = nullptr;
    ZipArchive* zip = ZIP_Open(path.c_str(), &message);
    ZIP_Close(zip);
    return zip ? "opened" : message;
}

} // namespace

TEST(ZipOpen, SamePathSharesOneArchive) {
    ziptest::TempFile file("shared.zip", ziptest::build(kMembers).bytes);
    const char* message = nullptr;
    ZipArchive* first = ZIP_Open(file.path().c_str(), &message);
    ASSERT_TRUE(first) << message;
    ZipArchive* second = ZIP_Open(file.path().c_str(), &message);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->references, 2u);
    ZIP_Close(second);
    EXPECT_EQ(first->references, 1u);
    ZIP_Close(first);
}

TEST(ZipOpen, LastCloseLetsTheNextOpenReadTheFileAgain) {
    ziptest::TempFile file("reopen.zip", ziptest::build({{"old", "1"}}).bytes);
    const char* message = nullptr;
    ZipArchive* zip = ZIP_Open(file.path().c_str(), &message);
    ASSERT_TRUE(zip);
    ZIP_Close(zip);
    file.write(ziptest::build({{"new", "2"}}).bytes);
    zip = ZIP_Open(file.path().c_str(), &message);
    ASSERT_TRUE(zip);
    EXPECT_TRUE(ZIP_FindEntry(zip, "new"));
    EXPECT_FALSE(ZIP_FindEntry(zip, "old"));
    ZIP_Close(zip);
}

TEST(ZipOpen, ReferenceCountIsBounded) {
    ziptest::TempFile file("counted.zip", ziptest::build(kMembers).bytes);
    const char* message = nullptr;
    std::vector<ZipArchive*> opened;
    for (unsigned i = 0; i < 0xFFFF; ++i) {
        opened.push_back(ZIP_Open(file.path().c_str(), &message));
    }
    EXPECT_EQ(opened.back(), opened.front());
    EXPECT_EQ(opened.front()->references, 0xFFFFu);
    ZipArchive* another = ZIP_Open(file.path().c_str(), &message);
    ASSERT_TRUE(another);
    EXPECT_NE(another, opened.front());
    ZIP_Close(another);
    for (ZipArchive* zip : opened) ZIP_Close(zip);
}

TEST(ZipOpen, FailuresAreZipFileOpenErrors) {
    ziptest::TempFile empty("empty.zip", "");
    EXPECT_EQ(openFailure(empty.path()), "Zip file open error");
    EXPECT_EQ(openFailure(empty.path() + ".missing"), "Zip file open error");
    EXPECT_EQ(openFailure(std::string(260, 'n')), "Zip file open error");
    std::vector<ziptest::Member> encrypted = kMembers;
    encrypted[2].flags = 1;
    ziptest::TempFile locked("encrypted.zip", ziptest::build(encrypted).bytes);
    EXPECT_EQ(openFailure(locked.path()), "Zip file open error");
}

TEST(ZipOpen, FileWithoutEndRecordHasNoEntries) {
    ziptest::TempFile file("comment.zip", "only a comment, no archive\n");
    const char* message = nullptr;
    ZipArchive* zip = ZIP_Open(file.path().c_str(), &message);
    ASSERT_TRUE(zip);
    EXPECT_FALSE(ZIP_FindEntry(zip, "META-INF/MANIFEST.MF"));
    EXPECT_FALSE(ZIP_GetNextEntry(zip, 0));
    ZIP_Close(zip);
}

TEST(ZipOpen, SourceFailureKeepsTheReason) {
    std::vector<ziptest::Member> broken = kMembers;
    broken[1].method = 9;
    const char* message = nullptr;
    EXPECT_FALSE(ZIP_OpenSource("broken.zip",
                                std::make_unique<MemoryZipSource>(ziptest::build(broken).bytes),
                                &message));
    EXPECT_STREQ(message, "invalid CEN header (bad compression method)");
}

TEST(ZipOpen, ThreadsShareOneArchive) {
    ziptest::TempFile file("threads.zip", ziptest::build(kMembers).bytes);
    const char* message = nullptr;
    ZipArchive* held = ZIP_Open(file.path().c_str(), &message);
    ASSERT_TRUE(held);
    std::atomic<int> failures(0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 60; ++i) {
                const char* threadMessage = nullptr;
                ZipArchive* zip = ZIP_Open(file.path().c_str(), &threadMessage);
                const ziptest::Member& member = kMembers[1 + (t + i) % 3];
                auto entry = zip == held ? ZIP_FindEntry(zip, member.name) : nullptr;
                std::string content;
                if (!entry || !ZIP_ReadEntry(zip, entry.get(), &content) || content != member.data) {
                    ++failures;
                }
                ZIP_FreeEntry(zip, std::move(entry));
                ZIP_Close(zip);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(held->references, 1u);
    ZIP_Close(held);
}

TEST(ZipRead, ReportsTheReason) {
    ziptest::Layout layout = ziptest::build(kMembers);
    layout.bytes[layout.local[2]] = 'Q';
    const char* message = nullptr;
    ZipArchive* zip = ZIP_OpenSource("r.zip", std::make_unique<MemoryZipSource>(layout.bytes), &message);
    ASSERT_TRUE(zip);
    auto entry = ZIP_FindEntry(zip, "a.txt");
    char buffer[8];
    EXPECT_EQ(ZIP_Read(zip, entry.get(), 0, buffer, sizeof(buffer), &message), -1);
    EXPECT_STREQ(message, "invalid LOC header (bad signature)");
    std::string content;
    message = nullptr;
    EXPECT_FALSE(ZIP_ReadEntry(zip, entry.get(), &content, &message));
    EXPECT_STREQ(message, "invalid LOC header (bad signature)");
    ZIP_FreeEntry(zip, std::move(entry));
    ZIP_Close(zip);
}

TEST(ZipGetNextEntry, ListsTheDirectoryInOrder) {
    const char* message = nullptr;
    ZipArchive* zip = ZIP_OpenSource(
        "list.zip", std::make_unique<MemoryZipSource>(ziptest::build(kMembers).bytes), &message);
    ASSERT_TRUE(zip);
    for (size_t i = 0; i < kMembers.size(); ++i) {
        EXPECT_EQ(ZIP_GetNextEntry(zip, i)->name, kMembers[i].name);
    }
    EXPECT_FALSE(ZIP_GetNextEntry(zip, kMembers.size()));
    ZIP_Close(zip);
}
