#pragma once

#include <optional>

#include "InstalledCalyxTracker.h"
#include "ProductCodeTemplates.h"

// Every installed product whose product code fits one of the Calyx
// product-code templates, in the service's enumeration order.
class KnownProductCodeInstalledCalyxTracker : public InstalledCalyxTracker {
public:
    explicit KnownProductCodeInstalledCalyxTracker(
        const TrackerContext& context = TrackerContext::installerService())
        : products_(context.products) {}

    // Raises std::runtime_error when the service fails other than by
    // running out of products.
    const InstalledProduct* next() override;

    // The template the code fits and the version it spells; none when it
    // fits no template. Never raises: a failure is logged and is no match.
    static std::optional<ProductCodeMatch> match(const std::string& productCode);

private:
    const ProductEnumerator& products_;
    DWORD index_ = 0;
    InstalledProduct current_;
};
