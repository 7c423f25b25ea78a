#include "LibraryTrustRule.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace libtrust {
namespace {

const std::uint32_t kWriteData = 0x2;       // also "add a file" to a folder
const std::uint32_t kAppendData = 0x4;      // also "add a folder"
const std::uint32_t kDeleteChild = 0x40;
const std::uint32_t kDelete = 0x10000;
const std::uint32_t kWriteDac = 0x40000;
const std::uint32_t kWriteOwner = 0x80000;
const std::uint32_t kGenericAll = 0x10000000;
const std::uint32_t kGenericWrite = 0x40000000;

// Further up, only renaming, deleting or re-permitting a level moves the
// library; adding new names next to it does not.
const std::uint32_t kReplaceRights = kDeleteChild | kDelete | kWriteDac | kWriteOwner | kGenericAll;
const std::uint32_t kChangeRights = kReplaceRights | kWriteData | kAppendData | kGenericWrite;

struct Alias {
    const char* code;
    const char* sid;
};
const Alias kSidAliases[] = {{"BA", "S-1-5-32-544"}, {"SY", "S-1-5-18"},  {"BU", "S-1-5-32-545"},
                             {"AU", "S-1-5-11"},     {"WD", "S-1-1-0"},   {"IU", "S-1-5-4"},
                             {"CO", "S-1-3-0"},      {"PU", "S-1-5-32-547"}};
const char kTrustedInstaller[] =
    "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

struct Right {
    const char* code;
    std::uint32_t mask;
};
const Right kRights[] = {
    {"GA", 0x10000000}, {"GR", 0x80000000}, {"GW", 0x40000000}, {"GX", 0x20000000},
    {"RC", 0x20000},    {"SD", 0x10000},    {"WD", 0x40000},    {"WO", 0x80000},
    {"RP", 0x10},       {"WP", 0x20},       {"CC", 0x1},        {"DC", 0x2},
    {"LC", 0x4},        {"SW", 0x8},        {"LO", 0x80},       {"DT", 0x40},
    {"CR", 0x100},      {"FA", 0x1F01FF},   {"FR", 0x120089},   {"FW", 0x120116},
    {"FX", 0x1200A0},   {"KA", 0xF003F},    {"KR", 0x20019},    {"KW", 0x20006},
    {"KX", 0x20019}};

std::string canonicalSid(const std::string& text) {
    for (const Alias& alias : kSidAliases) {
        if (text == alias.code) return alias.sid;
    }
    return text;
}

bool isTrustedSid(const std::string& sid, const std::string& systemOwnerSid) {
    return sid == "S-1-5-32-544" || sid == "S-1-5-18" || sid == kTrustedInstaller ||
           (!systemOwnerSid.empty() && sid == canonicalSid(systemOwnerSid));
}

// False for a right the rule does not know: such an entry is not trusted.
bool parseRights(const std::string& text, std::uint32_t& mask) {
    mask = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        char* end = nullptr;
        const unsigned long value = std::strtoul(text.c_str() + 2, &end, 16);
        mask = static_cast<std::uint32_t>(value);
        return end && *end == '\0';
    }
    if (text.size() % 2 != 0) return false;
    for (size_t i = 0; i < text.size(); i += 2) {
        bool known = false;
        for (const Right& right : kRights) {
            if (text.compare(i, 2, right.code) == 0) {
                mask |= right.mask;
                known = true;
            }
        }
        if (!known) return false;
    }
    return true;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

// The text of a section such as "O:" up to the next section or the end.
std::string section(const std::string& sddl, const char* tag, bool& found) {
    found = false;
    size_t at = 0;
    int depth = 0;
    for (; at + 1 < sddl.size(); ++at) {
        if (sddl[at] == '(') ++depth;
        if (sddl[at] == ')') --depth;
        if (depth == 0 && sddl[at] == tag[0] && sddl[at + 1] == ':') break;
    }
    if (at + 1 >= sddl.size()) return std::string();
    found = true;
    size_t end = at + 2;
    for (depth = 0; end < sddl.size(); ++end) {
        if (sddl[end] == '(') ++depth;
        if (sddl[end] == ')') --depth;
        if (depth == 0 && end + 1 < sddl.size() && sddl[end + 1] == ':' &&
            (sddl[end] == 'O' || sddl[end] == 'G' || sddl[end] == 'D' || sddl[end] == 'S')) {
            break;
        }
    }
    return sddl.substr(at + 2, end - at - 2);
}

std::string aceReason(const std::string& ace, std::uint32_t dangerous,
                      const std::string& systemOwnerSid) {
    const std::vector<std::string> fields = split(ace, ';');
    if (fields.size() < 6) return "its access list cannot be read";
    const std::string& type = fields[0];
    if (type != "A" && type != "OA" && type != "XA" && type != "ZA") return std::string();
    // An inherit-only entry applies to what is made below, not to this level.
    for (size_t i = 0; i + 1 < fields[1].size(); i += 2) {
        if (fields[1].compare(i, 2, "IO") == 0) return std::string();
    }
    std::uint32_t mask = 0;
    if (!parseRights(fields[2], mask)) return "its access list cannot be read";
    const std::string sid = canonicalSid(fields[5]);
    if ((mask & dangerous) == 0 || isTrustedSid(sid, systemOwnerSid)) return std::string();
    return sid + " may change it";
}

} // namespace

std::string untrustedReason(const std::string& sddl, Level level,
                            const std::string& systemOwnerSid) {
    bool found = false;
    const std::string owner = canonicalSid(section(sddl, "O", found));
    if (!found || owner.empty()) return "its owner cannot be read";
    if (!isTrustedSid(owner, systemOwnerSid)) return "it is owned by " + owner;
    const std::string dacl = section(sddl, "D", found);
    if (!found) return "it has no access list, so everyone may change it";
    const size_t firstAce = dacl.find('(');
    if (dacl.substr(0, firstAce).find("NO_ACCESS_CONTROL") != std::string::npos) {
        return "it has no access list, so everyone may change it";
    }
    const std::uint32_t dangerous = level == Level::Ancestor ? kReplaceRights : kChangeRights;
    for (size_t open = firstAce; open != std::string::npos; open = dacl.find('(', open + 1)) {
        const size_t close = dacl.find(')', open);
        if (close == std::string::npos) return "its access list cannot be read";
        const std::string reason =
            aceReason(dacl.substr(open + 1, close - open - 1), dangerous, systemOwnerSid);
        if (!reason.empty()) return reason;
    }
    return std::string();
}

} // namespace libtrust
