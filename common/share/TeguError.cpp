#include "TeguError.h"

std::string makeLocatedMessage(const SourceLocation& location, const char* message) {
    std::string result = sourceBaseName(location.file ? location.file : "");
    result += "(";
    result += std::to_string(location.line);
    result += ") at ";
    result += location.function;
    result += "(): ";
    result += message ? message : "";
    return result;
}
