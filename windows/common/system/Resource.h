#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// A resource of a module (the installer's own by default), named and typed
// by number or by text.
class Resource {
public:
    Resource(LPCSTR name, LPCSTR type, HINSTANCE module = nullptr);
    Resource(UINT id, LPCSTR type, HINSTANCE module = nullptr);
    // name_ and type_ may point into this object's own strings.
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;

    // Read-only data of the resource and its size in bytes. A string resource
    // gives its text in place and twice its length.
    const void* getPtr(size_t& size) const;

    // Writes the bytes to a new "*.tmp" file in the folder of path and puts
    // the new file's path into path.
    void saveToFile(std::string& path) const;

    // "#<number>" or the text, for messages.
    std::string getNameString() const { return nameText_; }
    std::string getTypeString() const { return typeText_; }

private:
    std::string describe() const;

    HINSTANCE module_;
    LPCSTR name_;
    LPCSTR type_;
    std::string nameStorage_;
    std::string typeStorage_;
    std::string nameText_;
    std::string typeText_;
};

// A numbered string of the installer's string tables.
class StringResource {
public:
    // langId 0 takes the thread's language; another id takes that language's
    // table, falling back to English (1033) when it lacks the string.
    explicit StringResource(UINT id, HINSTANCE module = nullptr, unsigned langId = 0)
        : id_(id), module_(module), langId_(langId) {}

    // The text in the ANSI code page; defaultText (logged) on any error.
    std::string string(const std::string& defaultText = std::string()) const;
    // Whether the table of exactly this language has the string.
    bool existsIn(unsigned langId) const;
    // The same text in UTF-8, for pages and logs.
    std::string utf8(const std::string& defaultText = std::string()) const;
    // The text in UTF-8; raises when the string is missing.
    std::string utf8OrRaise() const;

private:
    std::wstring wide() const;

    UINT id_;
    HINSTANCE module_;
    unsigned langId_;
};
