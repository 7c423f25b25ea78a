#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "TeguError.h"

namespace VersionDetails {

// Reads up to `capacity` dot-separated decimal numbers from the start of
// `text` into `items`; on return `capacity` holds how many were read.
// Answers the number of characters left unread.
struct Parser {
    static const char* name() { return "VersionDetails::Parser"; }
    size_t operator()(const std::string& text, size_t& capacity, int* items) const;
};

// One whole unsigned decimal number that fits a signed 32-bit item; raises
// for anything else (empty, signs, spaces, trailing text, overflow).
unsigned parseComponent(const std::string& piece);

// The same test without raising: false leaves `value` untouched.
bool tryParseComponent(std::string_view piece, unsigned& value);

// The name logged for Base<N,P,M>::init.
std::string initFunctionName(size_t n, const char* parserName, size_t m);

// N integer items parsed by P from text, at least M of them required.
// An item that is not set holds -1, so it orders below any given number.
template <size_t N, class P, size_t M>
class Base {
public:
    Base() { items_.fill(-1); }
    explicit Base(const std::array<int, N>& items) : items_(items) {}

    // Raises std::runtime_error when P leaves characters or reads fewer
    // than M items; the object is unchanged then.
    void init(const std::string& text) {
        std::array<int, N> items;
        items.fill(-1);
        size_t count = N;
        const size_t left = P()(text, count, items.data());
        if (left != 0) {
            JP_THROW_NAMED(std::runtime_error("Failed to parse [" + text +
                                              "] version string completely." +
                                              " Number of unrecognised characters is " +
                                              std::to_string(left)),
                           initFunctionName(N, P::name(), M));
        }
        if (count < M) {
            JP_THROW_NAMED(std::runtime_error("Failed to parse [" + text +
                                              "] version string. The string is too short"),
                           initFunctionName(N, P::name(), M));
        }
        items_ = items;
        text_ = text;
    }

    int item(size_t index) const { return index < N ? items_[index] : -1; }
    static constexpr size_t size() { return N; }

    // Number of leading items that are set.
    size_t count() const {
        size_t n = 0;
        while (n < N && items_[n] != -1) ++n;
        return n;
    }

    // The text this version was parsed from; empty when built from numbers.
    const std::string& text() const { return text_; }

    bool operator==(const Base& other) const { return items_ == other.items_; }
    bool operator!=(const Base& other) const { return !(*this == other); }
    // Item by item from the first; the first difference decides.
    bool operator>(const Base& other) const { return other.items_ < items_; }
    bool operator<(const Base& other) const { return other > *this; }
    bool operator>=(const Base& other) const { return !(*this < other); }
    bool operator<=(const Base& other) const { return !(*this > other); }

protected:
    std::array<int, N> items_;
    std::string text_;
};

} // namespace VersionDetails

// Exactly four dotted numbers, as in file versions.
class Version : public VersionDetails::Base<4, VersionDetails::Parser, 4> {
public:
    Version() = default;
    explicit Version(const std::string& text) { init(text); }
    Version(int a, int b, int c, int d) : Base(std::array<int, 4>{{a, b, c, d}}) {}

    // The set components joined by ".".
    std::string toString() const;
};
