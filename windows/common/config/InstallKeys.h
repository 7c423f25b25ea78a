#pragma once

#include <string>
#include <vector>

// The keys an install run accepts. The table order is the order of the
// package property string, of the checks and of the log dumps.
namespace install_keys {

enum Flag : unsigned {
    EXPORTED = 1u << 0,                 // kept in the runtime settings file
    TO_PACKAGE = 1u << 1,               // passed in the CMDLINE property string
    TO_PACKAGE_COMMAND_LINE = 1u << 2,  // the argument is forwarded in MSI_CMDLINE
    PREFIX = 1u << 3,                   // an argument starting with the name matches
    READABLE_FILE = 1u << 4,            // the value names a file that must open
    PLAIN_TEXT_FILE = 1u << 5,          // the value names a text file
    ENTERPRISE_ONLY = 1u << 6,          // refused by other installers
};

// What the validator accepts for the key's value.
enum class Kind {
    ENABLE_DISABLE,  // "Enable", "Disable", "1", "0"
    LEVEL,           // "1" to "4", "L", "M", "H", "VH"
    INT,
    PATH,  // a valid absolute path
    STR,
    SWITCH,  // written alone on the command line, never with a value
};

struct Key {
    const char* name;
    unsigned flags;
    Kind kind;

    bool has(Flag flag) const { return (flags & flag) != 0; }
    bool isSwitch() const { return kind == Kind::SWITCH; }
};

// All 48 keys in table order.
const std::vector<Key>& table();

// The key of that name, letter case ignored; null when there is none.
const Key* find(const std::string& name);

// The first key a command-line argument names, null when none does. The
// name is the text before the first "=" or ":". An argument with a
// separator names only keys that take values; one without names only the
// switches, a prefix switch by the start of the argument.
const Key* matchArgument(const std::string& argument);

} // namespace install_keys
