#pragma once

#include <stdexcept>
#include <string>
#include <utility>

#include "SourceLocation.h"

// "<source base name>(<line>) at <function>(): <message>"
std::string makeLocatedMessage(const SourceLocation& location, const char* message);

// An exception of type Base that also knows where it was raised. what()
// answers the located message; the base object keeps the plain one, so a
// handler that slices to Base still sees it.
template <class Base>
class TeguError : public Base {
public:
    TeguError(const Base& base, const SourceLocation& location)
        : Base(base), locatedMessage(makeLocatedMessage(location, base.what())) {}

    const char* what() const noexcept override { return locatedMessage.c_str(); }

private:
    std::string locatedMessage;
};

template <class Base>
TeguError<Base> makeTeguError(const Base& base, const SourceLocation& location) {
    return TeguError<Base>(base, location);
}

// Raise T at the current location; for std::runtime_error the message text
// alone is enough.
#define JP_THROW(e) throw makeTeguError((e), SOURCE_LOCATION())
#define JP_THROW_NAMED(e, name) throw makeTeguError((e), SOURCE_LOCATION_NAMED(name))
#define JP_THROW_MSG(msg) JP_THROW(std::runtime_error(msg))
