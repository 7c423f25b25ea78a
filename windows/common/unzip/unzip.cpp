#include "unzip.h"

#include <cstdio>
#include <list>
#include <mutex>

#include "FileZipSource.h"
#include "Log.h"

namespace {

const size_t kMaxPathLength = 259;
const unsigned kMaxReferences = 0xFFFF;

std::mutex& cacheLock() {
    static std::mutex lock;
    return lock;
}

// Open archives, most recently opened first.
std::list<ZipArchive*>& openArchives() {
    static std::list<ZipArchive*> archives;
    return archives;
}

ZipArchive* findOpenArchive(const std::string& path) {
    for (ZipArchive* zip : openArchives()) {
        if (zip->name() == path && zip->references < kMaxReferences) {
            return zip;
        }
    }
    return nullptr;
}

// Called with the cache lock held: a second caller for the same path waits
// and then shares the archive instead of parsing the file again.
ZipArchive* openShared(const std::string& path, const char** reason) {
    if (path.size() > kMaxPathLength) {
        *reason = "zip file name too long";
        return nullptr;
    }
    if (ZipArchive* zip = findOpenArchive(path)) {
        ++zip->references;
        return zip;
    }
    std::string error;
    std::unique_ptr<ZipSource> source = openFileZipSource(path, &error);
    if (!source) {
        LOG_WARNING(error);
        *reason = "error opening zip file";
        return nullptr;
    }
    if (source->size() == 0) {
        *reason = "zip file is empty";
        return nullptr;
    }
    ZipArchive* zip = ZIP_OpenSource(path, std::move(source), reason);
    if (zip) {
        zip->cached = true;
        openArchives().push_front(zip);
    }
    return zip;
}

} // namespace

ZipArchive* ZIP_Open(const char* path, const char** message) {
    *message = nullptr;
    const char* reason = nullptr;
    ZipArchive* zip;
    {
        std::lock_guard<std::mutex> guard(cacheLock());
        zip = openShared(path, &reason);
    }
    if (!zip) {
        LOG_WARNING(path << ": " << reason);
        *message = "Zip file open error";
    }
    return zip;
}

ZipArchive* ZIP_OpenSource(const std::string& name, std::unique_ptr<ZipSource> source,
                           const char** message) {
    *message = nullptr;
    auto zip = std::make_unique<ZipArchive>(name, std::move(source));
    if (const char* reason = zip->open()) {
        *message = reason;
        return nullptr;
    }
    return zip.release();
}

void ZIP_Close(ZipArchive* zip) {
    if (!zip) {
        return;
    }
    {
        std::lock_guard<std::mutex> guard(cacheLock());
        if (--zip->references > 0) {
            return;
        }
        if (zip->cached) {
            openArchives().remove(zip);
        }
    }
    delete zip;
}

std::unique_ptr<ZipEntry> ZIP_FindEntry(ZipArchive* zip, const std::string& name) {
    return zip->findEntry(name);
}

std::unique_ptr<ZipEntry> ZIP_GetNextEntry(ZipArchive* zip, size_t index) {
    return zip->entryAt(index);
}

void ZIP_FreeEntry(ZipArchive* zip, std::unique_ptr<ZipEntry> entry) {
    if (entry) {
        zip->releaseEntry(std::move(entry));
    }
}

int64_t ZIP_Read(ZipArchive* zip, ZipEntry* entry, uint64_t offset, void* buffer,
                 size_t length, const char** message) {
    *message = nullptr;
    return zip->read(*entry, offset, buffer, length, message);
}

bool ZIP_ReadEntry(ZipArchive* zip, ZipEntry* entry, std::string* content,
                   const char** message) {
    const char* reason = nullptr;
    if (zip->readEntry(*entry, content, &reason)) {
        return true;
    }
    std::fprintf(stderr, "%s: %s\n", zip->name().c_str(), reason);
    if (message) {
        *message = reason;
    }
    return false;
}
