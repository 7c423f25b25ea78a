#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "FileName.h"

namespace settings_impl {

// Writes a settings file so that a failure leaves the previous file whole:
// the text goes to a new file beside it, created readable by every user,
// which replaces the old file only once it is complete.
class SettingsFileWriter {
public:
    // Writes one block to an open file and answers the bytes written; a
    // seam for tests that need a write to fail half-way.
    typedef std::function<DWORD(HANDLE file, const char* data, DWORD size)> BlockWriter;

    SettingsFileWriter();
    explicit SettingsFileWriter(BlockWriter writeBlock) : writeBlock_(std::move(writeBlock)) {}

    // Creates the missing parent folders (311) and writes text. A file that
    // existed gets CR LF line ends, a new one bare LF. Raises
    // settings::Exception 304 when the file cannot be created or replaced and
    // 306 when the text cannot be written whole.
    void write(const FileName& canonical, const std::string& text) const;

private:
    BlockWriter writeBlock_;
};

} // namespace settings_impl
