#pragma once

#include <string>
#include <vector>

namespace settings_impl {

// The settings library's path: UTF-8 text split at '\' and '/'. A path is
// absolute when its first component is a drive ("C:"); one starting with a
// separator is relative.
class FileName {
public:
    // Checks the text: not plain text raises settings::Exception 312, 260
    // characters or more 310, no component or a bad one (reserved device
    // name, control or reserved character) 311. An empty text is kept as is.
    explicit FileName(const std::string& text);

    // The absolute form: a relative path is put below currentDirectory, ".."
    // removes the component before it, components are joined with '/'.
    // A ".." with nothing (or only the drive) before it raises 311.
    FileName canonical(const std::string& currentDirectory) const;

    const std::string& text() const { return text_; }
    bool isAbsolute() const { return absolute_; }
    bool isCanonical() const { return canonical_; }
    // Components without empty and "." ones.
    const std::vector<std::string>& components() const { return components_; }

private:
    FileName() = default;

    std::string text_;
    std::vector<std::string> components_;
    bool absolute_ = false;
    bool canonical_ = false;
};

} // namespace settings_impl
