#include "ZipFile.h"

#include <algorithm>

#include "Log.h"
#include "TeguError.h"
#include "ZipFileEntry.h"
#include "unzip.h"

namespace {

const char* const kExtractName = "ZipFile::extractEntryAsUtf8String";

ZipArchive* checkOpened(ZipArchive* zip, const std::string& name, const char* message) {
    if (!zip) {
        JP_THROW_NAMED(std::runtime_error("ZIP_Open(" + name + ") failed. Error: " +
                                          (message ? message : "unknown")),
                       "ZipFile::ZipFile");
    }
    return zip;
}

ZipArchive* openPath(const std::string& path) {
    const char* message = nullptr;
    ZipArchive* zip = ZIP_Open(path.c_str(), &message);
    return checkOpened(zip, path, message);
}

ZipArchive* openSource(const std::string& name, std::unique_ptr<ZipSource> source) {
    const char* message = nullptr;
    ZipArchive* zip = ZIP_OpenSource(name, std::move(source), &message);
    return checkOpened(zip, name, message);
}

// The content alone: the buffer is exactly the entry's size, checked first.
std::string extractEntryInMemory(const ZipFile& file, ZipFileEntry& entry) {
    std::string content;
    const char* reason = nullptr;
    if (!entry.read(&content, &reason)) {
        LOG_WARNING("Reading " << entry.name() << " from " << file.name() << " failed: " << reason);
        JP_THROW_NAMED(std::runtime_error("ZIP_ReadEntry(" +
                                          (file.name().empty() ? "*" : file.name()) + ", " +
                                          (entry.name().empty() ? "*" : entry.name()) +
                                          ") failed"),
                       kExtractName);
    }
    return content;
}

} // namespace

ZipFile::ZipFile(const std::string& path) : name_(path), zip_(openPath(path)) {}

ZipFile::ZipFile(const std::string& name, std::unique_ptr<ZipSource> source)
    : name_(name), zip_(openSource(name, std::move(source))) {}

ZipFile::~ZipFile() {
    ZIP_Close(zip_);
}

std::string ZipFile::extractEntryAsUtf8String(const std::string& entryName,
                                              uint64_t maxSize) const {
    ZipFileEntry entry(*this, entryName);
    if (entry.size() > std::min(maxSize, kMaxEntrySize)) {
        JP_THROW_NAMED(std::runtime_error("Zip entry " + entryName + " from " + name_ +
                                          " archive is too large to be extracted into memory"),
                       kExtractName);
    }
    if (entry.name().empty()) {
        JP_THROW_NAMED(std::runtime_error("Unexpected empty name of zip entry " + entryName +
                                          " from " + name_),
                       kExtractName);
    }
    if (entry.isDirectory()) {
        JP_THROW_NAMED(std::runtime_error("Zip entry " + entryName + " from " + name_ +
                                          " archive is a directory and can't be extracted into memory"),
                       kExtractName);
    }
    std::string content = extractEntryInMemory(*this, entry);
    entry.release();
    return content;
}
