#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "CompoundFile.h"

// The summary information property set of a database or transform.
namespace suminfo {

enum Id : std::uint32_t {
    kCodepage = 1,
    kTitle = 2,
    kSubject = 3,
    kAuthor = 4,
    kKeywords = 5,
    kComments = 6,
    kTemplate = 7,
    kLastAuthor = 8,
    kRevision = 9,
    kPageCount = 14,
    kCharCount = 16,
    kAppName = 18,
    kSecurity = 19,
};

// A property's type tag and its value bytes as stored (without padding).
struct Value {
    std::uint32_t type = 0;
    cfb::Bytes bytes;
};

using Properties = std::map<std::uint32_t, Value>;

const cfb::Name& streamName();
Properties parse(const cfb::Bytes& stream);
cfb::Bytes serialise(const Properties& properties);

Value text(const std::string& s);
Value int16(std::int16_t v);
Value int32(std::int32_t v);
// Text of a string property; raises when absent or of another type.
std::string textOf(const Properties& properties, std::uint32_t id);
std::int32_t intOf(const Properties& properties, std::uint32_t id);

} // namespace suminfo
