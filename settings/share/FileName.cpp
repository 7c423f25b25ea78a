#include "FileName.h"

#include "SettingsException.h"
#include "ValueText.h"

namespace settings_impl {

namespace {

const size_t kMaxPathCharacters = 260;

// Windows counts path length in UTF-16 units: four-byte sequences and
// longer take two.
size_t utf16Length(const std::string& text) {
    size_t length = 0;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) length += byte >= 0xF0 ? 2 : 1;
    }
    return length;
}

std::vector<std::string> splitComponents(const std::string& text, bool* firstIsDrive) {
    std::vector<std::string> all;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find_first_of("\\/", start);
        all.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    const std::string& first = all.front();
    *firstIsDrive = first.size() == 2 && first[1] == ':' &&
                    ((first[0] >= 'A' && first[0] <= 'Z') || (first[0] >= 'a' && first[0] <= 'z'));
    std::vector<std::string> kept;
    for (const std::string& c : all) {
        if (!c.empty() && c != ".") kept.push_back(c);
    }
    return kept;
}

bool isReservedName(const std::string& c) {
    static const char* const kNames[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* name : kNames) {
        if (c == name) return true;
    }
    return c.size() == 4 && (c.compare(0, 3, "COM") == 0 || c.compare(0, 3, "LPT") == 0) &&
           c[3] >= '1' && c[3] <= '9';
}

bool isValidComponent(const std::string& c) {
    if (isReservedName(c)) return false;
    for (const char ch : c) {
        if (static_cast<unsigned char>(ch) < 32) return false;
        if (std::string("<>:\"|?*/\\").find(ch) != std::string::npos) return false;
    }
    return true;
}

std::string join(const std::vector<std::string>& components) {
    std::string result;
    for (const std::string& c : components) {
        if (!result.empty()) result += '/';
        result += c;
    }
    return result;
}

} // namespace

FileName::FileName(const std::string& text) : text_(text) {
    if (text.empty()) return;
    if (!isPlainText(text)) SETTINGS_THROW(settings::STATUS_PATH_NOT_PLAIN_TEXT);
    if (utf16Length(text) >= kMaxPathCharacters) SETTINGS_THROW(settings::STATUS_PATH_TOO_LONG);
    components_ = splitComponents(text, &absolute_);
    if (components_.empty()) SETTINGS_THROW(settings::STATUS_PATH_INVALID);
    for (size_t i = absolute_ ? 1 : 0; i < components_.size(); ++i) {
        if (!isValidComponent(components_[i])) SETTINGS_THROW(settings::STATUS_PATH_INVALID);
    }
}

FileName FileName::canonical(const std::string& currentDirectory) const {
    std::vector<std::string> input;
    bool directoryIsAbsolute = false;
    if (!absolute_) input = splitComponents(currentDirectory, &directoryIsAbsolute);
    input.insert(input.end(), components_.begin(), components_.end());
    // The drive stays: climbing above it is as invalid as climbing above
    // the first component.
    const size_t root = absolute_ || directoryIsAbsolute ? 1 : 0;
    std::vector<std::string> kept;
    for (const std::string& c : input) {
        if (c != "..") {
            kept.push_back(c);
        } else if (kept.size() > root) {
            kept.pop_back();
        } else {
            SETTINGS_THROW(settings::STATUS_PATH_INVALID);
        }
    }
    FileName result;
    result.components_ = kept;
    result.text_ = join(kept);
    result.absolute_ = absolute_ || directoryIsAbsolute;
    result.canonical_ = true;
    return result;
}

} // namespace settings_impl
