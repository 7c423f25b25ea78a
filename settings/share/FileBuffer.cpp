#include "FileBuffer.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "SettingsException.h"
#include "ValueText.h"
#include "tstrings.h"

namespace settings_impl {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::FILE* openForReading(const std::string& path) {
#ifdef _WIN32
    const std::wstring wide = tstrings::toUtf16(path);
    if (wide.empty() && !path.empty()) {
        JP_THROW_MSG("Cannot convert the file name to UTF-16");
    }
    return _wfopen(wide.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

} // namespace

std::string FileBuffer::read() const {
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(openForReading(fileName_.text()));
    if (!file) {
        SETTINGS_THROW(errno == EACCES ? settings::STATUS_NO_READ_PERMISSION
                                       : settings::STATUS_CANNOT_OPEN);
    }
    std::string text(kMaxSize, '\0');
    const size_t got = std::fread(&text[0], 1, kMaxSize, file.get());
    if (std::ferror(file.get())) SETTINGS_THROW(settings::STATUS_READ_FAILED);
    text.resize(got);
    if (got == kMaxSize && std::fgetc(file.get()) != EOF) {
        SETTINGS_THROW(settings::STATUS_FILE_TOO_LONG);
    }
    if (std::ferror(file.get())) SETTINGS_THROW(settings::STATUS_READ_FAILED);
    if (!isPlainText(text)) SETTINGS_THROW(settings::STATUS_NOT_PLAIN_TEXT);
    return text;
}

} // namespace settings_impl
