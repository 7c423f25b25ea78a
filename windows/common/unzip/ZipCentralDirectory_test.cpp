#include <gtest/gtest.h>

#include <limits>

#include "MemoryZipSource.h"
#include "ZipCentralDirectory.h"
#include "ZipTestArchive.h"

namespace {

const char* readDirectory(const std::string& bytes, ZipCentralDirectory* directory) {
    MemoryZipSource source(bytes);
    return directory->read(source);
}

std::string failure(const std::string& bytes) {
    ZipCentralDirectory directory;
    const char* message = readDirectory(bytes, &directory);
    return message ? message : "no failure";
}

uint32_t indexOf(const ZipCentralDirectory& directory, const std::string& name) {
    return directory.find(ZipCentralDirectory::hashName(name.data(), name.size()), name);
}

const std::vector<ziptest::Member> kThree = {
    {"a.txt", "alpha"}, {"dir/", ""}, {"dir/b.txt", std::string(100, 'b'), 8}};

} // namespace

TEST(ZipCentralDirectory, IndexesEveryEntry) {
    ziptest::Options options;
    options.prefix = "self-extractor stub";
    const ziptest::Layout zip = ziptest::build(kThree, options);
    ZipCentralDirectory directory;
    ASSERT_EQ(readDirectory(zip.bytes, &directory), nullptr);
    ASSERT_EQ(directory.count(), 3u);
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(indexOf(directory, kThree[i].name), i);
        const auto entry = directory.entryAt(i);
        EXPECT_EQ(entry->name, kThree[i].name);
        EXPECT_EQ(entry->size, kThree[i].data.size());
        EXPECT_EQ(entry->method, kThree[i].method);
        EXPECT_EQ(entry->localHeaderPosition, zip.local[i]);
        EXPECT_FALSE(entry->dataPositionKnown);
    }
    EXPECT_EQ(directory.entryAt(0)->compressedSize, 0u);
    EXPECT_EQ(directory.entryAt(2)->compressedSize, ziptest::deflateRaw(kThree[2].data).size());
    EXPECT_EQ(indexOf(directory, "missing"), ZipCentralDirectory::kNoEntry);
    EXPECT_EQ(indexOf(directory, "A.TXT"), ZipCentralDirectory::kNoEntry);
}

TEST(ZipCentralDirectory, EndRecordMessages) {
    const ziptest::Layout zip = ziptest::build(kThree);
    std::string bytes = zip.bytes;
    ziptest::put32(bytes, zip.end + 12, zip.end + 1);
    EXPECT_EQ(failure(bytes), "invalid END header (bad central directory size)");
    bytes = zip.bytes;
    ziptest::put32(bytes, zip.end + 16, zip.central[0] + 1);
    EXPECT_EQ(failure(bytes), "invalid END header (bad central directory offset)");
}

TEST(ZipCentralDirectory, HeaderMessages) {
    const ziptest::Layout zip = ziptest::build(kThree);
    const size_t second = zip.central[1];
    std::string bytes = zip.bytes;
    bytes[second] = 'X';
    EXPECT_EQ(failure(bytes), "invalid CEN header (bad signature)");
    bytes = zip.bytes;
    ziptest::put16(bytes, second + 8, 1);
    EXPECT_EQ(failure(bytes), "invalid CEN header (encrypted entry)");
    bytes = zip.bytes;
    ziptest::put16(bytes, second + 10, 12);
    EXPECT_EQ(failure(bytes), "invalid CEN header (bad compression method)");
    bytes = zip.bytes;
    ziptest::put16(bytes, zip.central[2] + 28, 200);
    EXPECT_EQ(failure(bytes), "invalid CEN header (bad header size)");
    bytes = zip.bytes;
    ziptest::put16(bytes, zip.central[2] + 30, 1);
    EXPECT_EQ(failure(bytes), "invalid CEN header (bad header size)");
    bytes = zip.bytes;
    ziptest::put16(bytes, zip.central[2] + 32, 0xFFFF);
    EXPECT_EQ(failure(bytes), "invalid CEN header (bad header size)");
}

TEST(ZipCentralDirectory, TrailingBytesShorterThanAHeaderAreRefused) {
    ziptest::Layout zip = ziptest::build(kThree);
    zip.bytes.insert(zip.end, "junk");
    ziptest::put32(zip.bytes, zip.end + 4 + 12, zip.end + 4 - zip.central[0]);
    EXPECT_EQ(failure(zip.bytes), "invalid CEN header (bad header size)");
}

TEST(ZipCentralDirectory, DeclaredCountIsOnlyAHint) {
    for (const uint64_t declared : {uint64_t(1), uint64_t(0xFFFE)}) {
        ziptest::Layout zip = ziptest::build(kThree);
        ziptest::put16(zip.bytes, zip.end + 10, declared);
        ZipCentralDirectory directory;
        ASSERT_EQ(readDirectory(zip.bytes, &directory), nullptr);
        EXPECT_EQ(directory.count(), 3u) << declared;
        EXPECT_EQ(indexOf(directory, "dir/b.txt"), 2u);
    }
    ziptest::Options options;
    options.zip64End = true;
    ziptest::Layout huge = ziptest::build(kThree, options);
    ziptest::put64(huge.bytes, huge.end - 20 - 56 + 32, uint64_t(1) << 62);
    ZipCentralDirectory directory;
    ASSERT_EQ(readDirectory(huge.bytes, &directory), nullptr);
    EXPECT_EQ(directory.count(), 3u);
}

TEST(ZipCentralDirectory, NoEndRecordMeansNoEntries) {
    ZipCentralDirectory directory;
    ASSERT_EQ(readDirectory("just a text file, with a comment", &directory), nullptr);
    EXPECT_EQ(directory.count(), 0u);
    EXPECT_EQ(indexOf(directory, "a.txt"), ZipCentralDirectory::kNoEntry);
}

TEST(ZipCentralDirectory, HashChainsTellEqualHashesApart) {
    EXPECT_EQ(ZipCentralDirectory::hashName("Aa", 2), ZipCentralDirectory::hashName("BB", 2));
    std::vector<ziptest::Member> members;
    for (const char* name : {"Aa", "BB", "AaAa", "BBBB", "AaBB", "BBAa", "x"}) {
        members.push_back({name, name});
    }
    ZipCentralDirectory directory;
    ASSERT_EQ(readDirectory(ziptest::build(members).bytes, &directory), nullptr);
    for (uint32_t i = 0; i < members.size(); ++i) {
        EXPECT_EQ(indexOf(directory, members[i].name), i) << members[i].name;
    }
}

TEST(ZipCentralDirectory, LaterDuplicateWins) {
    ZipCentralDirectory directory;
    ASSERT_EQ(readDirectory(ziptest::build({{"same", "1"}, {"other", "2"}, {"same", "3"}}).bytes,
                            &directory),
              nullptr);
    EXPECT_EQ(indexOf(directory, "same"), 2u);
}

TEST(ZipCentralDirectory, HashTakesBytesAsSigned) {
    const std::string name = "\xC3\xA9";
    EXPECT_EQ(ZipCentralDirectory::hashName(name.data(), name.size()),
              static_cast<uint32_t>(31 * -61 + -87));
    EXPECT_EQ(ZipCentralDirectory::hashName("/", 1, ZipCentralDirectory::hashName("ab", 2)),
              ZipCentralDirectory::hashName("ab/", 3));
}

TEST(ZipCentralDirectory, Zip64ExtraSuppliesSizesAndOffset) {
    ziptest::Options options;
    options.prefix = "stub";
    options.zip64End = true;
    ziptest::Member big{"big.bin", std::string(5000, 'q'), 8, 0, true};
    ziptest::Member stored{"stored.bin", "plain", 0, 0, true};
    const ziptest::Layout zip = ziptest::build({stored, big}, options);
    ZipCentralDirectory directory;
    ASSERT_EQ(readDirectory(zip.bytes, &directory), nullptr);
    const auto first = directory.entryAt(0);
    EXPECT_EQ(first->size, 5u);
    EXPECT_EQ(first->compressedSize, 0u);
    EXPECT_EQ(first->localHeaderPosition, zip.local[0]);
    const auto second = directory.entryAt(1);
    EXPECT_EQ(second->size, 5000u);
    EXPECT_EQ(second->compressedSize, ziptest::deflateRaw(big.data).size());
    EXPECT_EQ(second->localHeaderPosition, zip.local[1]);
}

TEST(ZipCentralDirectory, HostileZip64OffsetDoesNotWrapAround) {
    ziptest::Options options;
    options.prefix = "stub";
    ziptest::Layout zip = ziptest::build({{"e", "data", 0, 0, true}}, options);
    ziptest::put64(zip.bytes, zip.central[0] + 46 + 1 + 4 + 16, ~uint64_t(0) - 1);
    ZipCentralDirectory directory;
    ASSERT_EQ(readDirectory(zip.bytes, &directory), nullptr);
    EXPECT_EQ(directory.entryAt(0)->localHeaderPosition, std::numeric_limits<uint64_t>::max());
}

TEST(ZipCentralDirectory, ShortZip64ExtraLeavesAllOnesValues) {
    ziptest::Layout zip = ziptest::build({{"e", "data", 0, 0, true}});
    ziptest::put16(zip.bytes, zip.central[0] + 46 + 1 + 2, 30);
    ZipCentralDirectory directory;
    ASSERT_EQ(readDirectory(zip.bytes, &directory), nullptr);
    EXPECT_EQ(directory.entryAt(0)->size, 0xFFFFFFFFu);
}
