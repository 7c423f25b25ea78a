#include <gtest/gtest.h>

#include "MemoryZipSource.h"
#include "ZipArchive.h"
#include "ZipTestArchive.h"

namespace {

std::unique_ptr<ZipArchive> openArchive(const std::string& bytes) {
    auto zip = std::make_unique<ZipArchive>("test.zip", std::make_unique<MemoryZipSource>(bytes));
    const char* message = zip->open();
    EXPECT_EQ(message, nullptr) << message;
    return zip;
}

// The reason reading the named entry whole fails ("" when it does not).
std::string readFailure(const std::string& bytes, const std::string& name) {
    auto zip = openArchive(bytes);
    auto entry = zip->findEntry(name);
    if (!entry) return "not found";
    std::string content;
    const char* message = nullptr;
    return zip->readEntry(*entry, &content, &message) ? "" : message;
}

const std::vector<ziptest::Member> kLayout = {
    {"META-INF/", ""},
    {"META-INF/MANIFEST.MF", "Manifest-Version: 1.0\r\nImplementation-Version: 1.8.0_451\r\n", 8},
    {"stored.txt", "stored content"},
    {"big.bin", std::string(70000, 'x') + "end", 8, 0, true},
    {"empty-stored", ""},
    {"empty-deflated", "", 8},
};

} // namespace

TEST(ZipArchive, ReadsStoredDeflatedZip64AndEmptyEntries) {
    ziptest::Options options;
    options.zip64End = true;
    auto zip = openArchive(ziptest::build(kLayout, options).bytes);
    ASSERT_EQ(zip->entryCount(), kLayout.size());
    for (const ziptest::Member& member : kLayout) {
        auto entry = zip->findEntry(member.name);
        ASSERT_TRUE(entry) << member.name;
        std::string content = "stale";
        const char* message = nullptr;
        ASSERT_TRUE(zip->readEntry(*entry, &content, &message)) << member.name << ": " << message;
        EXPECT_EQ(content, member.data) << member.name;
    }
}

TEST(ZipArchive, FindsADirectoryWithoutItsSlash) {
    auto zip = openArchive(ziptest::build(kLayout).bytes);
    auto directory = zip->findEntry("META-INF");
    ASSERT_TRUE(directory);
    EXPECT_EQ(directory->name, "META-INF/");
    EXPECT_EQ(zip->findEntry("META-INF/")->name, "META-INF/");
    EXPECT_FALSE(zip->findEntry("META-INF/MANIFEST.MF/"));
    EXPECT_FALSE(zip->findEntry("meta-inf/manifest.mf"));
    EXPECT_FALSE(zip->findEntry(""));
    EXPECT_FALSE(zip->findEntry("stored"));
}

TEST(ZipArchive, ReleasedEntryServesTheNextLookupOfItsName) {
    auto zip = openArchive(ziptest::build(kLayout).bytes);
    auto entry = zip->findEntry("stored.txt");
    std::string content;
    const char* message = nullptr;
    ASSERT_TRUE(zip->readEntry(*entry, &content, &message));
    const ZipEntry* released = entry.get();
    zip->releaseEntry(std::move(entry));
    auto again = zip->findEntry("stored.txt");
    EXPECT_EQ(again.get(), released);
    EXPECT_TRUE(again->dataPositionKnown);
    auto fresh = zip->findEntry("stored.txt");
    EXPECT_NE(fresh.get(), released);
    EXPECT_FALSE(fresh->dataPositionKnown);
}

TEST(ZipArchive, EntryAtFollowsTheDirectoryOrder) {
    auto zip = openArchive(ziptest::build(kLayout).bytes);
    for (size_t i = 0; i < kLayout.size(); ++i) {
        EXPECT_EQ(zip->entryAt(i)->name, kLayout[i].name);
    }
    EXPECT_FALSE(zip->entryAt(kLayout.size()));
}

TEST(ZipArchive, ReadKeepsWithinTheEntry) {
    auto zip = openArchive(ziptest::build(kLayout).bytes);
    auto entry = zip->findEntry("stored.txt");
    char buffer[64] = {};
    const char* message = nullptr;
    EXPECT_EQ(zip->read(*entry, 7, buffer, sizeof(buffer), &message), 7);
    EXPECT_EQ(std::string(buffer, 7), "content");
    EXPECT_EQ(zip->read(*entry, 14, buffer, 1, &message), -1);
    EXPECT_STREQ(message, "ZIP_Read: specified offset out of range");
    EXPECT_EQ(zip->read(*entry, 0, buffer, 0, &message), 0);
}

TEST(ZipArchive, LocalHeaderOutsideTheFile) {
    ziptest::Layout zip = ziptest::build(kLayout);
    ziptest::put32(zip.bytes, zip.central[2] + 42, 0x7FFFFFF0);
    EXPECT_EQ(readFailure(zip.bytes, "stored.txt"), "error reading zip file");
    ziptest::put32(zip.bytes, zip.central[2] + 42, zip.bytes.size() - 29);
    EXPECT_EQ(readFailure(zip.bytes, "stored.txt"), "error reading zip file");
}

TEST(ZipArchive, LocalHeaderWithoutItsSignature) {
    ziptest::Layout zip = ziptest::build(kLayout);
    zip.bytes[zip.local[2] + 3] = 9;
    EXPECT_EQ(readFailure(zip.bytes, "stored.txt"), "invalid LOC header (bad signature)");
}

TEST(ZipArchive, LocalLengthsThatPushTheDataOutOfTheFile) {
    ziptest::Layout zip = ziptest::build(kLayout);
    ziptest::put16(zip.bytes, zip.local[2] + 28, 0xFFFF);
    ziptest::put16(zip.bytes, zip.local[2] + 26, 0xFFFF);
    EXPECT_EQ(readFailure(zip.bytes, "stored.txt"), "ZIP_Read: corrupt zip file: invalid entry size");
    auto archive = openArchive(zip.bytes);
    auto entry = archive->findEntry("stored.txt");
    char byte = 0;
    const char* message = nullptr;
    EXPECT_EQ(archive->read(*entry, 0, &byte, 1, &message), -1);
    EXPECT_STREQ(message, "ZIP_Read: corrupt zip file: invalid entry size");
}

TEST(ZipArchive, DeclaredSizesTheFileCannotHoldAreRefused) {
    const ziptest::Layout zip = ziptest::build(kLayout);
    // A stored size just under 4 GiB, and one just past the file's end.
    for (const uint64_t size : {uint64_t(0xFFFFFFF0), uint64_t(zip.bytes.size())}) {
        std::string bytes = zip.bytes;
        ziptest::put32(bytes, zip.central[2] + 20, size);
        ziptest::put32(bytes, zip.central[2] + 24, size);
        EXPECT_EQ(readFailure(bytes, "stored.txt"), "ZIP_Read: corrupt zip file: invalid entry size");
    }
    // Deflate cannot expand a byte beyond 1032 bytes.
    const size_t manifest = zip.central[1];
    const uint64_t compressed = ziptest::deflateRaw(kLayout[1].data).size();
    std::string bytes = zip.bytes;
    ziptest::put32(bytes, manifest + 24, compressed * 1032 + 1);
    EXPECT_EQ(readFailure(bytes, "META-INF/MANIFEST.MF"), "ZIP_Read: corrupt zip file: invalid entry size");
    ziptest::put32(bytes, manifest + 20, zip.bytes.size());
    EXPECT_EQ(readFailure(bytes, "META-INF/MANIFEST.MF"), "ZIP_Read: corrupt zip file: invalid entry size");
}
