#include "MsiProduct.h"

#include <msi.h>

#include "MsiError.h"
#include "MsiString.h"

namespace {

// A product code answered into a 39-character buffer; none at the end.
std::optional<std::string> productCodeOrEnd(UINT status, const char* code,
                                            const std::string& callText) {
    if (status == ERROR_NO_MORE_ITEMS) return std::nullopt;
    if (status != ERROR_SUCCESS) {
        JP_THROW(msi::Error(status, callText + " failed"));
    }
    return std::string(code);
}

} // namespace

namespace msi {

std::string getProductInfo(const std::string& productCode, const std::string& property) {
    return readString(
        [&](char* buffer, DWORD* size) {
            return MsiGetProductInfoA(productCode.c_str(), property.c_str(), buffer, size);
        },
        "MsiGetProductInfo(" + productCode + ", " + property + ")");
}

std::string getProductInfoOrEmpty(const std::string& productCode, const std::string& property) {
    try {
        return getProductInfo(productCode, property);
    } catch (const std::exception&) {
        return std::string();
    }
}

std::optional<std::string> relatedProduct(const std::string& upgradeCode, DWORD index) {
    char code[39] = {};
    const UINT status = MsiEnumRelatedProductsA(upgradeCode.c_str(), 0, index, code);
    return productCodeOrEnd(status, code,
                            "MsiEnumRelatedProducts(" + upgradeCode + ", " +
                                std::to_string(index) + ")");
}

std::optional<std::string> installedProduct(DWORD index) {
    char code[39] = {};
    const UINT status = MsiEnumProductsA(index, code);
    return productCodeOrEnd(status, code, "MsiEnumProducts(" + std::to_string(index) + ")");
}

} // namespace msi
