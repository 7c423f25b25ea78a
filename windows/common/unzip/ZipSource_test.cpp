#include <gtest/gtest.h>

#include "FileZipSource.h"
#include "MemoryZipSource.h"
#include "ZipTestArchive.h"

namespace {

const std::string kBytes = "0123456789abcdef";

// Both sources keep to the same contract: exact reads inside, refusals outside.
void checkContract(ZipSource& source) {
    ASSERT_EQ(source.size(), kBytes.size());
    char buffer[16] = {};
    ASSERT_TRUE(source.readAt(10, buffer, 6));
    EXPECT_EQ(std::string(buffer, 6), "abcdef");
    EXPECT_TRUE(source.readAt(16, buffer, 0));
    EXPECT_FALSE(source.readAt(11, buffer, 6));
    EXPECT_FALSE(source.readAt(17, buffer, 0));
    EXPECT_FALSE(source.readAt(~uint64_t(0) - 2, buffer, 4));
}

// Hands out one byte per call, as a file may return short reads.
class TrickleSource : public ZipSource {
public:
    uint64_t size() const override { return kBytes.size(); }

protected:
    size_t readSome(uint64_t offset, void* buffer, size_t) override {
        *static_cast<char*>(buffer) = kBytes[offset];
        return 1;
    }
};

} // namespace

TEST(ZipSource, ShortReadsAreContinued) {
    TrickleSource source;
    checkContract(source);
}

TEST(ZipSource, MemoryReadsOnlyInside) {
    MemoryZipSource source(kBytes);
    checkContract(source);
}

TEST(ZipSource, FileReadsOnlyInside) {
    ziptest::TempFile file("source.bin", kBytes);
    std::string error;
    auto source = openFileZipSource(file.path(), &error);
    ASSERT_TRUE(source) << error;
    checkContract(*source);
}

TEST(ZipSource, MissingFileNamesThePath) {
    const std::string path = testsupport::tempDir() + "/no-such-archive.zip";
    std::string error;
    EXPECT_FALSE(openFileZipSource(path, &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
}

TEST(ZipSource, FolderIsNoFile) {
    std::string error;
    EXPECT_FALSE(openFileZipSource(testsupport::tempDir(), &error));
    EXPECT_FALSE(error.empty());
}
