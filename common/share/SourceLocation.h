#pragma once

#include <string>

// Where something was raised or logged: the source file as compiled, the
// qualified function name and the line.
struct SourceLocation {
    SourceLocation(const char* file, std::string function, unsigned line)
        : file(file), function(std::move(function)), line(line) {}

    const char* file;
    std::string function;
    unsigned line;
};

// "Namespace::Class::method" from a compiler's decorated function signature:
// drops the return type, the parameter list and template argument bindings.
std::string qualifiedFunctionName(const char* prettyFunction);

// Text after the last '\' or '/'; the whole text when there is neither.
std::string sourceBaseName(const std::string& path);

#define SOURCE_LOCATION() \
    SourceLocation(__FILE__, qualifiedFunctionName(__PRETTY_FUNCTION__), __LINE__)

// For functions whose logged name is fixed by contract and differs from
// what the compiler would give (anonymous namespaces, template bindings).
#define SOURCE_LOCATION_NAMED(name) SourceLocation(__FILE__, (name), __LINE__)
