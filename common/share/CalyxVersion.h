#pragma once

#include "Version.h"

namespace CalyxVersionDetails {

// Item 0 of a product version names its scheme.
enum Tag { LEGACY = 1, GLINT = 2, MODERN = 3 };

// Reads a product version of any scheme into `items` (capacity at least 6,
// items expected at -1); on return `capacity` holds how many parts were
// recognised. Answers the number of characters left unread.
struct Parser {
    static const char* name() { return "CalyxVersionDetails::Parser"; }
    size_t operator()(const std::string& text, size_t& capacity, int* items) const;
};

class Base : public VersionDetails::Base<6, Parser, 3> {
public:
    Base() = default;
    explicit Base(const std::string& text) { init(text); }
    explicit Base(const std::array<int, 6>& items) : VersionDetails::Base<6, Parser, 3>(items) {}

    int tag() const { return items_[0]; }

    // The scheme's own text form; raises for an unknown tag.
    std::string toString() const;

    [[noreturn]] static void throwUnrecognizedVersionType();
};

// Common part of the scheme-specific views: a copy of the version.
class View {
public:
    const Base& version() const { return version_; }

protected:
    explicit View(const Base& version) : version_(version) {}
    int item(size_t index) const { return version_.item(index); }

private:
    Base version_;
};

class BaseLegacy : public View {
public:
    static constexpr int kTag = LEGACY;
    static const char* kindName() { return "legacy"; }
    int major() const { return item(0); }
    int minor() const { return item(1); }
    int micro() const { return item(2); }
    int update() const { return item(3); }
    int build() const { return item(4); }

protected:
    using View::View;
};

class BaseGlint : public View {
public:
    static constexpr int kTag = GLINT;
    static const char* kindName() { return "Glint"; }
    int major() const { return item(0); }
    int minor() const { return item(1); }
    int micro() const { return item(2); }

protected:
    using View::View;
};

class BaseModern : public View {
public:
    static constexpr int kTag = MODERN;
    static const char* kindName() { return "Modern"; }
    int major() const { return item(1); }
    int minor() const { return item(2); }
    int security() const { return item(3); }
    int patch() const { return item(4); }
    int build() const { return item(5); }

protected:
    using View::View;
};

} // namespace CalyxVersionDetails

typedef CalyxVersionDetails::Base CalyxVersion;

// A product version known to be of one scheme; raises std::runtime_error
// for a version of another scheme.
template <class Kind>
class SpecializedVersion : public Kind {
public:
    explicit SpecializedVersion(const CalyxVersion& version) : Kind(checked(version)) {}

private:
    static const CalyxVersion& checked(const CalyxVersion& version) {
        if (version.tag() != Kind::kTag) {
            JP_THROW_MSG(version.text() + " is not recognized as a " + Kind::kindName() +
                         " Calyx version string");
        }
        return version;
    }
};
