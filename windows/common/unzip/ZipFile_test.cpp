#include <gtest/gtest.h>

#include "MemoryZipSource.h"
#include "ZipFile.h"
#include "ZipFileEntry.h"
#include "ZipTestArchive.h"

namespace {

const std::string kManifest =
    "Manifest-Version: 1.0\r\nImplementation-Version: 1.8.0_451-b10\r\n";

std::vector<ziptest::Member> runtimeArchive() {
    return {
        {"META-INF/", ""},
        {"META-INF/MANIFEST.MF", kManifest, 8},
        {"calyx/lang/Object.cx", std::string(3000, '\x07'), 8},
        {"stored.txt", "stored"},
        {"zip64.txt", "through zip64 fields", 8, 0, true},
    };
}

std::unique_ptr<ZipFile> inMemory(const std::string& bytes) {
    return std::make_unique<ZipFile>("mem.zip", std::make_unique<MemoryZipSource>(bytes));
}

// what() of the error extracting the named entry ("" when it succeeds).
std::string extractError(const ZipFile& file, const std::string& name,
                         uint64_t maxSize = ZipFile::kMaxEntrySize) {
    try {
        file.extractEntryAsUtf8String(name, maxSize);
        return "";
    } catch (const std::runtime_error& e) {
        return e.what();
    }
}

::testing::AssertionResult endsWith(const std::string& text, const std::string& tail) {
    if (text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "'" << text << "' does not end with '" << tail << "'";
}

const char* const kAtExtract = ") at ZipFile::extractEntryAsUtf8String(): ";

} // namespace

TEST(ZipFile, ExtractsEntriesOfAnArchiveFile) {
    ziptest::Options options;
    options.zip64End = true;
    ziptest::TempFile archive("rt.cxa", ziptest::build(runtimeArchive(), options).bytes);
    ZipFile file(archive.path());
    EXPECT_EQ(file.extractEntryAsUtf8String("META-INF/MANIFEST.MF", ZipFile::kManifestSizeLimit),
              kManifest);
    for (const ziptest::Member& member : runtimeArchive()) {
        if (member.name.back() != '/') {
            EXPECT_EQ(file.extractEntryAsUtf8String(member.name), member.data) << member.name;
        }
    }
}

TEST(ZipFile, OpenFailureNamesThePath) {
    const std::string path = testsupport::tempDir() + "/missing.cxa";
    try {
        ZipFile file(path);
        FAIL() << "opened";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("ZipFile.cpp("), std::string::npos) << e.what();
        EXPECT_TRUE(endsWith(e.what(), ") at ZipFile::ZipFile(): ZIP_Open(" + path +
                                           ") failed. Error: Zip file open error"));
    }
}

TEST(ZipFile, OpenFailureFromASourceKeepsTheParserReason) {
    std::vector<ziptest::Member> members = runtimeArchive();
    members[2].flags = 1;
    try {
        inMemory(ziptest::build(members).bytes);
        FAIL() << "opened";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(endsWith(e.what(), "ZIP_Open(mem.zip) failed. Error: invalid CEN header (encrypted entry)"));
    }
}

TEST(ZipFile, MissingEntry) {
    auto file = inMemory(ziptest::build(runtimeArchive()).bytes);
    const std::string error = extractError(*file, "META-INF/INDEX.LIST");
    EXPECT_NE(error.find("ZipFileEntry.cpp("), std::string::npos) << error;
    EXPECT_TRUE(endsWith(error, ") at `anonymous-namespace'::ZipFileEntry::ZipFileEntry(): "
                                "ZIP_FindEntry(mem.zip, META-INF/INDEX.LIST) failed"));
}

TEST(ZipFile, FileWithOnlyACommentHasNoEntries) {
    ziptest::TempFile archive("comment.cxa", "This archive was left intentionally blank.\n");
    ZipFile file(archive.path());
    EXPECT_TRUE(endsWith(extractError(file, "META-INF/MANIFEST.MF"),
                         "ZIP_FindEntry(" + archive.path() + ", META-INF/MANIFEST.MF) failed"));
}

TEST(ZipFile, DirectoriesAreNotExtracted) {
    auto file = inMemory(ziptest::build(runtimeArchive()).bytes);
    for (const char* name : {"META-INF", "META-INF/"}) {
        const std::string error = extractError(*file, name);
        EXPECT_NE(error.find(kAtExtract), std::string::npos) << error;
        EXPECT_TRUE(endsWith(error, std::string("Zip entry ") + name +
                                        " from mem.zip archive is a directory and can't be extracted into memory"));
    }
}

TEST(ZipFile, EntryWithAnEmptyName) {
    auto file = inMemory(ziptest::build({{"", "nameless"}}).bytes);
    EXPECT_TRUE(endsWith(extractError(*file, ""), "Unexpected empty name of zip entry  from mem.zip"));
}

TEST(ZipFile, EntriesOf4GiBOrMoreAreTooLarge) {
    ziptest::Layout zip = ziptest::build(runtimeArchive());
    const size_t sizeField = zip.central[4] + 46 + 9 + 4;
    ziptest::put64(zip.bytes, sizeField, uint64_t(1) << 32);
    auto file = inMemory(zip.bytes);
    const std::string error = extractError(*file, "zip64.txt");
    EXPECT_NE(error.find(kAtExtract), std::string::npos) << error;
    EXPECT_TRUE(endsWith(error, "Zip entry zip64.txt from mem.zip archive is too large to be extracted into memory"));
}

TEST(ZipFile, MaximumSizeBoundsTheExtraction) {
    const std::string limit(ZipFile::kManifestSizeLimit, 'm');
    auto file = inMemory(ziptest::build({{"exact", limit, 8}, {"over", limit + "m", 8}}).bytes);
    EXPECT_EQ(file->extractEntryAsUtf8String("exact", ZipFile::kManifestSizeLimit), limit);
    EXPECT_TRUE(endsWith(extractError(*file, "over", ZipFile::kManifestSizeLimit),
                         "Zip entry over from mem.zip archive is too large to be extracted into memory"));
    EXPECT_EQ(extractError(*file, "over"), "");
}

TEST(ZipFile, SizeJustUnder4GiBIsRefusedWithoutWrappingAround) {
    // name length + 1 + size overflowed a 32-bit buffer size here once.
    for (const uint64_t size : {uint64_t(0xFFFFFFFF) - 10, uint64_t(0xFFFFFFFF) - 11, uint64_t(0xFFFFFFFF)}) {
        ziptest::Layout zip = ziptest::build({{"manifest.mf", "short"}});
        ziptest::put32(zip.bytes, zip.central[0] + 20, size);
        ziptest::put32(zip.bytes, zip.central[0] + 24, size);
        auto file = inMemory(zip.bytes);
        const std::string error = extractError(*file, "manifest.mf");
        EXPECT_NE(error.find(kAtExtract), std::string::npos) << error;
        EXPECT_TRUE(endsWith(error, "ZIP_ReadEntry(mem.zip, manifest.mf) failed"));
        EXPECT_TRUE(endsWith(extractError(*file, "manifest.mf", ZipFile::kManifestSizeLimit),
                             "archive is too large to be extracted into memory"));
    }
}

TEST(ZipFile, UnreadableEntry) {
    ziptest::Layout zip = ziptest::build(runtimeArchive());
    zip.bytes[zip.local[2] + 30 + 20] = '\xFF';
    zip.bytes[zip.local[2] + 30 + 21] = '\xFF';
    zip.bytes[zip.local[2] + 30 + 22] = '\xFF';
    ziptest::put32(zip.bytes, zip.central[2] + 20, 3);
    auto file = inMemory(zip.bytes);
    EXPECT_TRUE(endsWith(extractError(*file, "calyx/lang/Object.cx"),
                         "ZIP_ReadEntry(mem.zip, calyx/lang/Object.cx) failed"));
}

TEST(ZipFileEntry, DescribesItsEntry) {
    auto file = inMemory(ziptest::build(runtimeArchive()).bytes);
    ZipFileEntry manifest(*file, "META-INF/MANIFEST.MF");
    EXPECT_EQ(manifest.name(), "META-INF/MANIFEST.MF");
    EXPECT_EQ(manifest.size(), kManifest.size());
    EXPECT_EQ(manifest.compressedSize(), ziptest::deflateRaw(kManifest).size());
    EXPECT_FALSE(manifest.isDirectory());
    ZipFileEntry stored(*file, "stored.txt");
    EXPECT_EQ(stored.compressedSize(), 0u);
    EXPECT_FALSE(stored.isDirectory());
    EXPECT_TRUE(ZipFileEntry(*file, "META-INF").isDirectory());
    std::string content;
    const char* reason = nullptr;
    EXPECT_TRUE(stored.read(&content, &reason));
    EXPECT_EQ(content, "stored");
}

TEST(ZipFileEntry, UseAfterReleaseIsALogicError) {
    auto file = inMemory(ziptest::build(runtimeArchive()).bytes);
    ZipFileEntry entry(*file, "stored.txt");
    entry.release();
    entry.release();
    try {
        entry.size();
        FAIL() << "no exception";
    } catch (const std::logic_error& e) {
        EXPECT_TRUE(endsWith(e.what(), "Can't use ZipFileEntry instance if relase() was called"));
    }
    std::string content;
    const char* reason = nullptr;
    EXPECT_THROW(entry.read(&content, &reason), std::logic_error);
}

namespace {

std::string seedPath(const std::string& name) {
    return testsupport::sourceDir() + "/fuzz/corpus/zip_fuzz/" + name;
}

std::string byteRamp() {
    std::string ramp;
    for (int i = 0; i < 1024; ++i) ramp += static_cast<char>(i % 256);
    return ramp;
}

} // namespace

TEST(ZipFile, ReadsArchivesWrittenByPython) {
    for (const char* seed : {"stored.zip", "deflated.zip"}) {
        ZipFile file(seedPath(seed));
        EXPECT_EQ(file.extractEntryAsUtf8String("META-INF/MANIFEST.MF", ZipFile::kManifestSizeLimit),
                  kManifest) << seed;
        EXPECT_EQ(file.extractEntryAsUtf8String("calyx/lang/Object.cx"), byteRamp()) << seed;
    }
    EXPECT_TRUE(endsWith(extractError(ZipFile(seedPath("stored.zip")), "META-INF"),
                         "is a directory and can't be extracted into memory"));
    // Deflated, a directory has a compressed size (an empty stream): it is
    // then extracted as an empty entry.
    EXPECT_EQ(ZipFile(seedPath("deflated.zip")).extractEntryAsUtf8String("META-INF"), "");
    ZipFile zip64(seedPath("zip64.zip"));
    EXPECT_EQ(zip64.extractEntryAsUtf8String("META-INF/MANIFEST.MF"), kManifest);
    std::string alpha;
    for (int i = 0; i < 20; ++i) alpha += "alpha";
    EXPECT_EQ(zip64.extractEntryAsUtf8String("a.txt"), alpha);
    EXPECT_EQ(ZipFile(seedPath("comment.zip")).extractEntryAsUtf8String("a.txt"), "a");
    EXPECT_TRUE(endsWith(extractError(ZipFile(seedPath("comment-only.zip")), "a.txt"), "a.txt) failed"));
}

TEST(ZipFile, SeedOfTheWrapAroundSize) {
    const std::string path = seedPath("size-wraparound.zip");
    ZipFile file(path);
    EXPECT_TRUE(endsWith(extractError(file, "META-INF/MANIFEST.MF"),
                         "ZIP_ReadEntry(" + path + ", META-INF/MANIFEST.MF) failed"));
    EXPECT_TRUE(endsWith(extractError(file, "META-INF/MANIFEST.MF", ZipFile::kManifestSizeLimit),
                         "archive is too large to be extracted into memory"));
}
