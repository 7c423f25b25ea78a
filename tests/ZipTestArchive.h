#pragma once

// Writes zip archives byte by byte for the reader's tests, and patches
// fields of them to make broken or hostile ones.

#include <zlib.h>

#include "TestSupport.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace ziptest {

struct Member {
    std::string name;
    std::string data;
    int method = 0;  // 0 stored, 8 deflated
    uint16_t flags = 0;
    bool zip64 = false;  // sizes and offset through a zip64 extra field
};

struct Options {
    std::string prefix;  // bytes before the archive proper
    std::string comment;
    bool zip64End = false;  // the end record defers to a zip64 end record
};

struct Layout {
    std::string bytes;
    std::vector<size_t> local;    // offsets of the local headers in bytes
    std::vector<size_t> central;  // offsets of the central headers in bytes
    size_t end = 0;               // offset of the end record
};

inline void put16(std::string& b, size_t at, uint64_t v) {
    b.at(at) = static_cast<char>(v & 0xFF);
    b.at(at + 1) = static_cast<char>((v >> 8) & 0xFF);
}
inline void put32(std::string& b, size_t at, uint64_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, (v >> 16) & 0xFFFF);
}
inline void put64(std::string& b, size_t at, uint64_t v) {
    put32(b, at, v & 0xFFFFFFFF);
    put32(b, at + 4, v >> 32);
}
inline void add16(std::string& b, uint64_t v) { b.append(2, '\0'); put16(b, b.size() - 2, v); }
inline void add32(std::string& b, uint64_t v) { b.append(4, '\0'); put32(b, b.size() - 4, v); }
inline void add64(std::string& b, uint64_t v) { b.append(8, '\0'); put64(b, b.size() - 8, v); }

// A raw deflate stream (no zlib header), as zip entries hold it.
inline std::string deflateRaw(const std::string& data) {
    z_stream s{};
    if (deflateInit2(&s, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    std::string out(deflateBound(&s, static_cast<uLong>(data.size())), '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    s.avail_in = static_cast<uInt>(data.size());
    s.next_out = reinterpret_cast<Bytef*>(&out[0]);
    s.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    if (status != Z_STREAM_END) throw std::runtime_error("deflate");
    return out;
}

inline Layout build(const std::vector<Member>& members, const Options& options = Options()) {
    Layout layout;
    std::string& b = layout.bytes;
    b = options.prefix;
    const size_t base = b.size();
    std::vector<std::string> stored;
    for (const Member& m : members) {
        stored.push_back(m.method == 8 ? deflateRaw(m.data) : m.data);
        const std::string& body = stored.back();
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(m.data.data()),
                                static_cast<uInt>(m.data.size()));
        layout.local.push_back(b.size());
        add32(b, 0x04034b50);
        add16(b, m.zip64 ? 45 : 20);
        add16(b, m.flags);
        add16(b, m.method);
        add32(b, 0);
        add32(b, crc);
        add32(b, m.zip64 ? 0xFFFFFFFF : body.size());
        add32(b, m.zip64 ? 0xFFFFFFFF : m.data.size());
        add16(b, m.name.size());
        add16(b, m.zip64 ? 20 : 0);
        b += m.name;
        if (m.zip64) {
            add16(b, 1);
            add16(b, 16);
            add64(b, m.data.size());
            add64(b, body.size());
        }
        b += body;
    }
    const size_t cenStart = b.size();
    for (size_t i = 0; i < members.size(); ++i) {
        const Member& m = members[i];
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(m.data.data()),
                                static_cast<uInt>(m.data.size()));
        layout.central.push_back(b.size());
        add32(b, 0x02014b50);
        add16(b, m.zip64 ? 45 : 20);
        add16(b, m.zip64 ? 45 : 20);
        add16(b, m.flags);
        add16(b, m.method);
        add32(b, 0);
        add32(b, crc);
        add32(b, m.zip64 ? 0xFFFFFFFF : stored[i].size());
        add32(b, m.zip64 ? 0xFFFFFFFF : m.data.size());
        add16(b, m.name.size());
        add16(b, m.zip64 ? 28 : 0);
        add16(b, 0);
        add16(b, 0);
        add16(b, 0);
        add32(b, 0);
        add32(b, m.zip64 ? 0xFFFFFFFF : layout.local[i] - base);
        b += m.name;
        if (m.zip64) {
            add16(b, 1);
            add16(b, 24);
            add64(b, m.data.size());
            add64(b, stored[i].size());
            add64(b, layout.local[i] - base);
        }
    }
    const size_t cenLength = b.size() - cenStart;
    if (options.zip64End) {
        const size_t end64 = b.size();
        add32(b, 0x06064b50);
        add64(b, 44);
        add16(b, 45);
        add16(b, 45);
        add32(b, 0);
        add32(b, 0);
        add64(b, members.size());
        add64(b, members.size());
        add64(b, cenLength);
        add64(b, cenStart - base);
        add32(b, 0x07064b50);
        add32(b, 0);
        add64(b, end64);
        add32(b, 1);
    }
    layout.end = b.size();
    add32(b, 0x06054b50);
    add16(b, 0);
    add16(b, 0);
    add16(b, options.zip64End ? 0xFFFF : members.size());
    add16(b, options.zip64End ? 0xFFFF : members.size());
    add32(b, options.zip64End ? 0xFFFFFFFF : cenLength);
    add32(b, options.zip64End ? 0xFFFFFFFF : cenStart - base);
    add16(b, options.comment.size());
    b += options.comment;
    return layout;
}

// A file in the test's temporary folder, removed again at scope exit.
class TempFile {
public:
    TempFile(const std::string& name, const std::string& bytes)
        : path_(testsupport::tempDir() + "/cxzip-" + std::to_string(std::random_device()()) + "-" + name) {
        write(bytes);
    }
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    void write(const std::string& bytes) const {
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
    }

private:
    const std::string path_;
};

} // namespace ziptest
