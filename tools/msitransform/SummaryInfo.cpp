#include "SummaryInfo.h"

#include <cstring>

#include "TeguError.h"

namespace suminfo {

namespace {

constexpr std::uint32_t kI2 = 2, kI4 = 3, kLpstr = 30, kFiletime = 64;
const std::uint8_t kFormatId[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                    0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};

std::uint32_t get32(const cfb::Bytes& b, std::size_t off) {
    if (off + 4 > b.size()) JP_THROW_MSG("summary information ends early");
    return b[off] | (b[off + 1] << 8) | (b[off + 2] << 16) | (std::uint32_t(b[off + 3]) << 24);
}
void put32(cfb::Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

} // namespace

const cfb::Name& streamName() {
    static const cfb::Name name = u"\x0005SummaryInformation";
    return name;
}

Properties parse(const cfb::Bytes& s) {
    if (get32(s, 0) != 0x0000FFFE || get32(s, 24) < 1 || s.size() < 48 ||
        std::memcmp(&s[28], kFormatId, 16) != 0) {
        JP_THROW_MSG("not a summary information stream");
    }
    const std::size_t section = get32(s, 44);
    const std::uint32_t count = get32(s, section + 4);
    if (count > 64) JP_THROW_MSG("summary information has too many properties");
    Properties out;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t id = get32(s, section + 8 + 8 * i);
        const std::size_t at = section + get32(s, section + 12 + 8 * i);
        Value v;
        v.type = get32(s, at);
        std::size_t size = 0;
        switch (v.type) {
        case kI2: size = 2; break;
        case kI4: size = 4; break;
        case kFiletime: size = 8; break;
        case kLpstr: size = 4 + get32(s, at + 4); break;
        default: JP_THROW_MSG("summary property " + std::to_string(id) + " has an unsupported type");
        }
        if (at + 4 + size > s.size()) JP_THROW_MSG("summary property runs past the stream");
        v.bytes.assign(s.begin() + at + 4, s.begin() + at + 4 + size);
        out[id] = v;
    }
    return out;
}

cfb::Bytes serialise(const Properties& properties) {
    cfb::Bytes values;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> index;
    const std::uint32_t tableBytes = 8 + 8 * std::uint32_t(properties.size());
    for (const auto& [id, value] : properties) {
        index.emplace_back(id, tableBytes + std::uint32_t(values.size()));
        put32(values, value.type);
        values.insert(values.end(), value.bytes.begin(), value.bytes.end());
        values.resize((values.size() + 3) / 4 * 4, 0);
    }
    cfb::Bytes out;
    put32(out, 0x0000FFFE);
    put32(out, 0x00020006);  // written on a 32-bit Windows NT system
    out.resize(24, 0);
    put32(out, 1);
    out.insert(out.end(), kFormatId, kFormatId + 16);
    put32(out, 48);
    put32(out, tableBytes + std::uint32_t(values.size()));
    put32(out, std::uint32_t(properties.size()));
    for (const auto& [id, offset] : index) {
        put32(out, id);
        put32(out, offset);
    }
    out.insert(out.end(), values.begin(), values.end());
    return out;
}

Value text(const std::string& s) {
    Value v{kLpstr, {}};
    put32(v.bytes, std::uint32_t(s.size() + 1));
    v.bytes.insert(v.bytes.end(), s.begin(), s.end());
    v.bytes.push_back(0);
    return v;
}

Value int16(std::int16_t value) {
    return Value{kI2, {std::uint8_t(value), std::uint8_t(std::uint16_t(value) >> 8)}};
}

Value int32(std::int32_t value) {
    Value v{kI4, {}};
    put32(v.bytes, std::uint32_t(value));
    return v;
}

std::string textOf(const Properties& properties, std::uint32_t id) {
    const auto it = properties.find(id);
    if (it == properties.end() || it->second.type != kLpstr) {
        JP_THROW_MSG("summary information has no text property " + std::to_string(id));
    }
    const cfb::Bytes& b = it->second.bytes;
    std::string s(b.begin() + 4, b.end());
    return s.substr(0, s.find('\0'));
}

std::int32_t intOf(const Properties& properties, std::uint32_t id) {
    const auto it = properties.find(id);
    if (it == properties.end() || it->second.type != kI4) {
        JP_THROW_MSG("summary information has no integer property " + std::to_string(id));
    }
    return std::int32_t(get32(it->second.bytes, 0));
}

} // namespace suminfo
