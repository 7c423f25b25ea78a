#include "CompoundFile.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>

#include "TeguError.h"

namespace cfb {

namespace {

constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;
constexpr std::uint32_t kMiniCutoff = 4096;
constexpr std::uint32_t kSector = 512;
constexpr std::uint32_t kMiniSector = 64;
constexpr std::uint32_t kHeaderDifat = 109;
constexpr std::size_t kMaxNesting = 32;
constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

enum EntryType : std::uint8_t { kEmpty = 0, kStorage = 1, kStream = 2, kRoot = 5 };

std::uint32_t get32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}
std::uint16_t get16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}
void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

char16_t upcase(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }

// The order of names inside one storage's sibling tree.
bool nameLess(const Name& a, const Name& b) {
    if (a.size() != b.size()) return a.size() < b.size();
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upcase(a[i]) != upcase(b[i])) return upcase(a[i]) < upcase(b[i]);
    }
    return false;
}

struct DirEntry {
    Name name;
    std::uint8_t type = kEmpty;
    std::uint32_t left = kNoEntry, right = kNoEntry, child = kNoEntry;
    ClassId classId{};
    std::uint32_t start = kEndOfChain;
    std::uint64_t size = 0;
};

class Reader {
public:
    explicit Reader(const Bytes& file) : file_(file) {}

    Storage read() {
        readHeader();
        readFat();
        const Bytes dirBytes = chain(fat_, get32(&file_[48]), sectorSize_, UINT64_MAX);
        for (std::size_t off = 0; off + 128 <= dirBytes.size(); off += 128) {
            dir_.push_back(parseEntry(&dirBytes[off]));
        }
        if (dir_.empty() || dir_[0].type != kRoot) JP_THROW_MSG("compound file has no root entry");
        const Bytes miniFatBytes = chain(fat_, get32(&file_[60]), sectorSize_, UINT64_MAX);
        for (std::size_t off = 0; off + 4 <= miniFatBytes.size(); off += 4) {
            miniFat_.push_back(get32(&miniFatBytes[off]));
        }
        miniStream_ = chain(fat_, dir_[0].start, sectorSize_, dir_[0].size);
        visited_.assign(dir_.size(), false);
        visited_[0] = true;
        Storage root;
        root.classId = dir_[0].classId;
        fillStorage(root, dir_[0].child, 0);
        return root;
    }

private:
    void readHeader() {
        if (file_.size() < kSector || std::memcmp(file_.data(), kSignature, 8) != 0) {
            JP_THROW_MSG("not a compound file");
        }
        const std::uint16_t shift = get16(&file_[30]);
        if (shift != 9 && shift != 12) JP_THROW_MSG("unsupported sector size");
        if (get16(&file_[32]) != 6) JP_THROW_MSG("unsupported mini sector size");
        sectorSize_ = 1u << shift;
        if (file_.size() < sectorSize_) JP_THROW_MSG("compound file shorter than its header");
        sectorCount_ = std::uint32_t((file_.size() - sectorSize_) / sectorSize_);
        if (get32(&file_[56]) != kMiniCutoff) JP_THROW_MSG("unsupported mini stream cutoff");
    }

    const std::uint8_t* sector(std::uint32_t index) const {
        if (index >= sectorCount_) JP_THROW_MSG("sector " + std::to_string(index) + " beyond the end of the file");
        return &file_[std::size_t(index + 1) * sectorSize_];
    }

    void readFat() {
        std::vector<std::uint32_t> fatSectors;
        const std::uint32_t fatCount = get32(&file_[44]);
        for (std::uint32_t i = 0; i < kHeaderDifat && fatSectors.size() < fatCount; ++i) {
            fatSectors.push_back(get32(&file_[76 + 4 * i]));
        }
        std::uint32_t difat = get32(&file_[68]);
        const std::uint32_t perSector = sectorSize_ / 4;
        for (std::uint32_t hops = 0; fatSectors.size() < fatCount; ++hops) {
            if (difat >= sectorCount_ || hops > sectorCount_) JP_THROW_MSG("broken DIFAT chain");
            const std::uint8_t* p = sector(difat);
            for (std::uint32_t i = 0; i + 1 < perSector && fatSectors.size() < fatCount; ++i) {
                fatSectors.push_back(get32(p + 4 * i));
            }
            difat = get32(p + sectorSize_ - 4);
        }
        for (std::uint32_t s : fatSectors) {
            const std::uint8_t* p = sector(s);
            for (std::uint32_t i = 0; i < perSector; ++i) fat_.push_back(get32(p + 4 * i));
        }
    }

    // Follows a chain through the given allocation table; a chain that loops
    // or leaves the table raises.
    Bytes chain(const std::vector<std::uint32_t>& table, std::uint32_t start, std::uint32_t unit,
                std::uint64_t size) const {
        Bytes out;
        std::uint32_t current = start;
        std::size_t hops = 0;
        while (current != kEndOfChain && out.size() < size) {
            if (current >= table.size() || ++hops > table.size()) JP_THROW_MSG("broken sector chain");
            if (&table == &fat_) {
                const std::uint8_t* p = sector(current);
                out.insert(out.end(), p, p + unit);
            } else {
                const std::size_t off = std::size_t(current) * unit;
                if (off + unit > miniStream_.size()) JP_THROW_MSG("mini sector beyond the mini stream");
                out.insert(out.end(), miniStream_.begin() + off, miniStream_.begin() + off + unit);
            }
            current = table[current];
        }
        if (size != UINT64_MAX) {
            if (out.size() < size) JP_THROW_MSG("stream shorter than its recorded size");
            out.resize(std::size_t(size));
        }
        return out;
    }

    DirEntry parseEntry(const std::uint8_t* p) const {
        DirEntry e;
        const std::uint16_t nameBytes = get16(p + 64);
        e.type = p[66];
        if (e.type == kEmpty) return e;
        if (nameBytes < 2 || nameBytes > 64 || nameBytes % 2) JP_THROW_MSG("bad directory entry name");
        for (std::uint16_t i = 0; i + 2 < nameBytes; i += 2) e.name.push_back(char16_t(get16(p + i)));
        e.left = get32(p + 68);
        e.right = get32(p + 72);
        e.child = get32(p + 76);
        std::memcpy(e.classId.data(), p + 80, 16);
        e.start = get32(p + 116);
        e.size = get32(p + 120);
        if (sectorSize_ == 4096) e.size |= std::uint64_t(get32(p + 124)) << 32;
        return e;
    }

    void fillStorage(Storage& storage, std::uint32_t first, std::size_t depth) {
        if (depth > kMaxNesting) JP_THROW_MSG("storages nested too deeply");
        std::vector<std::uint32_t> pending{first};
        while (!pending.empty()) {
            const std::uint32_t index = pending.back();
            pending.pop_back();
            if (index == kNoEntry) continue;
            if (index >= dir_.size() || visited_[index]) JP_THROW_MSG("bad directory link");
            visited_[index] = true;
            const DirEntry& d = dir_[index];
            if (d.type != kStorage && d.type != kStream) JP_THROW_MSG("bad directory entry type");
            pending.push_back(d.left);
            pending.push_back(d.right);
            Entry entry;
            entry.name = d.name;
            entry.isStorage = d.type == kStorage;
            if (entry.isStorage) {
                entry.storage.classId = d.classId;
                fillStorage(entry.storage, d.child, depth + 1);
            } else if (d.size < kMiniCutoff) {
                entry.data = chain(miniFat_, d.start, kMiniSector, d.size);
            } else {
                entry.data = chain(fat_, d.start, sectorSize_, d.size);
            }
            storage.children.push_back(std::move(entry));
        }
        std::sort(storage.children.begin(), storage.children.end(),
                  [](const Entry& a, const Entry& b) { return nameLess(a.name, b.name); });
    }

    const Bytes& file_;
    std::uint32_t sectorSize_ = kSector;
    std::uint32_t sectorCount_ = 0;
    std::vector<std::uint32_t> fat_, miniFat_;
    Bytes miniStream_;
    std::vector<DirEntry> dir_;
    std::vector<bool> visited_;
};

class Writer {
public:
    Bytes write(const Storage& root) {
        DirEntry rootEntry;
        rootEntry.name = toName("Root Entry");
        rootEntry.type = kRoot;
        rootEntry.classId = root.classId;
        dir_.push_back(rootEntry);
        addChildren(0, root);

        for (std::size_t i = 0; i < dir_.size(); ++i) {
            if (dir_[i].type != kStream) continue;
            const Bytes& data = *streams_[i];
            dir_[i].size = data.size();
            dir_[i].start = data.size() < kMiniCutoff ? appendMini(data) : appendChain(data);
        }
        dir_[0].size = mini_.size();
        dir_[0].start = appendChain(mini_);
        Bytes miniFatBytes;
        for (std::uint32_t v : miniFat_) appendWord(miniFatBytes, v);
        padWith(miniFatBytes, kSector, 0xFF);
        const std::uint32_t miniFatStart = appendChain(miniFatBytes);
        const std::uint32_t dirStart = appendChain(directoryBytes());
        return finish(miniFatStart, std::uint32_t(miniFatBytes.size() / kSector), dirStart);
    }

private:
    static void appendWord(Bytes& out, std::uint32_t v) {
        std::uint8_t b[4];
        put32(b, v);
        out.insert(out.end(), b, b + 4);
    }
    static void padWith(Bytes& out, std::size_t unit, std::uint8_t fill) {
        out.resize((out.size() + unit - 1) / unit * unit, fill);
    }

    void addChildren(std::uint32_t parent, const Storage& storage) {
        std::vector<const Entry*> sorted;
        for (const Entry& e : storage.children) sorted.push_back(&e);
        std::sort(sorted.begin(), sorted.end(),
                  [](const Entry* a, const Entry* b) { return nameLess(a->name, b->name); });
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            if (!nameLess(sorted[i - 1]->name, sorted[i]->name)) JP_THROW_MSG("two entries share a name");
        }
        std::vector<std::uint32_t> indices;
        for (const Entry* e : sorted) {
            if (e->name.empty() || e->name.size() > 31) JP_THROW_MSG("entry name length out of range");
            DirEntry d;
            d.name = e->name;
            d.type = e->isStorage ? kStorage : kStream;
            d.classId = e->storage.classId;
            indices.push_back(std::uint32_t(dir_.size()));
            dir_.push_back(d);
            streams_[indices.back()] = &e->data;
        }
        // A balanced tree whose deepest level is red and the rest black
        // satisfies the red-black rules readers may rely on.
        std::vector<std::size_t> depths(sorted.size());
        std::function<std::uint32_t(std::size_t, std::size_t, std::size_t)> build =
            [&](std::size_t lo, std::size_t hi, std::size_t depth) -> std::uint32_t {
            if (lo >= hi) return kNoEntry;
            const std::size_t mid = lo + (hi - lo) / 2;
            depths[mid] = depth;
            const std::uint32_t left = build(lo, mid, depth + 1);
            const std::uint32_t right = build(mid + 1, hi, depth + 1);
            dir_[indices[mid]].left = left;
            dir_[indices[mid]].right = right;
            return indices[mid];
        };
        dir_[parent].child = build(0, sorted.size(), 0);
        const std::size_t maxDepth = depths.empty() ? 0 : *std::max_element(depths.begin(), depths.end());
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            red_[indices[i]] = maxDepth > 0 && depths[i] == maxDepth;
            if (sorted[i]->isStorage) addChildren(indices[i], sorted[i]->storage);
        }
    }

    std::uint32_t appendChain(const Bytes& data) {
        if (data.empty()) return kEndOfChain;
        const std::uint32_t count = std::uint32_t((data.size() + kSector - 1) / kSector);
        const std::uint32_t start = std::uint32_t(fat_.size());
        for (std::uint32_t i = 0; i < count; ++i) fat_.push_back(i + 1 < count ? start + i + 1 : kEndOfChain);
        body_.insert(body_.end(), data.begin(), data.end());
        padWith(body_, kSector, 0);
        return start;
    }

    std::uint32_t appendMini(const Bytes& data) {
        if (data.empty()) return kEndOfChain;
        const std::uint32_t count = std::uint32_t((data.size() + kMiniSector - 1) / kMiniSector);
        const std::uint32_t start = std::uint32_t(miniFat_.size());
        for (std::uint32_t i = 0; i < count; ++i) {
            miniFat_.push_back(i + 1 < count ? start + i + 1 : kEndOfChain);
        }
        mini_.insert(mini_.end(), data.begin(), data.end());
        padWith(mini_, kMiniSector, 0);
        return start;
    }

    Bytes directoryBytes() const {
        Bytes out(((dir_.size() + 3) / 4) * 4 * 128, 0);
        for (std::size_t i = 0; i < out.size() / 128; ++i) {
            std::uint8_t* p = &out[i * 128];
            put32(p + 68, kNoEntry);
            put32(p + 72, kNoEntry);
            put32(p + 76, kNoEntry);
            if (i >= dir_.size()) continue;
            const DirEntry& d = dir_[i];
            for (std::size_t c = 0; c < d.name.size(); ++c) put16(p + 2 * c, d.name[c]);
            put16(p + 64, std::uint16_t(2 * (d.name.size() + 1)));
            p[66] = d.type;
            const auto red = red_.find(std::uint32_t(i));
            p[67] = red != red_.end() && red->second ? 0 : 1;
            put32(p + 68, d.left);
            put32(p + 72, d.right);
            put32(p + 76, d.child);
            std::memcpy(p + 80, d.classId.data(), 16);
            put32(p + 116, d.type == kStorage ? 0 : d.start);
            put32(p + 120, std::uint32_t(d.size));
        }
        return out;
    }

    Bytes finish(std::uint32_t miniFatStart, std::uint32_t miniFatCount, std::uint32_t dirStart) {
        const std::uint32_t used = std::uint32_t(fat_.size());
        std::uint32_t fatCount = 1, difatCount = 0;
        for (;;) {
            difatCount = fatCount > kHeaderDifat ? (fatCount - kHeaderDifat + 126) / 127 : 0;
            if (used + fatCount + difatCount <= fatCount * 128) break;
            ++fatCount;
        }
        for (std::uint32_t i = 0; i < fatCount; ++i) fat_.push_back(kFatSector);
        for (std::uint32_t i = 0; i < difatCount; ++i) fat_.push_back(kDifatSector);
        fat_.resize(std::size_t(fatCount) * 128, kFree);

        Bytes header(kSector, 0);
        std::memcpy(header.data(), kSignature, 8);
        put16(&header[24], 0x3E);
        put16(&header[26], 3);
        put16(&header[28], 0xFFFE);
        put16(&header[30], 9);
        put16(&header[32], 6);
        put32(&header[44], fatCount);
        put32(&header[48], dirStart);
        put32(&header[56], kMiniCutoff);
        put32(&header[60], miniFatCount ? miniFatStart : kEndOfChain);
        put32(&header[64], miniFatCount);
        put32(&header[68], difatCount ? used + fatCount : kEndOfChain);
        put32(&header[72], difatCount);
        for (std::uint32_t i = 0; i < kHeaderDifat; ++i) {
            put32(&header[76 + 4 * i], i < fatCount ? used + i : kFree);
        }
        Bytes out = header;
        out.insert(out.end(), body_.begin(), body_.end());
        for (std::uint32_t v : fat_) appendWord(out, v);
        for (std::uint32_t d = 0; d < difatCount; ++d) {
            for (std::uint32_t i = 0; i < 127; ++i) {
                const std::uint32_t fatIndex = kHeaderDifat + d * 127 + i;
                appendWord(out, fatIndex < fatCount ? used + fatIndex : kFree);
            }
            appendWord(out, d + 1 < difatCount ? used + fatCount + d + 1 : kEndOfChain);
        }
        return out;
    }

    std::vector<DirEntry> dir_;
    std::map<std::uint32_t, const Bytes*> streams_;
    std::map<std::uint32_t, bool> red_;
    std::vector<std::uint32_t> fat_, miniFat_;
    Bytes body_, mini_;
};

} // namespace

const Entry* Storage::find(const Name& name) const {
    for (const Entry& e : children) {
        if (e.name == name) return &e;
    }
    return nullptr;
}

Entry* Storage::find(const Name& name) {
    return const_cast<Entry*>(static_cast<const Storage*>(this)->find(name));
}

Storage read(const Bytes& file) { return Reader(file).read(); }

Bytes write(const Storage& root) { return Writer().write(root); }

Name toName(const std::string& ascii) { return Name(ascii.begin(), ascii.end()); }

} // namespace cfb
