#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include "AutoHandle.h"
#include "FileOwner.h"
#include "SecurityDescriptor.h"

TEST(FileOwner, OnlyAdministratorsSystemOrThisAccountAreTrusted) {
    std::vector<BYTE> self = processUserSid();
    struct Case {
        const wchar_t* sid;
        bool trusted;
    } cases[] = {{L"BA", true}, {L"SY", true}, {L"BU", false}, {L"S-1-5-21-1-2-3-1001", false}};
    for (const Case& c : cases) {
        PSID sid = nullptr;
        ASSERT_TRUE(ConvertStringSidToSidW(c.sid, &sid));
        const UniqueLocalMemory hold(sid);
        EXPECT_EQ(FileOwner::isTrusted(sid, self.data()), c.trusted) << c.sid;
    }
    EXPECT_TRUE(FileOwner::isTrusted(self.data(), self.data()));
}
