#include <gtest/gtest.h>

#include "DetectionFactsFake.h"
#include "GroupTracker.h"
#include "MsiTestFixtures.h"

namespace {

// Trackers answering fixed codes, counting how many of them are alive.
template <int Id>
class ListTracker : public InstalledCalyxTracker {
public:
    static std::vector<std::string> codes;
    static int alive;
    static int created;

    explicit ListTracker(const TrackerContext&) {
        ++alive;
        ++created;
    }
    ~ListTracker() override { --alive; }

    const InstalledProduct* next() override {
        if (index_ >= codes.size()) return nullptr;
        current_.productCode = codes[index_++];
        current_.type = Id;
        current_.bits = 32;
        return &current_;
    }

private:
    size_t index_ = 0;
    InstalledProduct current_;
};

template <int Id> std::vector<std::string> ListTracker<Id>::codes;
template <int Id> int ListTracker<Id>::alive = 0;
template <int Id> int ListTracker<Id>::created = 0;

typedef ListTracker<CXR> First;
typedef ListTracker<CXS> Second;

class GroupTrackerTest : public testing::Test {
protected:
    void SetUp() override {
        First::codes = {"{A}", "{B}", "{C}"};
        Second::codes = {"{B}", "{D}", "{B}", "{C}", "{E}"};
        First::created = Second::created = 0;
    }
    DetectionFactsFake facts;
    const TrackerContext context{facts, true};
};

size_t occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) {
        ++n;
    }
    return n;
}

} // namespace

TEST_F(GroupTrackerTest, AnswersFirstThenSecondEachCodeOnce) {
    GroupTracker<First, Second> group(context);
    msitest::LogWatch log;
    std::vector<std::string> codes;
    std::vector<int> types;
    while (const InstalledProduct* entry = group.next()) {
        codes.push_back(entry->productCode);
        types.push_back(entry->type);
    }
    EXPECT_EQ(codes, (std::vector<std::string>{"{A}", "{B}", "{C}", "{D}", "{E}"}));
    EXPECT_EQ(types, (std::vector<int>{CXR, CXR, CXR, CXS, CXS}));
    const std::string written = log.written();
    EXPECT_EQ(occurrences(written, "WARNING: Product with ProductCode=[{B}] is tracked multiple "
                                   "times"),
              2u)
        << written;
    EXPECT_EQ(occurrences(written, "Product with ProductCode=[{C}] is tracked multiple times"), 1u);
    EXPECT_EQ(occurrences(written, "GroupTracker<A, B>::next)]"), 3u) << written;
}

TEST_F(GroupTrackerTest, ChildrenLiveOnlyWhileAsked) {
    GroupTracker<First, Second> group(context);
    EXPECT_EQ(First::created, 0);
    ASSERT_NE(group.next(), nullptr);
    EXPECT_EQ(First::alive, 1);
    EXPECT_EQ(Second::alive, 0);
    group.next();
    group.next();
    ASSERT_NE(group.next(), nullptr);  // {D}: the first child is exhausted
    EXPECT_EQ(First::alive, 0);
    EXPECT_EQ(Second::alive, 1);
    while (group.next()) {
    }
    EXPECT_EQ(Second::alive, 0);
    EXPECT_EQ(group.next(), nullptr);
    EXPECT_EQ(First::created, 1);
    EXPECT_EQ(Second::created, 1);
}

TEST_F(GroupTrackerTest, EmptyChildrenGiveNothing) {
    First::codes.clear();
    Second::codes.clear();
    GroupTracker<First, Second> group(context);
    EXPECT_EQ(group.next(), nullptr);
    EXPECT_EQ(group.next(), nullptr);
    EXPECT_EQ(First::alive + Second::alive, 0);
}
