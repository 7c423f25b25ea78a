#include "TransformBuilder.h"

#include <map>

#include "SummaryInfo.h"
#include "TeguError.h"
#include "TextCodec.h"

namespace transform {

namespace {

const cfb::ClassId kTransformClass = {0x82, 0x10, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00,
                                      0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint16_t kDeleteMask = 0;

using Key = std::vector<std::tuple<bool, std::uint32_t, std::string>>;

Key keyOf(const msidb::Table& table, const msidb::Row& row) {
    Key key;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (table.columns[c].isKey()) key.emplace_back(row[c].null, row[c].stored, row[c].text);
    }
    return key;
}

// One row operation: its mask and the columns it carries.
struct Operation {
    const msidb::Table* table;
    std::uint16_t mask;
    const msidb::Row* row;
    std::vector<std::size_t> columns;
};

class Builder {
public:
    Builder(const msidb::Database& base, const msidb::Database& target, const Options& options)
        : base_(base), target_(target), options_(options) {}

    cfb::Storage build() {
        checkSchemas();
        for (const msidb::Table& t : target_.tables()) diffTable(*base_.table(t.name), t);
        const unsigned refBytes = strings_.size() + 1 > 0xFFFF ? 3 : 2;
        std::map<std::string, cfb::Bytes> tableStreams;
        for (const Operation& op : operations_) appendOperation(tableStreams[op.table->name], op, refBytes);

        cfb::Storage out;
        out.classId = kTransformClass;
        for (auto& [name, bytes] : tableStreams) out.children.push_back(stream(name, true, std::move(bytes)));
        addStringPool(out, refBytes);
        out.children.push_back({suminfo::streamName(), false, suminfo::serialise(summary()), {}});
        return out;
    }

private:
    static cfb::Entry stream(const std::string& name, bool table, cfb::Bytes bytes) {
        return {msidb::encodeStreamName(name, table), false, std::move(bytes), {}};
    }

    void checkSchemas() const {
        for (const msidb::Table& t : target_.tables()) {
            const msidb::Table* b = base_.table(t.name);
            if (!b) JP_THROW_MSG("table " + t.name + " is new; adding tables is not supported");
            bool same = b->columns.size() == t.columns.size();
            for (std::size_t c = 0; same && c < t.columns.size(); ++c) {
                same = b->columns[c].name == t.columns[c].name && b->columns[c].type == t.columns[c].type;
            }
            if (!same) JP_THROW_MSG("the columns of table " + t.name + " differ; schema changes are not supported");
        }
        for (const msidb::Table& b : base_.tables()) {
            if (!target_.table(b.name)) JP_THROW_MSG("table " + b.name + " is dropped; dropping tables is not supported");
        }
    }

    void diffTable(const msidb::Table& base, const msidb::Table& target) {
        std::map<Key, const msidb::Row*> baseRows, targetRows;
        for (const msidb::Row& r : base.rows) baseRows[keyOf(base, r)] = &r;
        for (const msidb::Row& r : target.rows) targetRows[keyOf(target, r)] = &r;
        const std::size_t count = target.columns.size();
        for (const auto& [key, row] : baseRows) {
            if (!targetRows.count(key)) add({&target, kDeleteMask, row, keyColumns(target)});
        }
        for (const auto& [key, row] : targetRows) {
            const auto found = baseRows.find(key);
            if (found == baseRows.end()) {
                std::vector<std::size_t> all(count);
                for (std::size_t c = 0; c < count; ++c) all[c] = c;
                add({&target, std::uint16_t(1 | (count << 8)), row, all});
                continue;
            }
            std::vector<std::size_t> changed;
            for (std::size_t c = 0; c < count; ++c) {
                if ((*row)[c] != (*found->second)[c]) changed.push_back(c);
            }
            if (changed.empty()) continue;
            add(updateOperation(target, row, changed));
        }
    }

    static std::vector<std::size_t> keyColumns(const msidb::Table& t) {
        std::vector<std::size_t> keys;
        for (std::size_t c = 0; c < t.columns.size(); ++c) {
            if (t.columns[c].isKey()) keys.push_back(c);
        }
        return keys;
    }

    // A mask names changed columns by bit; past the sixteenth column, or
    // when the first column is no key, the whole row is written instead.
    static Operation updateOperation(const msidb::Table& t, const msidb::Row* row,
                                     const std::vector<std::size_t>& changed) {
        std::uint16_t mask = 0;
        bool fits = t.columns[0].isKey();
        for (std::size_t c : changed) {
            if (c >= 16) fits = false;
            else mask |= std::uint16_t(1u << c);
        }
        std::vector<std::size_t> columns;
        for (std::size_t c = 0; c < t.columns.size(); ++c) {
            if (!fits || t.columns[c].isKey() || (mask & (1u << c))) columns.push_back(c);
        }
        if (!fits) mask = std::uint16_t(1 | (t.columns.size() << 8));
        return {&t, mask, row, columns};
    }

    void add(Operation op) {
        for (std::size_t c : op.columns) {
            const msidb::Column& column = op.table->columns[c];
            if (column.isBinary()) {
                JP_THROW_MSG("row " + op.table->keyText(*op.row) + " of table " + op.table->name +
                             " carries binary data; binary changes are not supported");
            }
            if (column.isString() && !(*op.row)[c].text.empty()) intern((*op.row)[c].text);
        }
        operations_.push_back(std::move(op));
    }

    void intern(const std::string& s) {
        const auto [it, inserted] = ids_.emplace(s, std::uint32_t(strings_.size() + 1));
        if (inserted) {
            strings_.push_back(text::fromUtf8(s, options_.codepage));
            refs_.push_back(0);
        }
        ++refs_[it->second - 1];
    }

    void appendOperation(cfb::Bytes& out, const Operation& op, unsigned refBytes) const {
        auto put = [&out](std::uint32_t v, unsigned width) {
            for (unsigned i = 0; i < width; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
        };
        put(op.mask, 2);
        for (std::size_t c : op.columns) {
            const msidb::Column& column = op.table->columns[c];
            const msidb::Cell& cell = (*op.row)[c];
            // An empty string is stored as null: a pool entry of length 0
            // with references would read as the head of a long string.
            if (column.isString()) put(cell.text.empty() ? 0 : ids_.at(cell.text), refBytes);
            else put(cell.stored, column.width(refBytes));
        }
    }

    void addStringPool(cfb::Storage& out, unsigned refBytes) const {
        cfb::Bytes pool, data;
        auto put16 = [&pool](std::uint32_t v) {
            pool.push_back(std::uint8_t(v));
            pool.push_back(std::uint8_t(v >> 8));
        };
        const std::uint32_t header = options_.codepage | (refBytes == 3 ? 0x80000000u : 0);
        put16(header & 0xFFFF);
        put16(header >> 16);
        for (std::size_t i = 0; i < strings_.size(); ++i) {
            const std::uint32_t length = std::uint32_t(strings_[i].size());
            const std::uint32_t refs = std::min<std::uint32_t>(refs_[i], 0xFFFF);
            if (length > 0xFFFF) {
                put16(0);
                put16(refs);
                put16(length & 0xFFFF);
                put16(length >> 16);
            } else {
                put16(length);
                put16(refs);
            }
            data.insert(data.end(), strings_[i].begin(), strings_[i].end());
        }
        out.children.push_back(stream("_StringPool", true, std::move(pool)));
        out.children.push_back(stream("_StringData", true, std::move(data)));
    }

    suminfo::Properties summary() const {
        const cfb::Entry* baseSummary = base_.storage().find(suminfo::streamName());
        if (!baseSummary) JP_THROW_MSG("the base database has no summary information");
        const suminfo::Properties baseInfo = suminfo::parse(baseSummary->data);
        const std::string baseTemplate = suminfo::textOf(baseInfo, suminfo::kTemplate);
        const std::string platform = baseTemplate.substr(0, baseTemplate.find(';'));
        auto product = [](const msidb::Database& db) {
            return db.property("ProductCode") + db.property("ProductVersion");
        };
        suminfo::Properties out;
        out[suminfo::kCodepage] = suminfo::int16(1252);
        out[suminfo::kTitle] = suminfo::text("Transform");
        out[suminfo::kTemplate] = suminfo::text(baseTemplate);
        out[suminfo::kLastAuthor] = suminfo::text(platform + ";" + target_.property("ProductLanguage"));
        out[suminfo::kRevision] = suminfo::text(product(base_) + ";" + product(target_) + ";" +
                                               base_.property("UpgradeCode"));
        out[suminfo::kPageCount] = suminfo::int32(suminfo::intOf(baseInfo, suminfo::kPageCount));
        out[suminfo::kCharCount] =
            suminfo::int32(std::int32_t((options_.validation << 16) | options_.errorConditions));
        return out;
    }

    const msidb::Database& base_;
    const msidb::Database& target_;
    const Options& options_;
    std::vector<Operation> operations_;
    std::map<std::string, std::uint32_t> ids_;
    std::vector<std::string> strings_;
    std::vector<std::uint32_t> refs_;
};

} // namespace

cfb::Storage build(const msidb::Database& base, const msidb::Database& target, const Options& options) {
    return Builder(base, target, options).build();
}

} // namespace transform
