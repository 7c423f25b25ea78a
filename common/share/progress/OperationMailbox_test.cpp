#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Operation.h"
#include "OperationMailbox.h"

using progress::OperationMailbox;

namespace {

std::string describe(const OperationMailbox& m) {
    std::string text;
    for (const auto& c : m.getOperations()) {
        text += std::to_string(c.id) + ":" + std::to_string(c.weight) + " ";
    }
    return text;
}

} // namespace

TEST(OperationMailbox, InstallHasSevenOperationsOf135Seconds) {
    const OperationMailbox m;
    EXPECT_EQ(describe(m), "1:20000 2:10000 3:30000 4:40000 5:20000 6:10000 7:5000 ");
    EXPECT_STREQ(OperationMailbox::SharedMemoryName, "TeguOperationSequenceSharedMemory");
}

TEST(OperationMailbox, SettingByIdReplacesRemovesOrAppends) {
    OperationMailbox m;
    m.setOperation(3, 1);
    m.setOperation(5, 0);
    m.setOperation(9, 2);
    m.setOperation(8, 0);
    EXPECT_EQ(describe(m), "1:20000 2:10000 3:1000 4:40000 6:10000 7:5000 9:2000 ");
}

TEST(Operation, RecordIsIdThenStateInEightBytes) {
    const progress::Operation op(0x04030201u, progress::Operation::Finished);
    unsigned char bytes[8];
    std::memcpy(bytes, &op, sizeof(bytes));
    const unsigned char expected[8] = {1, 2, 3, 4, 2, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(bytes, expected, sizeof(bytes)));
    EXPECT_EQ(progress::Operation().getState(), progress::Operation::Invalid);
    EXPECT_EQ(progress::Operation().getId(), 0u);
}
