#include <gtest/gtest.h>

#include "MemoryZipSource.h"
#include "ZipInflater.h"
#include "ZipTestArchive.h"

namespace {

struct Outcome {
    bool ok;
    std::string content;
    std::string message;
};

// Inflates the only entry of bytes into a buffer of its declared size.
Outcome inflateOnly(const std::string& bytes) {
    ZipArchive zip("test.zip", std::make_unique<MemoryZipSource>(bytes));
    EXPECT_EQ(zip.open(), nullptr);
    auto entry = zip.entryAt(0);
    Outcome outcome;
    outcome.content.assign(entry->size, '\0');
    const char* message = nullptr;
    outcome.ok = inflateFully(zip, *entry, reinterpret_cast<unsigned char*>(&outcome.content[0]), &message);
    outcome.message = message ? message : "";
    return outcome;
}

std::string sampleText() {
    std::string text;
    for (int i = 0; text.size() < 300000; ++i) {
        text += "line " + std::to_string(i * 7919 % 100003) + " of the sample\n";
    }
    return text;
}

const size_t kSizeField = 24;
const size_t kCompressedSizeField = 20;

} // namespace

TEST(ZipInflater, InflatesAcrossManyInputPieces) {
    const std::string text = sampleText();
    const ziptest::Layout zip = ziptest::build({{"sample.txt", text, 8}});
    ASSERT_GT(ziptest::deflateRaw(text).size(), 3 * 4096u);
    const Outcome outcome = inflateOnly(zip.bytes);
    EXPECT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(outcome.content, text);
}

TEST(ZipInflater, StreamMustEndAtTheDeclaredSize) {
    const ziptest::Layout zip = ziptest::build({{"e", sampleText(), 8}});
    const size_t size = sampleText().size();
    for (const size_t declared : {size + 1, size - 1, size_t(10)}) {
        std::string bytes = zip.bytes;
        ziptest::put32(bytes, zip.central[0] + kSizeField, declared);
        const Outcome outcome = inflateOnly(bytes);
        EXPECT_FALSE(outcome.ok) << declared;
        EXPECT_EQ(outcome.message, "inflateFully: Unexpected end of stream") << declared;
    }
}

TEST(ZipInflater, StreamMustEndAtTheCompressedSize) {
    const ziptest::Layout zip = ziptest::build({{"e", "some text to compress", 8}});
    std::string bytes = zip.bytes;
    const size_t compressed = ziptest::deflateRaw("some text to compress").size();
    ziptest::put32(bytes, zip.central[0] + kCompressedSizeField, compressed + 5);
    EXPECT_EQ(inflateOnly(bytes).message, "inflateFully: Unexpected end of stream");
}

TEST(ZipInflater, TruncatedStreamIsAnEndOfFile) {
    const std::string text = sampleText();
    const ziptest::Layout zip = ziptest::build({{"e", text, 8}});
    std::string bytes = zip.bytes;
    ziptest::put32(bytes, zip.central[0] + kCompressedSizeField, ziptest::deflateRaw(text).size() / 2);
    const Outcome outcome = inflateOnly(bytes);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "inflateFully: Unexpected end of file");
}

TEST(ZipInflater, CorruptDataFailsWithoutHanging) {
    const ziptest::Layout zip = ziptest::build({{"e", sampleText(), 8}});
    std::string bytes = zip.bytes;
    const size_t data = zip.local[0] + 30 + 1;
    for (size_t i = 0; i < 64; ++i) bytes[data + i] = '\xFF';
    const Outcome outcome = inflateOnly(bytes);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "inflateFully: invalid compressed data");
}

TEST(ZipInflater, ReadFailureIsPassedOn) {
    ziptest::Layout zip = ziptest::build({{"e", "text", 8}});
    zip.bytes[zip.local[0]] = 'X';
    EXPECT_EQ(inflateOnly(zip.bytes).message, "invalid LOC header (bad signature)");
}
