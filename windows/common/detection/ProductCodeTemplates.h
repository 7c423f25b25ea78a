#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ProductType.h"

// A product-code pattern of Calyx products. Outside the placeholders the
// text is fixed: M, N, O and U collect the major, minor, micro and update
// digits, X stands for any upper-case hexadecimal digit.
struct ProductCodeTemplate {
    const char* pattern;
    ProductType type;
    int bits;
    // Version parts the pattern spells as fixed digits; empty when none.
    const char* presetM;
    const char* presetN;
    const char* presetO;
};

// The templates in the order they are tried.
const std::vector<ProductCodeTemplate>& productCodeTemplates();

struct ProductCodeMatch {
    const ProductCodeTemplate* entry;
    // "M.N.O" with "_U" when the update holds a digit other than 0; empty
    // when the major or minor part is missing.
    std::string versionText;
};

// The first template of the code's length that the code fits; none when
// no template does.
std::optional<ProductCodeMatch> matchProductCodeTemplates(const std::string& productCode);
