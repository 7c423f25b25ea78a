#include <gtest/gtest.h>

#include "MemoryZipSource.h"
#include "ZipEndRecord.h"
#include "ZipTestArchive.h"

namespace {

ZipEndRecord findIn(const std::string& bytes) {
    MemoryZipSource source(bytes);
    ZipEndRecord record;
    EXPECT_EQ(findZipEndRecord(source, &record), nullptr);
    return record;
}

const std::vector<ziptest::Member> kTwo = {{"a.txt", "alpha"}, {"b.txt", "beta"}};

class FailingSource : public ZipSource {
public:
    uint64_t size() const override { return 1000; }

protected:
    size_t readSome(uint64_t, void*, size_t) override { return 0; }
};

} // namespace

TEST(ZipEndRecord, FoundBehindCommentsUpToTheLongest) {
    for (const size_t commentLength : {size_t(0), size_t(1), size_t(300), size_t(0xFFFF)}) {
        ziptest::Options options;
        options.comment = std::string(commentLength, 'c');
        const ziptest::Layout zip = ziptest::build(kTwo, options);
        const ZipEndRecord record = findIn(zip.bytes);
        ASSERT_TRUE(record.found) << commentLength;
        EXPECT_EQ(record.position, zip.end);
        EXPECT_EQ(record.totalEntries, 2u);
        EXPECT_EQ(record.cenOffset, zip.central[0]);
        EXPECT_EQ(record.cenLength, zip.end - zip.central[0]);
    }
}

TEST(ZipEndRecord, NotLookedForFurtherBackThanTheLongestComment) {
    ziptest::Options options;
    options.comment = std::string(0xFFFF, 'c');
    ziptest::Layout zip = ziptest::build(kTwo, options);
    zip.bytes += 'x';
    EXPECT_FALSE(findIn(zip.bytes).found);
}

TEST(ZipEndRecord, TrailingBytesAcceptedWhenTheDirectoryIsReal) {
    ziptest::Layout zip = ziptest::build(kTwo);
    zip.bytes += "trailing bytes";
    const ZipEndRecord record = findIn(zip.bytes);
    ASSERT_TRUE(record.found);
    EXPECT_EQ(record.position, zip.end);
}

TEST(ZipEndRecord, SignatureThatIsNoRecordIsPassedOver) {
    // Comments holding would-be records that neither end the file nor point
    // at a central directory: one out of range, one in range.
    const std::string outOfRange = std::string("PK\x05\x06", 4) + std::string(18, '\x01');
    std::string inRange = std::string("PK\x05\x06", 4) + std::string(18, '\0');
    ziptest::put32(inRange, 12, 1);
    ziptest::Options options;
    options.comment = outOfRange + inRange + "tail";
    const ziptest::Layout zip = ziptest::build(kTwo, options);
    const ZipEndRecord record = findIn(zip.bytes);
    ASSERT_TRUE(record.found);
    EXPECT_EQ(record.position, zip.end);
}

TEST(ZipEndRecord, ShortOrSignatureFreeFilesHaveNone) {
    EXPECT_FALSE(findIn("").found);
    EXPECT_FALSE(findIn(std::string("PK\x05\x06", 4)).found);
    EXPECT_FALSE(findIn(std::string(5000, 'z')).found);
}

TEST(ZipEndRecord, Zip64EndRecordReplacesAllOnesFields) {
    ziptest::Options options;
    options.zip64End = true;
    options.prefix = "prefix";
    const ziptest::Layout zip = ziptest::build(kTwo, options);
    const ZipEndRecord record = findIn(zip.bytes);
    ASSERT_TRUE(record.found);
    const size_t end64 = zip.end - 20 - 56;
    EXPECT_EQ(record.position, end64);
    EXPECT_EQ(record.totalEntries, 2u);
    EXPECT_EQ(record.cenLength, end64 - zip.central[0]);
    EXPECT_EQ(record.cenOffset, zip.central[0] - options.prefix.size());
}

TEST(ZipEndRecord, Zip64EndRecordAppliesBesideTrueValues) {
    ziptest::Options options;
    options.zip64End = true;
    ziptest::Layout zip = ziptest::build(kTwo, options);
    const size_t end64 = zip.end - 20 - 56;
    ziptest::put16(zip.bytes, zip.end + 10, 2);
    ziptest::put32(zip.bytes, zip.end + 12, end64 - zip.central[0]);
    ziptest::put32(zip.bytes, zip.end + 16, zip.central[0]);
    const ZipEndRecord record = findIn(zip.bytes);
    EXPECT_EQ(record.position, end64);
    EXPECT_EQ(record.cenLength, end64 - zip.central[0]);
}

TEST(ZipEndRecord, BrokenZip64LocatorKeepsTheEndRecord) {
    ziptest::Options options;
    options.zip64End = true;
    const ziptest::Layout good = ziptest::build(kTwo, options);
    const size_t locator = good.end - 20;
    for (const uint64_t target : {uint64_t(locator), uint64_t(1) << 62, uint64_t(locator - 55)}) {
        ziptest::Layout zip = good;
        ziptest::put64(zip.bytes, locator + 8, target);
        const ZipEndRecord record = findIn(zip.bytes);
        ASSERT_TRUE(record.found);
        EXPECT_EQ(record.position, zip.end) << target;
        EXPECT_EQ(record.cenLength, 0xFFFFFFFFu);
    }
    ziptest::Layout noLocator = good;
    noLocator.bytes[locator] = 'X';
    EXPECT_EQ(findIn(noLocator.bytes).position, noLocator.end);
}

TEST(ZipEndRecord, ReadFailureIsReported) {
    FailingSource source;
    ZipEndRecord record;
    EXPECT_STREQ(findZipEndRecord(source, &record), "error reading zip file");
}
