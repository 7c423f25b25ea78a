#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>

#include "MsiDispatchingCallback.h"

namespace {

class Recorder : public msi::DispatchingCallback {
public:
    std::vector<std::string> calls;

protected:
    void onActionStart(const std::string& text) override { calls.push_back("start:" + text); }
    void onActionData(const std::string& text) override { calls.push_back("data:" + text); }
    void onProgress(const msi::ProgressFields& fields) override {
        std::string text = "progress:";
        for (const long long f : fields) text += std::to_string(f) + ",";
        calls.push_back(text);
    }
    void onMessage(UINT type, UINT flags, const std::string& text) override {
        calls.push_back("other:" + std::to_string(type >> 24) + ":" + std::to_string(flags) +
                        ":" + text);
    }
};

} // namespace

TEST(MsiProgressFields, ReadsTheFourFields) {
    EXPECT_EQ(msi::parseProgressFields("1: 2 2: 25 3: 0 4: 1 "),
              (msi::ProgressFields{2, 25, 0, 1}));
    EXPECT_EQ(msi::parseProgressFields("1: 0 2: 1024 "), (msi::ProgressFields{0, 1024}));
    EXPECT_EQ(msi::parseProgressFields("1: -5"), (msi::ProgressFields{-5}));
}

TEST(MsiProgressFields, StopsAtTheFirstBadField) {
    EXPECT_TRUE(msi::parseProgressFields("").empty());
    EXPECT_TRUE(msi::parseProgressFields("garbage").empty());
    EXPECT_TRUE(msi::parseProgressFields("2: 5").empty());
    EXPECT_EQ(msi::parseProgressFields("1: 7 3: 8"), (msi::ProgressFields{7}));
    EXPECT_EQ(msi::parseProgressFields("1: 7 2: x"), (msi::ProgressFields{7}));
    EXPECT_EQ(msi::parseProgressFields("1: 7 2:"), (msi::ProgressFields{7}));
    EXPECT_EQ(msi::parseProgressFields("1: 99999999999999999999999"), msi::ProgressFields{});
    EXPECT_EQ(msi::parseProgressFields("1: 1 2: 2 3: 3 4: 4 5: 5").size(), 4u);
}

TEST(MsiDispatchingCallback, EachKindReachesItsHandler) {
    Recorder recorder;
    msi::Callback& callback = recorder;
    callback.handle(INSTALLMESSAGE_ACTIONSTART, 0, "Action 1: InstallFiles.");
    callback.handle(INSTALLMESSAGE_ACTIONDATA, 0, "File: a.txt");
    callback.handle(INSTALLMESSAGE_PROGRESS, 0, "1: 2 2: 25");
    callback.handle(INSTALLMESSAGE_ERROR, MB_OKCANCEL | MB_ICONWARNING, "disk");
    callback.handle(INSTALLMESSAGE_INFO, 0, "info");
    EXPECT_EQ(recorder.calls,
              (std::vector<std::string>{"start:Action 1: InstallFiles.", "data:File: a.txt",
                                        "progress:2,25,", "other:1:49:disk", "other:4:0:info"}));
}
