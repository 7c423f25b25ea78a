#pragma once

#include <string>
#include <vector>

#include "Dialog.h"
#include "InstalledCalyx.h"

// The pages that offer and report the removal of out-of-date runtimes.
namespace cxscrub {
namespace ui {

// The name a record is listed under ("Calyx 8 Update 401 (64-bit)").
std::string displayName(const InstalledCalyx& record);

// The offer to remove the out-of-date versions.
class CalyxScrubDialog : public ::ui::Dialog {
public:
    explicit CalyxScrubDialog(const std::string& locale);

    // The "manageListLink" link ends the page with DialogLink.
    void notify(const std::string& event, const std::vector<std::string>& params) override;
};

} // namespace ui
} // namespace cxscrub
