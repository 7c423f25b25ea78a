#include "InstallerDatabase.h"

#include <algorithm>
#include <map>

#include "TeguError.h"
#include "TextCodec.h"

namespace msidb {

namespace {

constexpr char16_t kTableMarker = 0x4840;
constexpr char16_t kPairBase = 0x3800;
constexpr char16_t kSingleBase = 0x4800;
const char kCharset[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz._";

int charIndex(char c) {
    for (int i = 0; i < 64; ++i) {
        if (kCharset[i] == c) return i;
    }
    return -1;
}

std::uint32_t readLe(const cfb::Bytes& b, std::size_t off, unsigned width) {
    std::uint32_t v = 0;
    for (unsigned i = 0; i < width; ++i) v |= std::uint32_t(b[off + i]) << (8 * i);
    return v;
}

const cfb::Bytes& stream(const cfb::Storage& storage, const std::string& name) {
    static const cfb::Bytes empty;
    const cfb::Entry* e = storage.find(encodeStreamName(name, true));
    return e && !e->isStorage ? e->data : empty;
}

} // namespace

cfb::Name encodeStreamName(const std::string& name, bool table) {
    cfb::Name out;
    if (table) out.push_back(kTableMarker);
    for (std::size_t i = 0; i < name.size(); ++i) {
        const int first = charIndex(name[i]);
        if (first < 0) {
            out.push_back(char16_t(static_cast<unsigned char>(name[i])));
            continue;
        }
        const int second = i + 1 < name.size() ? charIndex(name[i + 1]) : -1;
        if (second < 0) {
            out.push_back(char16_t(kSingleBase + first));
        } else {
            out.push_back(char16_t(kPairBase + first + (second << 6)));
            ++i;
        }
    }
    return out;
}

std::string decodeStreamName(const cfb::Name& name, bool* table) {
    std::string out;
    *table = !name.empty() && name[0] == kTableMarker;
    for (std::size_t i = *table ? 1 : 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (c >= kPairBase && c < kSingleBase) {
            out.push_back(kCharset[(c - kPairBase) & 0x3F]);
            out.push_back(kCharset[((c - kPairBase) >> 6) & 0x3F]);
        } else if (c >= kSingleBase && c < kTableMarker) {
            out.push_back(kCharset[c - kSingleBase]);
        } else if (c < 0x80) {
            out.push_back(char(c));
        } else {
            out += "?";
        }
    }
    return out;
}

unsigned Column::width(unsigned stringRefBytes) const {
    if (isBinary()) return 2;
    if (type & 0x0800) return stringRefBytes;
    return (type & 0xFF) <= 2 ? 2 : 4;
}

std::string Table::keyText(const Row& row) const {
    std::string out;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!columns[i].isKey()) continue;
        if (!out.empty()) out += '.';
        const Column& c = columns[i];
        if (c.isString()) {
            out += row[i].text;
        } else if (!row[i].null) {
            const std::int64_t value = c.width(2) == 2 ? std::int64_t(row[i].stored) - 0x8000
                                                        : std::int32_t(row[i].stored ^ 0x80000000u);
            out += std::to_string(value);
        }
    }
    return out;
}

Database::Database(cfb::Storage storage) : storage_(std::move(storage)) {
    readStrings();
    const std::vector<Column> tablesSchema = {{"Name", 0x2D40}};
    const std::vector<Column> columnsSchema = {
        {"Table", 0x2D40}, {"Number", 0x2502}, {"Name", 0x0D40}, {"Type", 0x0502}};
    const Table tableList = readTable("_Tables", tablesSchema);
    const Table columnList = readTable("_Columns", columnsSchema);
    std::map<std::string, std::map<int, Column>> schemas;
    for (const Row& r : columnList.rows) {
        if (r[1].null || r[3].null) JP_THROW_MSG("column of table " + r[0].text + " without number or type");
        const int number = int(r[1].stored) - 0x8000;
        if (number < 1 || number > 32) JP_THROW_MSG("column number out of range in table " + r[0].text);
        schemas[r[0].text][number] = Column{r[2].text, (r[3].stored - 0x8000) & 0xFFFF};
    }
    for (const Row& r : tableList.rows) {
        std::vector<Column> columns;
        for (const auto& [number, column] : schemas[r[0].text]) {
            if (number != int(columns.size()) + 1) JP_THROW_MSG("gap in the columns of table " + r[0].text);
            columns.push_back(column);
        }
        if (columns.empty()) JP_THROW_MSG("table " + r[0].text + " has no columns");
        tables_.push_back(readTable(r[0].text, columns));
    }
}

void Database::readStrings() {
    const cfb::Bytes& pool = stream(storage_, "_StringPool");
    const cfb::Bytes& data = stream(storage_, "_StringData");
    if (pool.size() < 4 || pool.size() % 4) JP_THROW_MSG("missing or malformed string pool");
    const std::uint32_t header = readLe(pool, 0, 4);
    stringRefBytes_ = header & 0x80000000u ? 3 : 2;
    codepage_ = header & 0x7FFFFFFF;
    strings_.assign(1, std::string());
    std::size_t offset = 0;
    for (std::size_t at = 4; at < pool.size(); at += 4) {
        std::uint32_t length = readLe(pool, at, 2);
        const std::uint32_t refs = readLe(pool, at + 2, 2);
        if (length == 0 && refs != 0) {
            // A long string: the next entry holds its 32-bit length.
            if (at + 8 > pool.size()) JP_THROW_MSG("string pool ends inside a long entry");
            at += 4;
            length = readLe(pool, at, 2) | (readLe(pool, at + 2, 2) << 16);
        }
        if (offset + length > data.size()) JP_THROW_MSG("string pool overruns the string data");
        const std::string raw(data.begin() + offset, data.begin() + offset + length);
        strings_.push_back(text::toUtf8(raw, codepage_));
        offset += length;
    }
    if (offset != data.size()) JP_THROW_MSG("string data longer than the string pool says");
}

const std::string& Database::string(std::uint32_t id) const {
    if (id >= strings_.size()) JP_THROW_MSG("string id " + std::to_string(id) + " out of range");
    return strings_[id];
}

std::vector<std::vector<std::uint32_t>> Database::readColumns(const std::string& table,
                                                              const std::vector<Column>& columns) const {
    const cfb::Bytes& raw = stream(storage_, table);
    std::size_t rowBytes = 0;
    for (const Column& c : columns) rowBytes += c.width(stringRefBytes_);
    if (raw.size() % rowBytes) JP_THROW_MSG("table " + table + " stream is not a whole number of rows");
    const std::size_t rows = raw.size() / rowBytes;
    std::vector<std::vector<std::uint32_t>> values(rows, std::vector<std::uint32_t>(columns.size()));
    std::size_t offset = 0;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const unsigned w = columns[c].width(stringRefBytes_);
        for (std::size_t r = 0; r < rows; ++r, offset += w) values[r][c] = readLe(raw, offset, w);
    }
    return values;
}

Table Database::readTable(const std::string& name, std::vector<Column> columns) const {
    Table table{name, std::move(columns), {}};
    for (const auto& values : readColumns(name, table.columns)) {
        Row row(table.columns.size());
        for (std::size_t c = 0; c < row.size(); ++c) {
            const Column& column = table.columns[c];
            if (column.isString()) {
                row[c].stored = 0;
                row[c].text = string(values[c]);
                row[c].null = values[c] == 0;
            } else if (!column.isBinary()) {
                row[c].stored = values[c];
                row[c].null = values[c] == 0;
            }
        }
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (!table.columns[c].isBinary()) continue;
            const cfb::Entry* e = storage_.find(encodeStreamName(name + "." + table.keyText(row), false));
            row[c].null = !e;
            if (e) row[c].text.assign(e->data.begin(), e->data.end());
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

const Table* Database::table(const std::string& name) const {
    for (const Table& t : tables_) {
        if (t.name == name) return &t;
    }
    return nullptr;
}

std::string Database::property(const std::string& name) const {
    const Table* t = table("Property");
    if (t) {
        for (const Row& r : t->rows) {
            if (r[0].text == name) return r[1].text;
        }
    }
    JP_THROW_MSG("the database has no property " + name);
}

} // namespace msidb
