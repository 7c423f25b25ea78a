#pragma once

#include <string>
#include <vector>

#include "Dialog.h"
#include "InstalledCalyx.h"

namespace cxscrub {
namespace ui {

// The summary after a removal: the versions removed and those remaining.
class CalyxScrubCompleteDialog : public ::ui::Dialog {
public:
    explicit CalyxScrubCompleteDialog(const std::string& locale);

    void onDocumentComplete() override;

    std::vector<InstalledCalyx> removed;
    std::vector<InstalledCalyx> remaining;
};

} // namespace ui
} // namespace cxscrub
