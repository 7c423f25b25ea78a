#include "Resource.h"

#include "AutoHandle.h"
#include "Log.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

std::string textOf(LPCSTR nameOrId) {
    if (IS_INTRESOURCE(nameOrId)) {
        return "#" + std::to_string(reinterpret_cast<uintptr_t>(nameOrId));
    }
    return nameOrId;
}

} // namespace

Resource::Resource(LPCSTR name, LPCSTR type, HINSTANCE module)
    : module_(module), name_(name), type_(type) {
    if (!IS_INTRESOURCE(name)) {
        nameStorage_ = name;
        name_ = nameStorage_.c_str();
    }
    if (!IS_INTRESOURCE(type)) {
        typeStorage_ = type;
        type_ = typeStorage_.c_str();
    }
    nameText_ = textOf(name_);
    typeText_ = textOf(type_);
}

Resource::Resource(UINT id, LPCSTR type, HINSTANCE module)
    : Resource(MAKEINTRESOURCEA(id), type, module) {}

std::string Resource::describe() const {
    return " (name='" + nameText_ + "', type='" + typeText_ + "')";
}

const void* Resource::getPtr(size_t& size) const {
    if (type_ == RT_STRING) {
        const UINT id = static_cast<UINT>(reinterpret_cast<uintptr_t>(name_));
        // The string's block must exist; LoadStringW then gives the text in place.
        if (!FindResourceA(module_, MAKEINTRESOURCEA(id / 16 + 1), RT_STRING)) {
            JP_THROW_LAST_ERROR("cannot find resource" + describe(), FindResourceA);
        }
        const wchar_t* text = nullptr;
        const int length = LoadStringW(module_, id, reinterpret_cast<LPWSTR>(&text), 0);
        if (length <= 0 || !text) {
            JP_THROW_LAST_ERROR("cannot load resource" + describe(), LoadStringW);
        }
        size = static_cast<size_t>(length) * 2;
        return text;
    }
    HRSRC info = FindResourceA(module_, name_, type_);
    if (!info) {
        JP_THROW_LAST_ERROR("cannot find resource" + describe(), FindResourceA);
    }
    HGLOBAL loaded = LoadResource(module_, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        JP_THROW_LAST_ERROR("cannot load resource" + describe(), LoadResource);
    }
    size = SizeofResource(module_, info);
    return data;
}

void Resource::saveToFile(std::string& path) const {
    size_t size = 0;
    const char* data = static_cast<const char*>(getPtr(size));
    const size_t slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    char tempName[MAX_PATH + 1] = {};
    if (!GetTempFileNameA(folder.c_str(), "cx", 0, tempName)) {
        JP_THROW_LAST_ERROR("GetTempFileName(" + folder + ") failed", GetTempFileNameA);
    }
    // GetTempFileName names the file "*.tmp" and has created it empty.
    UniqueHandle file(CreateFileA(tempName, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        JP_THROW_LAST_ERROR(std::string("CreateFile(") + tempName + ") failed", CreateFileA);
    }
    while (size > 0) {
        const DWORD chunk = size > 8192 ? 8192 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file.get(), data, chunk, &written, nullptr) || written != chunk) {
            const DWORD error = GetLastError();
            file.reset();
            DeleteFileA(tempName);
            JP_THROW(SysError(JP_API_ADDRESS(WriteFile),
                              std::string("WriteFile(") + tempName + ") failed", error));
        }
        data += chunk;
        size -= chunk;
    }
    path = tempName;
}

namespace {

// The string id of a string table block in one language; false when the
// block or the string is missing.
bool findInBlock(HINSTANCE module, UINT id, WORD langId, std::wstring& text) {
    HRSRC info = FindResourceExW(module, reinterpret_cast<LPCWSTR>(RT_STRING),
                                 MAKEINTRESOURCEW(id / 16 + 1), langId);
    if (!info) return false;
    HGLOBAL loaded = LoadResource(module, info);
    const WORD* p = loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
    if (!p) return false;
    const WORD* const end = p + SizeofResource(module, info) / sizeof(WORD);
    // A block holds 16 counted strings; walk to ours without leaving it.
    for (UINT index = 0; index < id % 16; ++index) {
        if (p >= end) return false;
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end) return false;
    text.assign(reinterpret_cast<const wchar_t*>(p + 1), *p);
    return true;
}

} // namespace

bool StringResource::existsIn(unsigned langId) const {
    std::wstring text;
    return findInBlock(module_, id_, static_cast<WORD>(langId), text);
}

std::wstring StringResource::wide() const {
    if (langId_ != 0) {
        std::wstring text;
        if (findInBlock(module_, id_, static_cast<WORD>(langId_), text) ||
            findInBlock(module_, id_, 1033, text)) {
            return text;
        }
        JP_THROW_MSG("cannot find resource (name='#" + std::to_string(id_) + "', type='#6')");
    }
    size_t size = 0;
    const void* text = Resource(id_, RT_STRING, module_).getPtr(size);
    return std::wstring(static_cast<const wchar_t*>(text), size / 2);
}

std::string StringResource::string(const std::string& defaultText) const {
    try {
        return tstrings::toACP(wide());
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return defaultText;
    }
}

std::string StringResource::utf8OrRaise() const {
    return tstrings::toUtf8(wide());
}

std::string StringResource::utf8(const std::string& defaultText) const {
    try {
        return utf8OrRaise();
    } catch (const std::exception& e) {
        REPORT_CAUGHT(e);
        return defaultText;
    }
}
