#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CompoundFile.h"

// The tables of an installer database (or transform) storage, read from its
// string pool and column-ordered table streams.
namespace msidb {

// Stream names inside the storage: table streams carry a marker, and pairs
// of name characters are packed into one code unit.
cfb::Name encodeStreamName(const std::string& name, bool table);
std::string decodeStreamName(const cfb::Name& name, bool* table);

struct Column {
    std::string name;
    unsigned type = 0;

    bool isKey() const { return type & 0x2000; }
    bool isString() const { return (type & 0x0800) && !isBinary(); }
    bool isBinary() const { return (type & ~0x1000u) == 0x0900; }
    // Bytes of one value in a table stream.
    unsigned width(unsigned stringRefBytes) const;
};

// One value: integers keep their stored form (0 is null), strings are UTF-8,
// binary values hold the bytes of their stream.
struct Cell {
    std::uint32_t stored = 0;
    bool null = true;
    std::string text;

    bool operator==(const Cell& o) const { return null == o.null && stored == o.stored && text == o.text; }
    bool operator!=(const Cell& o) const { return !(*this == o); }
};

using Row = std::vector<Cell>;

struct Table {
    std::string name;
    std::vector<Column> columns;
    std::vector<Row> rows;

    // Text of the row's key values joined by '.', as binary stream names use.
    std::string keyText(const Row& row) const;
};

class Database {
public:
    // Raises on a storage that is not a readable database.
    explicit Database(cfb::Storage storage);

    const cfb::Storage& storage() const { return storage_; }
    unsigned codepage() const { return codepage_; }
    const std::vector<Table>& tables() const { return tables_; }
    const Table* table(const std::string& name) const;
    // A Property table value; raises when absent.
    std::string property(const std::string& name) const;

private:
    void readStrings();
    const std::string& string(std::uint32_t id) const;
    std::vector<std::vector<std::uint32_t>> readColumns(const std::string& table,
                                                        const std::vector<Column>& columns) const;
    Table readTable(const std::string& name, std::vector<Column> columns) const;

    cfb::Storage storage_;
    unsigned codepage_ = 0;
    unsigned stringRefBytes_ = 2;
    std::vector<std::string> strings_;
    std::vector<Table> tables_;
};

} // namespace msidb
