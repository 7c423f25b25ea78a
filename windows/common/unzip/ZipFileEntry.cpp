#include "ZipFileEntry.h"

#include <stdexcept>

#include "TeguError.h"
#include "ZipFile.h"
#include "unzip.h"

ZipFileEntry::ZipFileEntry(const ZipFile& file, const std::string& name)
    : file_(file), entry_(ZIP_FindEntry(file.archive(), name)) {
    if (!entry_) {
        JP_THROW_NAMED(std::runtime_error("ZIP_FindEntry(" + file.name() + ", " + name + ") failed"),
                       "`anonymous-namespace'::ZipFileEntry::ZipFileEntry");
    }
}

ZipFileEntry::~ZipFileEntry() {
    release();
}

ZipEntry& ZipFileEntry::entry() const {
    if (!entry_) {
        JP_THROW(std::logic_error("Can't use ZipFileEntry instance if relase() was called"));
    }
    return *entry_;
}

const std::string& ZipFileEntry::name() const {
    return entry().name;
}

uint64_t ZipFileEntry::size() const {
    return entry().size;
}

uint64_t ZipFileEntry::compressedSize() const {
    return entry().compressedSize;
}

bool ZipFileEntry::isDirectory() const {
    const ZipEntry& e = entry();
    return e.size == 0 && e.compressedSize == 0 && !e.name.empty() && e.name.back() == '/';
}

bool ZipFileEntry::read(std::string* content, const char** reason) const {
    return ZIP_ReadEntry(file_.archive(), &entry(), content, reason);
}

void ZipFileEntry::release() {
    if (entry_) {
        ZIP_FreeEntry(file_.archive(), std::move(entry_));
    }
}
