#include "Registry.h"

#include <cstring>
#include <optional>
#include <stdexcept>

#include "Log.h"
#include "WinErrorHandling.h"

namespace {

const size_t kMaxLoggedValueText = 1024;

bool is64BitSystem() {
    SYSTEM_INFO info;
    GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

size_t viewIndex(RegistryView view) {
    switch (view) {
    case RegistryView::Bits32: return 1;
    case RegistryView::Bits64: return 2;
    default: return 0;
    }
}

REGSAM viewFlags(const Registry& key) { return static_cast<REGSAM>(key.view()); }

// "<operation> (<full name>) error", the first part of every failure message.
std::string context(const char* operation, const std::string& fullName) {
    return std::string(operation) + " (" + fullName + ") error";
}

std::string fullValueName(const Registry& key, const std::string& name) {
    return key.name() + "\\" + name;
}

// A value name split at its last '\' into a relative sub-key and the name.
struct ValuePath {
    explicit ValuePath(const std::string& name) {
        const size_t slash = name.rfind('\\');
        if (slash == std::string::npos) {
            value = name;
        } else {
            subkey = name.substr(0, slash);
            value = name.substr(slash + 1);
        }
    }
    std::string subkey;
    std::string value;
};

// The key that holds a named value: the parent itself or its sub-key,
// opened (or, for writing, created) in the parent's view.
class ValueKey {
public:
    ValueKey(const Registry& parent, const std::string& name, Registry::Mode mode)
        : parent_(parent), name_(name), path_(name) {
        if (!path_.subkey.empty()) {
            subkey_.emplace(Registry::open(parent, path_.subkey, mode));
        }
    }

    HKEY hkey() const { return key().hkey(); }
    const char* valueName() const { return path_.value.c_str(); }
    std::string fullName() const { return fullValueName(parent_, name_); }

private:
    const Registry& key() const { return subkey_ ? *subkey_ : parent_; }

    const Registry& parent_;
    std::string name_;
    ValuePath path_;
    std::optional<Registry> subkey_;
};

// One value's bytes and type; the query's status when it fails.
LONG queryValue(HKEY key, const char* name, Registry::Value& value) {
    for (;;) {
        DWORD size = static_cast<DWORD>(value.bytes.size());
        const LONG status = RegQueryValueExA(key, name, nullptr, &value.type,
                                             value.bytes.empty() ? nullptr : value.bytes.data(),
                                             &size);
        if (status == ERROR_MORE_DATA || (status == ERROR_SUCCESS && value.bytes.empty() && size != 0)) {
            value.bytes.resize(size);
            continue;
        }
        if (status == ERROR_SUCCESS) value.bytes.resize(size);
        return status;
    }
}

// Typed reads are located at the reader the caller called.
[[noreturn]] void raiseMismatch(const char* operation, const std::string& fullName, const char* detail,
                                const char* function) {
    JP_THROW_NAMED(std::runtime_error(context(operation, fullName) + ": " + detail), function);
}

DWORD dwordOf(const Registry::Value& value, const std::string& fullName) {
    if (value.type != REG_DWORD) raiseMismatch("query dword value", fullName, "wrong type", "Registry::getDword");
    if (value.bytes.size() != sizeof(DWORD)) {
        raiseMismatch("query dword value", fullName, "wrong size", "Registry::getDword");
    }
    DWORD result;
    std::memcpy(&result, value.bytes.data(), sizeof(result));
    return result;
}

std::string stringOf(const Registry::Value& value, const std::string& fullName) {
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) {
        raiseMismatch("query string value", fullName, "wrong type", "Registry::getString");
    }
    size_t size = value.bytes.size();
    if (size != 0 && value.bytes.back() == 0) --size;
    return std::string(value.bytes.begin(), value.bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

std::string writeLogText(const std::string& fullName, DWORD type, const std::string& text) {
    std::string line = "Set [" + fullName + "]=" + Registry::typeName(type) + "[";
    if (text.size() > kMaxLoggedValueText) {
        line += text.substr(0, kMaxLoggedValueText) + "...]; length=" + std::to_string(text.size());
    } else {
        line += text + "]";
    }
    return line;
}

void writeValue(const Registry& parent, const std::string& name, DWORD type,
                const void* data, size_t size, const char* operation,
                const char* function, const std::string& valueText) {
    const ValueKey target(parent, name, Registry::Mode::Write);
    const LONG status = RegSetValueExA(target.hkey(), target.valueName(), 0, type,
                                       static_cast<const BYTE*>(data),
                                       static_cast<DWORD>(size));
    if (status != ERROR_SUCCESS) {
        JP_THROW_NAMED(SysError(JP_API_ADDRESS(RegSetValueExA),
                                context(operation, target.fullName()),
                                static_cast<DWORD>(status)),
                       function);
    }
    LOG_AT_NAMED(LOG_TRACE, function, writeLogText(target.fullName(), type, valueText));
}

} // namespace

Registry::Registry(HKEY root, RegistryView view, const char* baseName)
    : root_(root), view_(view), name_(rootName(baseName, view, is64BitSystem())) {}

Registry::Registry(UniqueRegKey key, RegistryView view, std::string name)
    : root_(nullptr), owned_(std::move(key)), view_(view), name_(std::move(name)) {}

const Registry& Registry::root(size_t index) {
    static const Registry roots[] = {
        Registry(HKEY_LOCAL_MACHINE, RegistryView::Default, "HKLM"),
        Registry(HKEY_LOCAL_MACHINE, RegistryView::Bits32, "HKLM"),
        Registry(HKEY_LOCAL_MACHINE, RegistryView::Bits64, "HKLM"),
        Registry(HKEY_CURRENT_USER, RegistryView::Default, "HKCU"),
        Registry(HKEY_CURRENT_USER, RegistryView::Bits32, "HKCU"),
        Registry(HKEY_CURRENT_USER, RegistryView::Bits64, "HKCU"),
        Registry(HKEY_USERS, RegistryView::Default, "HKU"),
    };
    return roots[index];
}

const Registry& Registry::localMachine(RegistryView view) { return root(viewIndex(view)); }

const Registry& Registry::currentUser(RegistryView view) { return root(3 + viewIndex(view)); }

const Registry& Registry::users() { return root(6); }

std::string Registry::rootName(const std::string& base, RegistryView view,
                               bool is64BitSystem) {
    if (!is64BitSystem || view == RegistryView::Default) {
        return base;
    }
    return base + (view == RegistryView::Bits32 ? "32" : "64");
}

const char* Registry::typeName(DWORD type) {
    static const char* const names[] = {
        "REG_NONE",          "REG_SZ",
        "REG_EXPAND_SZ",     "REG_BINARY",
        "REG_DWORD",         "REG_DWORD_BIG_ENDIAN",
        "REG_LINK",          "REG_MULTI_SZ",
        "REG_RESOURCE_LIST", "REG_FULL_RESOURCE_DESCRIPTOR",
        "REG_RESOURCE_REQUIREMENTS_LIST", "REG_QWORD",
    };
    return type < sizeof(names) / sizeof(names[0]) ? names[type] : "Unknown";
}

Registry Registry::open(const Registry& parent, const std::string& subkey, Mode mode) {
    const std::string name = subkey.empty() ? parent.name() : parent.name() + "\\" + subkey;
    const REGSAM access = KEY_READ | (mode == Mode::Write ? KEY_WRITE : 0) | viewFlags(parent);
    UniqueRegKey key;
    if (mode == Mode::Write) {
        JP_CHECK_LSTATUS(RegCreateKeyExA(parent.hkey(), subkey.c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, access, nullptr,
                                         key.receive(), nullptr),
                         context("open key", name), RegCreateKeyExA);
    } else {
        JP_CHECK_LSTATUS(RegOpenKeyExA(parent.hkey(), subkey.c_str(), 0, access, key.receive()),
                         context("open key", name), RegOpenKeyExA);
    }
    return Registry(std::move(key), parent.view(), name);
}

std::optional<Registry> Registry::find(const Registry& parent, const std::string& subkey, Mode mode) {
    const std::string name = subkey.empty() ? parent.name() : parent.name() + "\\" + subkey;
    const REGSAM access = KEY_READ | (mode == Mode::Write ? KEY_WRITE : 0) | viewFlags(parent);
    UniqueRegKey key;
    const LONG status = RegOpenKeyExA(parent.hkey(), subkey.c_str(), 0, access, key.receive());
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND) return std::nullopt;
    JP_CHECK_LSTATUS(status, context("open key", name), RegOpenKeyExA);
    return Registry(std::move(key), parent.view(), name);
}

bool Registry::keyExists(const std::string& subkey) const {
    UniqueRegKey key;
    return RegOpenKeyExA(hkey(), subkey.c_str(), 0, KEY_READ | viewFlags(*this),
                         key.receive()) == ERROR_SUCCESS;
}

bool Registry::valueExists(const std::string& name, DWORD* type) const {
    try {
        const ValueKey target(*this, name, Mode::Read);
        DWORD found = REG_NONE;
        if (RegQueryValueExA(target.hkey(), target.valueName(), nullptr, &found, nullptr,
                             nullptr) != ERROR_SUCCESS) {
            return false;
        }
        if (type) {
            *type = found;
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

Registry::Value Registry::getValue(const std::string& name) const {
    const ValueKey target(*this, name, Mode::Read);
    Value value{{}, REG_NONE};
    JP_CHECK_LSTATUS(queryValue(target.hkey(), target.valueName(), value),
                     context("query value", target.fullName()), RegQueryValueExA);
    return value;
}

std::optional<Registry::Value> Registry::findValue(const std::string& name) const {
    const ValuePath path(name);
    std::optional<Registry> subkey;
    if (!path.subkey.empty()) {
        subkey = find(*this, path.subkey);
        if (!subkey) return std::nullopt;
    }
    Value value{{}, REG_NONE};
    const LONG status = queryValue((subkey ? *subkey : *this).hkey(), path.value.c_str(), value);
    if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
    JP_CHECK_LSTATUS(status, context("query value", fullValueName(*this, name)), RegQueryValueExA);
    return value;
}

DWORD Registry::getDword(const std::string& name) const {
    return dwordOf(getValue(name), fullValueName(*this, name));
}

std::optional<DWORD> Registry::findDword(const std::string& name) const {
    const std::optional<Value> value = findValue(name);
    if (!value) return std::nullopt;
    return dwordOf(*value, fullValueName(*this, name));
}

std::string Registry::getString(const std::string& name) const {
    return stringOf(getValue(name), fullValueName(*this, name));
}

std::optional<std::string> Registry::findString(const std::string& name) const {
    const std::optional<Value> value = findValue(name);
    if (!value) return std::nullopt;
    return stringOf(*value, fullValueName(*this, name));
}

std::string Registry::getString(const std::string& name, const std::string& fallback) const {
    try {
        return getString(name);
    } catch (const std::exception&) {
        return fallback;
    }
}

std::vector<uint8_t> Registry::getBinary(const std::string& name) const {
    Value value = getValue(name);
    if (value.type != REG_BINARY) {
        JP_THROW_MSG(context("query binary value", fullValueName(*this, name)) + ": wrong type");
    }
    return std::move(value.bytes);
}

void Registry::setDword(const std::string& name, DWORD value) const {
    writeValue(*this, name, REG_DWORD, &value, sizeof(value), "set dword value",
               "Registry::setDword", std::to_string(value));
}

void Registry::setString(const std::string& name, const std::string& text) const {
    writeValue(*this, name, REG_SZ, text.c_str(), text.size() + 1, "set string value",
               "Registry::setString", text);
}

void Registry::setBinary(const std::string& name, const std::vector<uint8_t>& bytes) const {
    writeValue(*this, name, REG_BINARY, bytes.data(), bytes.size(), "set binary value",
               "Registry::setBinary", "length=" + std::to_string(bytes.size()));
}

namespace {

// The status of deleting the value; raises for any failure but "absent".
LONG removeValue(const Registry& key, const std::string& name, const std::string& where) {
    const ValuePath path(name);
    UniqueRegKey subkey;
    if (!path.subkey.empty()) {
        // Opened without creating: deleting must not leave new keys behind.
        const LONG status = RegOpenKeyExA(key.hkey(), path.subkey.c_str(), 0,
                                          KEY_SET_VALUE | viewFlags(key), subkey.receive());
        if (status == ERROR_FILE_NOT_FOUND) return status;
        if (status != ERROR_SUCCESS) JP_THROW(SysError(where, static_cast<DWORD>(status)));
    }
    const LONG status = RegDeleteValueA(subkey ? subkey.get() : key.hkey(), path.value.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        JP_THROW(SysError(where, static_cast<DWORD>(status)));
    }
    if (status == ERROR_SUCCESS) {
        LOG_AT_NAMED(LOG_TRACE, "Registry::deleteValue", "Deleted [" << fullValueName(key, name) << "] value");
    }
    return status;
}

} // namespace

LONG Registry::deleteValue(const std::string& name) const {
    const std::string where = context("delete value", fullValueName(*this, name));
    const LONG status = removeValue(*this, name, where);
    if (status != ERROR_SUCCESS) JP_THROW(SysError(where, static_cast<DWORD>(status)));
    return status;
}

bool Registry::deleteValueIfPresent(const std::string& name) const {
    return removeValue(*this, name, context("delete value", fullValueName(*this, name))) ==
           ERROR_SUCCESS;
}

std::vector<std::string> Registry::getSubkeyNames() const {
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
        char buffer[256];
        DWORD length = sizeof(buffer);
        const LONG status = RegEnumKeyExA(hkey(), index, buffer, &length, nullptr, nullptr,
                                          nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            return names;
        }
        JP_CHECK_LSTATUS(status, context("enum subkeys", name_), RegEnumKeyExA);
        names.emplace_back(buffer, length);
    }
}

bool Registry::deleteTree(const std::string& subkey) const {
    const std::string name = name_ + "\\" + subkey;
    // An empty path would name this key itself and wipe everything below it.
    if (subkey.find_first_not_of('\\') == std::string::npos) {
        JP_THROW(std::invalid_argument(context("delete key tree", name) + ": empty sub-key path"));
    }
    UniqueRegKey key;
    const LONG status = RegOpenKeyExA(hkey(), subkey.c_str(), 0, KEY_READ | viewFlags(*this),
                                      key.receive());
    if (status == ERROR_FILE_NOT_FOUND) {
        return false;
    }
    JP_CHECK_LSTATUS(status, context("delete key tree", name), RegOpenKeyExA);
    const Registry tree(std::move(key), view_, name);
    for (const std::string& child : tree.getSubkeyNames()) {
        tree.deleteTree(child);
    }
    JP_CHECK_LSTATUS(RegDeleteKeyExA(hkey(), subkey.c_str(), viewFlags(*this), 0),
                     context("delete key tree", name), RegDeleteKeyExA);
    return true;
}
