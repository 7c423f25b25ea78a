#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "CleanupList.h"

TEST(CleanupList, RunsEachStepOnceInPlaceOrderWhateverFails) {
    std::string ran;
    CleanupList list("Test");
    list.add(3, [&] { ran += "c"; });
    list.add(1, [&] { ran += "a"; throw std::runtime_error("locked"); });
    list.add(2, [&] { ran += "x"; });
    list.add(2, [&] { ran += "b"; });
    list.runNow(3);
    list.runNow(3);
    EXPECT_FALSE(list.has(3));
    list.runAll();
    list.runAll();
    EXPECT_EQ(ran, "cab");
}
