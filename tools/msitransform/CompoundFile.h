#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A structured storage file held in memory: a tree of storages whose leaves
// are byte streams. Names are UTF-16 code units, as stored in the file.
namespace cfb {

using Name = std::u16string;
using Bytes = std::vector<std::uint8_t>;
using ClassId = std::array<std::uint8_t, 16>;

struct Entry;

struct Storage {
    ClassId classId{};
    std::vector<Entry> children;

    const Entry* find(const Name& name) const;
    Entry* find(const Name& name);
};

struct Entry {
    Name name;
    bool isStorage = false;
    Bytes data;       // a stream's bytes
    Storage storage;  // a storage's children
};

// Parses a whole file; raises on anything malformed (bad header, chains that
// leave the file or loop, directory links out of range or cyclic).
Storage read(const Bytes& file);

// Serialises a tree as a version 3 file (512-byte sectors): streams below
// 4096 bytes go to the mini stream, the rest to their own sector chains.
Bytes write(const Storage& root);

Name toName(const std::string& ascii);

} // namespace cfb
