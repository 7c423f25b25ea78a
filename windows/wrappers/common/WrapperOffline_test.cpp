#include <gtest/gtest.h>

#include <windows.h>

#include "AutoHandle.h"
#include "Resource.h"
#include "TestSupport.h"
#include "WrapperOffline.h"
#include "resource_ids.h"

namespace {

std::string readAll(const std::string& path) {
    return testsupport::readFile(path);
}

std::string carriedBytes() {
    size_t size = 0;
    const char* data = static_cast<const char*>(
        Resource(IDR_RUNTIME_PACKAGE, "CALYX_INSTALLER").getPtr(size));
    return std::string(data, size);
}

} // namespace

TEST(WrapperOffline, ResourceIsWrittenWholeAndHeldReadOnly) {
    const std::string path = testsupport::tempDir() + "\\package.msi";
    ExtractedPackage package;
    ASSERT_TRUE(ExtractResourceTo(nullptr, IDR_RUNTIME_PACKAGE, path, true, package));
    EXPECT_TRUE(package.held());
    EXPECT_EQ(package.path(), path);
    const std::string carried = carriedBytes();
    ASSERT_GT(carried.size(), 8192u);
    EXPECT_EQ(readAll(path), carried);

    // While held, nobody can change or delete the file.
    UniqueHandle writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(writer.valid());
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    package.release();
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

TEST(WrapperOffline, MissingResourceIsNotExtracted) {
    const std::string path = testsupport::tempDir() + "\\missing.msi";
    ExtractedPackage package;
    EXPECT_FALSE(ExtractResourceTo(nullptr, 9999, path, true, package));
    EXPECT_FALSE(package.held());
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(WrapperOffline, IntegrityCheckRefusesDifferentBytes) {
    const std::string path = testsupport::tempDir() + "\\check.bin";
    const std::string expected(20000, 'a');
    for (const std::string& content : {expected, std::string(20000, 'b'), expected.substr(1)}) {
        {
            UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            DWORD written = 0;
            ASSERT_TRUE(WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
        }
        UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_EQ(FileMatchesBytes(file.get(), expected.data(), expected.size()), content == expected);
    }
}

TEST(ExecCommand, FailuresOtherThanTheServicesGive1603) {
    msi::InstallData request;
    EXPECT_EQ(ExecCommand(request, [](const msi::InstallData&) { throw std::logic_error("bug"); }), 1603);
    EXPECT_EQ(ExecCommand(request, [](const msi::InstallData&) { throw 42; }), 1603);
    EXPECT_EQ(ExecCommand(request, [](const msi::InstallData&) { throw msi::Error(1618, "busy"); }), 1618);
    EXPECT_EQ(ExecCommand(request, [](const msi::InstallData&) {}), 0);
}

TEST(WrapperOffline, WriteFailureCanAnswerFalseInsteadOfEndingTheProcess) {
    // A folder where the file should go: no write can succeed.
    const std::string path = testsupport::tempDir() + "\\blocked.msi";
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    ExtractedPackage package;
    EXPECT_FALSE(ExtractResourceTo(nullptr, IDR_RUNTIME_PACKAGE, path, true, package,
                                   WriteFailure::ReturnFalse));
    EXPECT_FALSE(package.held());
}
