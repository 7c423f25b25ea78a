#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <regex>

#include "AllUsersReadableSecurity.h"
#include "tstrings.h"

using namespace settings_impl;

namespace {

std::string domainUsersOf(const wchar_t* sidText) {
    PSID sid = nullptr;
    if (!ConvertStringSidToSidW(sidText, &sid)) return "bad sid";
    const UniqueLocalMemory hold(sid);
    return tstrings::toUtf8(domainUsersSidText(sid));
}

const std::regex kDomainUsers("S-1-5-21(-[0-9]+)+-513");

} // namespace

TEST(AllUsersReadableSecurity, DescriptorText) {
    const std::string sddl = tstrings::toUtf8(AllUsersReadableSecurity().sddl());
    EXPECT_TRUE(std::regex_match(sddl, std::regex(R"(D:\(A;;FA;;;BA\)\(A;;FR;;;S-1-5-21(-[0-9]+)+-513\)\(A;;FR;;;WD\))")))
        << sddl;
    AllUsersReadableSecurity security;
    EXPECT_EQ(security.attributes()->nLength, sizeof(SECURITY_ATTRIBUTES));
    wchar_t* text = nullptr;
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(
        security.attributes()->lpSecurityDescriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
        &text, nullptr));
    const UniqueLocalMemory hold(text);
    EXPECT_EQ(std::wstring(text), security.sddl());
}

TEST(AllUsersReadableSecurity, DomainUsersOfAnAccount) {
    EXPECT_EQ(domainUsersOf(L"S-1-5-21-1-2-3-1001"), "S-1-5-21-1-2-3-513");
}

TEST(AllUsersReadableSecurity, SystemAccountUsesTheMachineDomain) {
    const std::string users = domainUsersOf(L"S-1-5-18");
    EXPECT_TRUE(std::regex_match(users, kDomainUsers)) << users;
}
