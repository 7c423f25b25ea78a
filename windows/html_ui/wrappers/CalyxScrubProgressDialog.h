#pragma once

#include <string>
#include <vector>

#include "Dialog.h"

namespace cxscrub {
namespace ui {

// The removal's progress, shown without waiting while the versions go, then
// run again in its completion view.
class CalyxScrubProgressDialog : public ::ui::Dialog {
public:
    explicit CalyxScrubProgressDialog(const std::string& locale);
    ~CalyxScrubProgressDialog() override { detachPage(); }

    void onDocumentComplete() override;
    // The "viewListLink" link ends the page with DialogLink.
    void notify(const std::string& event, const std::vector<std::string>& params) override;

    // From any thread: the version being removed, number of total (from 1);
    // nothing when the page did not load. Raises when the page call fails.
    void setStatus(const std::string& name, int number, int total);

    // false while removing: the progress view; true: the completion view.
    bool completed = false;
};

} // namespace ui
} // namespace cxscrub
