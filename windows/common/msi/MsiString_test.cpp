#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "MsiError.h"
#include "MsiString.h"

namespace {

// Answers like the service: the text when it fits with its terminator,
// otherwise ERROR_MORE_DATA and the needed length.
struct FakeService {
    std::string value;
    std::vector<DWORD> offered;

    UINT operator()(char* buffer, DWORD* size) {
        offered.push_back(*size);
        if (value.size() + 1 > *size) {
            *size = static_cast<DWORD>(value.size());
            return ERROR_MORE_DATA;
        }
        std::memcpy(buffer, value.c_str(), value.size() + 1);
        *size = static_cast<DWORD>(value.size());
        return ERROR_SUCCESS;
    }
};

} // namespace

TEST(MsiReadString, ShortTextFitsTheFirstBuffer) {
    FakeService service{"short", {}};
    EXPECT_EQ(msi::readString(std::ref(service), "Call(x)"), "short");
    EXPECT_EQ(service.offered, (std::vector<DWORD>{20}));
}

TEST(MsiReadString, LongTextIsReadWholeAfterDoublings) {
    FakeService service{std::string(150, 'v') + "end", {}};
    EXPECT_EQ(msi::readString(std::ref(service), "Call(x)"), service.value);
    EXPECT_EQ(service.offered, (std::vector<DWORD>{20, 40, 80, 160}));
}

TEST(MsiReadString, TextOfExactlyTheBufferSizeNeedsOneMore) {
    FakeService service{std::string(20, 'x'), {}};
    EXPECT_EQ(msi::readString(std::ref(service), "Call(x)"), service.value);
    EXPECT_EQ(service.offered, (std::vector<DWORD>{20, 40}));
}

TEST(MsiReadString, EmptyTextIsEmpty) {
    FakeService service{"", {}};
    EXPECT_EQ(msi::readString(std::ref(service), "Call(x)"), "");
}

TEST(MsiReadString, OtherFailuresRaiseWithStatus) {
    try {
        msi::readString([](char*, DWORD*) -> UINT { return ERROR_UNKNOWN_PRODUCT; },
                        "MsiGetProductInfo({X}, LocalPackage)");
        FAIL() << "no exception";
    } catch (const msi::Error& e) {
        EXPECT_EQ(e.getStatus(), static_cast<UINT>(ERROR_UNKNOWN_PRODUCT));
        EXPECT_NE(std::string(e.what()).find(
                      "at msi::`anonymous-namespace'::getProperty(): "
                      "MsiGetProductInfo({X}, LocalPackage) failed. MSI error [1605]"),
                  std::string::npos)
            << e.what();
    }
}

TEST(MsiReadString, EndlessMoreDataStopsAtAFixedSize) {
    size_t calls = 0;
    try {
        msi::readString(
            [&calls](char*, DWORD* size) -> UINT {
                ++calls;
                *size = 0xFFFFFFF0;
                return ERROR_MORE_DATA;
            },
            "Call(x)");
        FAIL() << "no exception";
    } catch (const msi::Error& e) {
        EXPECT_EQ(e.getStatus(), static_cast<UINT>(ERROR_MORE_DATA));
    }
    EXPECT_LE(calls, 30u);
}
