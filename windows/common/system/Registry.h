#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "AutoHandle.h"

// Which registry view a root reads and writes; every key opened from it
// keeps the same view.
enum class RegistryView : REGSAM {
    Default = 0,
    Bits32 = KEY_WOW64_32KEY,
    Bits64 = KEY_WOW64_64KEY,
};

// One open registry key with a readable path ("HKLM64\Software\...") for
// messages and logs. Value names may carry a relative sub-key path: the
// part before the last '\' is a sub-key, the rest the value name.
// Failures raise TeguError<SysError> (system call) or
// TeguError<std::runtime_error> (wrong type or size).
class Registry {
public:
    enum class Mode { Read, Write };

    struct Value {
        std::vector<uint8_t> bytes;
        DWORD type;
    };

    // Root keys, never closed. On a 64-bit system the view-specific roots
    // are named "HKLM32", "HKLM64", "HKCU32", "HKCU64".
    static const Registry& localMachine(RegistryView view = RegistryView::Default);
    static const Registry& currentUser(RegistryView view = RegistryView::Default);
    static const Registry& users();

    // The name of a root: base alone for the default view or on a 32-bit
    // system, base + "32" / "64" otherwise.
    static std::string rootName(const std::string& base, RegistryView view,
                                bool is64BitSystem);

    // "REG_SZ", "REG_DWORD", ... and "Unknown" for unlisted types.
    static const char* typeName(DWORD type);

    // Opens (Read) or creates (Write) subkey of parent, in parent's view.
    static Registry open(const Registry& parent, const std::string& subkey,
                         Mode mode = Mode::Read);

    // Opens an existing subkey of parent without creating it; nullopt when
    // it is absent. Raises for any other failure (access denied, ...).
    static std::optional<Registry> find(const Registry& parent, const std::string& subkey,
                                        Mode mode = Mode::Read);

    Registry(Registry&&) = default;
    Registry& operator=(Registry&&) = default;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    const std::string& name() const { return name_; }
    RegistryView view() const { return view_; }
    HKEY hkey() const { return owned_ ? owned_.get() : root_; }

    // True when subkey can be opened for reading; never raises.
    bool keyExists(const std::string& subkey) const;

    // True when the value can be queried; stores its type in *type then.
    // Never raises; a missing sub-key in the name gives false.
    bool valueExists(const std::string& name, DWORD* type = nullptr) const;

    // The raw bytes and type of a value.
    Value getValue(const std::string& name) const;

    // The same as getValue, or nullopt when the value or the sub-key of its
    // name is absent.
    std::optional<Value> findValue(const std::string& name) const;

    // The typed readers below, answering nullopt for an absent value. A value
    // of another type or size still raises: it is not what its name says.
    std::optional<DWORD> findDword(const std::string& name) const;
    std::optional<std::string> findString(const std::string& name) const;

    // A REG_DWORD of exactly 4 bytes.
    DWORD getDword(const std::string& name) const;

    // A REG_SZ or REG_EXPAND_SZ (not expanded) without its terminating zero.
    std::string getString(const std::string& name) const;

    // The same, or fallback on any failure.
    std::string getString(const std::string& name, const std::string& fallback) const;

    // A REG_BINARY.
    std::vector<uint8_t> getBinary(const std::string& name) const;

    // Writers create a missing sub-key of the name and log at TRACE.
    void setDword(const std::string& name, DWORD value) const;
    void setString(const std::string& name, const std::string& text) const;
    void setBinary(const std::string& name, const std::vector<uint8_t>& bytes) const;

    // Returns 0; raises when the value cannot be deleted (missing included).
    LONG deleteValue(const std::string& name) const;
    // False when the value (or its sub-key) was not there; raises for any
    // other failure.
    bool deleteValueIfPresent(const std::string& name) const;

    // Names of the direct sub-keys, in enumeration order.
    std::vector<std::string> getSubkeyNames() const;

    // Deletes subkey with all its sub-keys and values, in this key's view.
    // False when it did not exist.
    bool deleteTree(const std::string& subkey) const;

private:
    Registry(HKEY root, RegistryView view, const char* baseName);
    Registry(UniqueRegKey key, RegistryView view, std::string name);

    // The roots in the order HKLM, HKCU (default, 32-bit, 64-bit view), HKU.
    static const Registry& root(size_t index);

    HKEY root_;
    UniqueRegKey owned_;
    RegistryView view_;
    std::string name_;
};
