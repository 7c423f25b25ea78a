// Opens the input as a zip archive, then looks up and reads its entries
// through the class layer (with and without the manifest bound) and the core.
#include <cstdint>
#include <memory>
#include <string>

#include "MemoryZipSource.h"
#include "ZipFile.h"
#include "unzip.h"

namespace {

const size_t kMaxEntriesRead = 16;

void extract(const ZipFile& file, const std::string& name, uint64_t maxSize) {
    try {
        file.extractEntryAsUtf8String(name, maxSize);
    } catch (const std::exception&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<ZipFile> file;
    try {
        file = std::make_unique<ZipFile>(
            "fuzz.zip", std::make_unique<MemoryZipSource>(std::string(reinterpret_cast<const char*>(data), size)));
    } catch (const std::exception&) {
        return 0;
    }
    ZipArchive* zip = file->archive();
    for (size_t i = 0; i < kMaxEntriesRead; ++i) {
        std::unique_ptr<ZipEntry> entry = ZIP_GetNextEntry(zip, i);
        if (!entry) {
            break;
        }
        const std::string name = entry->name;
        char piece[64];
        const char* message = nullptr;
        ZIP_Read(zip, entry.get(), entry->size / 2, piece, sizeof(piece), &message);
        ZIP_FreeEntry(zip, std::move(entry));
        extract(*file, name, ZipFile::kManifestSizeLimit);
        extract(*file, name, ZipFile::kMaxEntrySize);
    }
    extract(*file, "META-INF/MANIFEST.MF", ZipFile::kManifestSizeLimit);
    extract(*file, "META-INF", ZipFile::kManifestSizeLimit);
    return 0;
}
