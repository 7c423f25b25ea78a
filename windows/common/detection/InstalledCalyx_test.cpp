#include <gtest/gtest.h>

#include "GuidText.h"
#include "InstalledCalyx.h"
#include "MsiTestFixtures.h"

namespace {

const char kCode[] = "{8B3F1D62-E57A-41B8-A2C6-7D64180451AB}";

class RecordingUninstaller : public ProductUninstaller {
public:
    mutable std::vector<GUID> codes;
    mutable std::vector<std::string> properties;
    bool fail = false;

    void uninstall(const msi::UninstallData& request) const override {
        codes.push_back(request.productCode);
        for (const auto& p : request.properties) properties.push_back(p.first + "=" + p.second);
        if (fail) throw std::runtime_error("removal refused");
    }
};

InstalledCalyx record(std::shared_ptr<const ProductUninstaller> uninstaller) {
    return InstalledCalyx("{8b3f1d62-e57a-41b8-a2c6-7d64180451ab}", CXR, 64,
                          CalyxVersion("1.8.0_451-b10"), "C:\\cxr", CALYX_MODE_STATIC,
                          std::move(uninstaller));
}

} // namespace

TEST(InstalledCalyx, KeepsTheCodeInServiceForm) {
    const InstalledCalyx r = record(std::make_shared<Uninstaller>());
    EXPECT_EQ(r.productCode(), kCode);
    EXPECT_EQ(guidToText(r.productGuid()), kCode);
    EXPECT_THROW(InstalledCalyx("1.8.0", CXR, 32, CalyxVersion(), "", 10), std::invalid_argument);
}

TEST(InstalledCalyx, UninstallHandsTheCallersRequestOverWithTheCode) {
    const auto uninstaller = std::make_shared<RecordingUninstaller>();
    const InstalledCalyx r = record(uninstaller);
    msi::UninstallData request;
    request.properties["EXTRA"] = "1";
    EXPECT_TRUE(r.uninstall(request));
    EXPECT_EQ(guidToText(request.productCode), kCode);
    ASSERT_EQ(uninstaller->codes.size(), 1u);
    EXPECT_EQ(guidToText(uninstaller->codes[0]), kCode);
    EXPECT_EQ(uninstaller->properties,
              (std::vector<std::string>{"EXTRA=1", "REBOOT=ReallySuppress"}));
}

TEST(InstalledCalyx, FailedUninstallIsLoggedAndAnsweredFalse) {
    const auto uninstaller = std::make_shared<RecordingUninstaller>();
    uninstaller->fail = true;
    msitest::LogWatch log;
    msi::UninstallData request;
    EXPECT_FALSE(record(uninstaller).uninstall(request));
    EXPECT_NE(log.written().find("(InstalledCalyx::uninstall)]\r\n\tERROR: Exception with message "
                                 "'removal refused' caught"),
              std::string::npos)
        << log.written();
}

TEST(InstalledCalyx, TextFormShowsEveryField) {
    const auto none = std::make_shared<Uninstaller>();
    EXPECT_EQ(record(none).toString(),
              "InstalledCalyx(1.8.0_451-b10|Full version unknown|CXR|64bit|C:\\cxr|" +
                  std::string(kCode) + "|20)");
    const InstalledCalyx modern(kCode, CXS, 32, CalyxVersion("9.1.3.2+12"), "", -10, none);
    EXPECT_EQ(modern.toString(),
              "InstalledCalyx(9.1.3.2+12|9.1.3.2+12|CXS|32bit||" + std::string(kCode) + "|-10)");
    const InstalledCalyx glint(kCode, GLINT, 32, CalyxVersion(), "", -10, none);
    EXPECT_EQ(glint.toString(),
              "InstalledCalyx(|Full version unknown|GLINT|32bit||" + std::string(kCode) + "|-10)");
}
