#include <gtest/gtest.h>

#include "MsiError.h"
#include "MsiProduct.h"

namespace {

const char kUnknownCode[] = "{0BADC0DE-1111-2222-3333-444455556666}";

} // namespace

TEST(MsiProductInfo, UnknownProductRaisesWithTheServiceStatus) {
    try {
        msi::getProductInfo(kUnknownCode, "VersionString");
        FAIL() << "no exception";
    } catch (const msi::Error& e) {
        EXPECT_EQ(e.getStatus(), static_cast<UINT>(ERROR_UNKNOWN_PRODUCT));
        EXPECT_NE(std::string(e.what()).find("MsiGetProductInfo(" + std::string(kUnknownCode) +
                                             ", VersionString) failed. MSI error [1605]"),
                  std::string::npos)
            << e.what();
    }
}

TEST(MsiProductInfo, OrEmptyTurnsFailuresIntoEmptyText) {
    EXPECT_EQ(msi::getProductInfoOrEmpty(kUnknownCode, "LocalPackage"), "");
    EXPECT_EQ(msi::getProductInfoOrEmpty("not a guid", "LocalPackage"), "");
}

TEST(MsiRelatedProducts, UnknownUpgradeCodeHasNone) {
    EXPECT_FALSE(msi::relatedProduct(kUnknownCode, 0).has_value());
}
