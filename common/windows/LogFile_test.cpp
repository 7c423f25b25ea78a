#include <gtest/gtest.h>

#include <windows.h>

#include "AutoHandle.h"
#include "HeldChild.h"
#include "Log.h"
#include "TestSupport.h"

// Holds the named file open for writing, without sharing write access,
// until released.
TEST_CHILD_MAIN(holdFileOpen) {
    if (args.size() != 3) return 2;
    UniqueHandle file(CreateFileA(args[0].c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 3;
    return HeldChild::holdUntilReleased(args) ? 0 : 5;
}

TEST(LogFile, RecordIsDroppedWhileAnotherProcessHoldsTheFile) {
    const std::string path = makeLogFilePath(testsupport::tempDir(), "held.log");
    DeleteFileA(path.c_str());
    Logger logger(path);
    logger.write(LOG_INFO, "before", "a.cpp", 1, "f");
    const std::string before = testsupport::readFile(path);
    ASSERT_FALSE(before.empty());

    HeldChild child("holdFileOpen", {path});
    ASSERT_TRUE(child.ready());
    EXPECT_NO_THROW(logger.write(LOG_INFO, "while held", "a.cpp", 2, "f"));
    EXPECT_EQ(child.release(), 0u);
    EXPECT_EQ(testsupport::readFile(path), before);

    logger.write(LOG_INFO, "after", "a.cpp", 3, "f");
    EXPECT_NE(testsupport::readFile(path).find("INFO: after"), std::string::npos);
}
