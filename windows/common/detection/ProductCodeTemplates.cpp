#include "ProductCodeTemplates.h"

#include <cstring>

namespace {

const char* const kHexDigits = "ABCDEF1234567890";

bool isDecimal(char c) {
    return c >= '0' && c <= '9';
}

struct VersionParts {
    std::string m, n, o, u;

    explicit VersionParts(const ProductCodeTemplate& t) : m(t.presetM), n(t.presetN), o(t.presetO) {}

    std::string* part(char placeholder) {
        switch (placeholder) {
        case 'M': return &m;
        case 'N': return &n;
        case 'O': return &o;
        case 'U': return &u;
        default: return nullptr;
        }
    }

    std::string text() const {
        if (m.empty() || n.empty()) return std::string();
        std::string version = m + "." + n + "." + (o.empty() ? "0" : o);
        if (u.find_first_not_of('0') != std::string::npos) version += "_" + u;
        return version;
    }
};

std::optional<std::string> matchOne(const ProductCodeTemplate& t, const std::string& code) {
    VersionParts parts(t);
    for (size_t i = 0; i < code.size(); ++i) {
        const char expected = t.pattern[i];
        const char c = code[i];
        if (c == expected) continue;
        if (std::string* part = parts.part(expected)) {
            if (!isDecimal(c)) return std::nullopt;
            *part += c;
        } else if (expected != 'X' || c == '\0' || std::strchr(kHexDigits, c) == nullptr) {
            return std::nullopt;
        }
    }
    return parts.text();
}

} // namespace

const std::vector<ProductCodeTemplate>& productCodeTemplates() {
    static const std::vector<ProductCodeTemplate> templates = {
        {"{9D5C1E27-B40E-47C2-8E15-0D3F9A142UUX}", CXR, 32, "1", "4", "2"},
        {"{2BE61B7C-C05D-47C2-9F43-0D3F9A142UUX}", CXS, 32, "1", "4", "2"},
        {"{32E61B7C-C05D-47C2-9F43-0D3F9A15OUUX}", CXS, 32, "1", "5", ""},
        {"{64E61B7C-C05D-47C2-9F43-0D3F9A15OUUX}", CXS, 64, "1", "5", ""},
        {"{32E61B7C-C05D-47C2-9F43-0D3F9AMNOXXX}", CXS, 32, "", "", ""},
        {"{64E61B7C-C05D-47C2-9F43-0D3F9AMNOXXX}", CXS, 64, "", "", ""},
        {"{325C1E27-B40E-47C2-8E15-0D3F9AMNOUUX}", CXR, 32, "", "", ""},
        {"{645C1E27-B40E-47C2-8E15-0D3F9AMNOUUX}", CXR, 64, "", "", ""},
        {"{8B3F1D62-E57A-41B8-A2C6-7DX32MNOUUXX}", CXR, 32, "", "", ""},
        {"{8B3F1D62-E57A-41B8-A2C6-7DX64MNOUUXX}", CXR, 64, "", "", ""},
        {"{8B3F1D62-E57A-41B8-A2C6-7D32MNOUUUXX}", CXR, 32, "", "", ""},
        {"{8B3F1D62-E57A-41B8-A2C6-7D64MNOUUUXX}", CXR, 64, "", "", ""},
        {"{3E9C0B25-D418-4A6E-B5D9-MNO32C5B3E29}", GLINT, 32, "", "", ""},
        {"{3E9C0B25-D418-4A6E-B5D9-MNO64C5B3E29}", GLINT, 64, "", "", ""},
        {"{3E9C0B25-D418-4A6E-B5D9-MNOO732B3E29}", GLINT, 32, "", "", ""},
        {"{3E9C0B25-D418-4A6E-B5D9-MNOO764B3E29}", GLINT, 64, "", "", ""},
    };
    return templates;
}

std::optional<ProductCodeMatch> matchProductCodeTemplates(const std::string& productCode) {
    for (const ProductCodeTemplate& t : productCodeTemplates()) {
        if (std::strlen(t.pattern) != productCode.size()) continue;
        if (auto version = matchOne(t, productCode)) {
            return ProductCodeMatch{&t, *version};
        }
    }
    return std::nullopt;
}
