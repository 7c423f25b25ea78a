#pragma once

#include <memory>
#include <set>

#include "InstalledCalyxTracker.h"
#include "Log.h"

// The entries of A, then those of B, each product code answered once.
// A child exists only while it is being asked.
template <class A, class B>
class GroupTracker : public InstalledCalyxTracker {
public:
    explicit GroupTracker(const TrackerContext& context = TrackerContext::installerService())
        : context_(context) {}

    const InstalledProduct* next() override {
        while (const InstalledProduct* entry = nextOfChildren()) {
            if (returned_.insert(entry->productCode).second) return entry;
            LOG_WARNING("Product with ProductCode=[" << entry->productCode
                                                     << "] is tracked multiple times");
        }
        return nullptr;
    }

private:
    enum Phase { ASK_A, ASK_B, DONE };

    const InstalledProduct* nextOfChildren() {
        while (phase_ != DONE) {
            if (!child_) {
                child_ = phase_ == ASK_A
                             ? std::unique_ptr<InstalledCalyxTracker>(new A(context_))
                             : std::unique_ptr<InstalledCalyxTracker>(new B(context_));
            }
            if (const InstalledProduct* entry = child_->next()) return entry;
            child_.reset();
            phase_ = static_cast<Phase>(phase_ + 1);
        }
        return nullptr;
    }

    const TrackerContext& context_;
    std::unique_ptr<InstalledCalyxTracker> child_;
    Phase phase_ = ASK_A;
    std::set<std::string> returned_;
};
