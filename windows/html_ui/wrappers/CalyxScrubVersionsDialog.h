#pragma once

#include <string>
#include <vector>

#include "Dialog.h"
#include "InstalledCalyx.h"

namespace cxscrub {
namespace ui {

// The out-of-date versions with a check box each; the ticked ones are to go.
class CalyxScrubVersionsDialog : public ::ui::Dialog {
public:
    struct Item {
        bool checked;
        InstalledCalyx record;
    };

    explicit CalyxScrubVersionsDialog(const std::string& locale);

    void onDocumentComplete() override;
    // "checkbox_clicked" with one "1" or "0" a box, in list order: item i
    // is ticked exactly when character i is "1"; items beyond the text keep
    // their state.
    void notify(const std::string& event, const std::vector<std::string>& params) override;

    std::vector<Item> items;
};

} // namespace ui
} // namespace cxscrub
