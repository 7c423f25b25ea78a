#pragma once

#include <string>
#include <vector>

#include "Dialog.h"
#include "InstalledCalyx.h"

namespace cxscrub {
namespace ui {

// The out-of-date versions a deployment rule set keeps from being removed.
class CalyxScrubDRSDialog : public ::ui::Dialog {
public:
    explicit CalyxScrubDRSDialog(const std::string& locale);

    void onDocumentComplete() override;

    std::vector<InstalledCalyx> records;
};

} // namespace ui
} // namespace cxscrub
