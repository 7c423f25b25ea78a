#include "FileTestSupport.h"

#include <algorithm>

#include "FileUtils.h"
#include "Log.h"
#include "TestSupport.h"

namespace testsupport {

std::string logText() {
    std::string text = readFile(Logger::defaultLogger().filePath());
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::string testFolder(const std::string& name) {
    const std::string folder = FileUtils::joinPath(tempDir(), name);
    FileUtils::createDirectory(folder);
    return folder;
}

bool writeFile(const std::string& path, const std::string& text) {
    const UniqueHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file.valid() &&
           WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

UniqueHandle holdOpen(const std::string& path) {
    return UniqueHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
}

} // namespace testsupport
