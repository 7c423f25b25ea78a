#include "CalyxVersion.h"

#include <algorithm>
#include <string_view>

#include "tstrings.h"

namespace CalyxVersionDetails {

namespace {

using std::string_view;

// A suffix matcher looks at the tail and answers how many characters it
// leaves: the whole tail when it does not match. `value` is set on a match.
typedef size_t (*Matcher)(string_view tail, int& value);

struct Step {
    Matcher match;
    bool required;
    int output;  // offset of the item it fills from the first free item; -1: none
};

// The number in tail[from, first of `stops` or end); false when V2 refuses it.
bool numberUpTo(string_view tail, size_t from, const char* stops, size_t& end, int& value) {
    end = std::min(tail.find_first_of(stops, from), tail.size());
    unsigned number = 0;
    if (!VersionDetails::tryParseComponent(tail.substr(from, end - from), number)) return false;
    value = static_cast<int>(number);
    return true;
}

bool startsWith(string_view tail, string_view prefix) {
    return tail.substr(0, prefix.size()) == prefix;
}

// "-b" and a number, which the build matcher takes unless it is 0.
bool isBuildSegment(string_view tail, int& value) {
    size_t end = 0;
    return tail.size() >= 3 && startsWith(tail, "-b") && numberUpTo(tail, 2, "-", end, value);
}

size_t legacyMicro(string_view tail, int& value) {
    size_t end = 0;
    return numberUpTo(tail, 0, "_-", end, value) ? tail.size() - end : tail.size();
}

size_t legacyUpdate(string_view tail, int& value) {
    size_t end = 0;
    if (!startsWith(tail, "_") || !numberUpTo(tail, 1, "-", end, value)) return tail.size();
    return tail.size() - end;
}

// Skips "-" segments up to one that looks like a build number. A build
// segment stops the skipping even when its number is 0, so "-b00" is
// refused rather than dropped; a lone "-" is never taken.
size_t legacySkip(string_view tail, int&) {
    if (!startsWith(tail, "-")) return tail.size();
    size_t pos = 0;
    while (pos < tail.size()) {
        const string_view segment = tail.substr(pos);
        int ignored = 0;
        if (segment.size() == 1 || segment[1] == '-' || isBuildSegment(segment, ignored)) break;
        pos = std::min(tail.find('-', pos + 1), tail.size());
    }
    return tail.size() - pos;
}

size_t legacyBuild(string_view tail, int& value) {
    int build = 0;
    if (!isBuildSegment(tail, build) || build == 0) return tail.size();
    value = build;
    return tail.size() - std::min(tail.find('-', 2), tail.size());
}

size_t modernNumber(string_view tail, int& value) {
    size_t end = 0;
    return numberUpTo(tail, 0, "-+", end, value) ? tail.size() - end : tail.size();
}

size_t modernDotted(string_view tail, int& value) {
    size_t end = 0;
    if (!startsWith(tail, ".") || !numberUpTo(tail, 1, "-+", end, value)) return tail.size();
    return tail.size() - end;
}

size_t modernPreRelease(string_view tail, int&) {
    const size_t end = std::min(tail.find('+'), tail.size());
    return startsWith(tail, "-") && end >= 2 ? tail.size() - end : tail.size();
}

size_t modernBuild(string_view tail, int& value) {
    size_t end = 0;
    int build = 0;
    if (!startsWith(tail, "+") || !numberUpTo(tail, 1, "-", end, build) || build == 0) {
        return tail.size();
    }
    value = build;
    return tail.size() - end;
}

size_t modernOptional(string_view tail, int&) {
    return startsWith(tail, "-") && tail.size() >= 2 ? 0 : tail.size();
}

const Step kLegacySteps[] = {
    {legacyMicro, true, 0},
    {legacyUpdate, false, 1},
    {legacySkip, false, -1},
    {legacyBuild, false, 2},
};

const Step kModernSteps[] = {
    {modernNumber, true, 0},
    {modernDotted, false, 1},
    {modernPreRelease, false, -1},
    {modernBuild, false, 2},
    {modernOptional, false, -1},
};

// Runs the steps from `first` over the tail; answers what is left. Outputs
// are placed relative to the first item after the dotted numbers.
template <size_t K>
size_t matchSuffix(const Step (&steps)[K], size_t first, string_view tail, int* freeItems,
                   size_t& count) {
    for (size_t i = first; i < K && !tail.empty(); ++i) {
        const Step& step = steps[i];
        int value = -1;
        const size_t left = step.match(tail, value);
        if (left < tail.size()) {
            if (step.output >= 0) {
                freeItems[step.output - static_cast<int>(first)] = value;
            }
            ++count;
            tail = tail.substr(tail.size() - left);
        } else if (step.required) {
            break;
        }
    }
    return tail.size();
}

} // namespace

size_t Parser::operator()(const std::string& text, size_t& capacity, int* items) const {
    if (capacity < 6) {
        JP_THROW_NAMED(std::length_error("Insufficient size of destination buffer"),
                       "CalyxVersionDetails::`anonymous-namespace'::parse");
    }
    int numbers[3] = {-1, -1, -1};
    size_t n = 3;
    const size_t rest = VersionDetails::Parser()(text, n, numbers);
    capacity = 0;
    if (n == 0) return text.size();

    const int first = numbers[0];
    const bool legacy = first == 1;
    const bool modern = first >= 9;
    if (!legacy && first != 2 && !modern) return text.size();

    size_t next = 0;
    if (modern) items[next++] = MODERN;
    for (size_t i = 0; i < n; ++i) {
        // A legacy minor number of 0 ends the version after its first number.
        if (legacy && i == 1 && numbers[i] == 0) {
            size_t one = 1;
            return VersionDetails::Parser()(text, one, numbers);
        }
        items[next++] = numbers[i];
        ++capacity;
    }

    if (rest == 0) return 0;
    if (first == 2 || n < 2) return rest;

    const string_view tail = string_view(text).substr(text.size() - rest);
    if (legacy) return matchSuffix(kLegacySteps, 0, tail, items + next, capacity);
    // With three dotted numbers the security number is already read.
    return matchSuffix(kModernSteps, n == 3 ? 1 : 0, tail, items + next, capacity);
}

std::string Base::toString() const {
    const auto& v = items_;
    std::string s;
    switch (tag()) {
    case LEGACY:
        s = std::to_string(v[0]);
        if (v[1] >= 0) s += "." + std::to_string(v[1]);
        if (v[2] >= 0) s += "." + std::to_string(v[2]);
        if (v[3] > 0) s += tstrings::sformat("_%02d", v[3]);
        if (v[4] > 0) s += tstrings::sformat("-b%02d", v[4]);
        return s;
    case GLINT:
        return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]);
    case MODERN:
        s = std::to_string(v[1]);
        if (v[2] >= 0) s += "." + std::to_string(v[2]);
        if (v[3] >= 0) s += "." + std::to_string(v[3]);
        if (v[4] > 0) s += "." + std::to_string(v[4]);
        if (v[5] > 0) s += "+" + std::to_string(v[5]);
        return s;
    default:
        throwUnrecognizedVersionType();
    }
}

void Base::throwUnrecognizedVersionType() {
    JP_THROW_NAMED(std::runtime_error("unknown version tag"),
                   "CalyxVersionDetails::Base::throwUnrecognizedVersionType");
}

} // namespace CalyxVersionDetails
