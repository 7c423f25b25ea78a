#include "SourceLocation.h"

#include <cstring>

namespace {

// Index of the '(' that opens the parameter list: the first '(' at template
// depth 0 that does not belong to "(anonymous namespace)"-like decorations.
size_t parameterListStart(const std::string& s) {
    int angle = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '<') {
            ++angle;
        } else if (c == '>') {
            if (angle > 0) --angle;
        } else if (c == '(' && angle == 0) {
            if (s.compare(i, 21, "(anonymous namespace)") == 0) {
                i += 20;
                continue;
            }
            return i;
        }
    }
    return std::string::npos;
}

// Start of the qualified name: after the last space at template depth 0.
size_t nameStart(const std::string& s, size_t end) {
    int angle = 0;
    for (size_t i = end; i-- > 0;) {
        const char c = s[i];
        if (c == '>') {
            ++angle;
        } else if (c == '<') {
            if (angle > 0) --angle;
        } else if (c == ' ' && angle == 0) {
            if (i >= 10 && s.compare(i - 10, 11, "(anonymous ") == 0) {
                i -= 10;
                continue;
            }
            return i + 1;
        }
    }
    return 0;
}

} // namespace

std::string qualifiedFunctionName(const char* prettyFunction) {
    if (!prettyFunction) {
        return std::string();
    }
    std::string s(prettyFunction);
    const size_t bracket = s.find(" [with ");
    if (bracket != std::string::npos) {
        s.erase(bracket);
    }
    size_t end = parameterListStart(s);
    if (end == std::string::npos) {
        end = s.size();
    }
    std::string name = s.substr(nameStart(s, end), end - nameStart(s, end));
    // Pointer or reference return types leave their marker glued to the name.
    while (!name.empty() && (name[0] == '*' || name[0] == '&')) {
        name.erase(0, 1);
    }
    return name;
}

std::string sourceBaseName(const std::string& path) {
    const size_t pos = path.find_last_of("\\/");
    return pos == std::string::npos ? path : path.substr(pos + 1);
}
