#include "AdminSwitches.h"

#include <algorithm>

#include "tstrings.h"

namespace {

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

} // namespace

AdminSwitches readAdminSwitches(const std::vector<std::string>& args, bool interactiveDesktop) {
    AdminSwitches result;
    bool hasSilentSwitch = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string word = tstrings::toLower(args[i]);
        if (i == 0) {
            result.configArgs.push_back(args[i]);
            continue;
        }
        if (word == "/silent" || word == "/verysilent") {
            result.silent = true;
            continue;
        }
        if (word == "/passive") {
            result.passive = true;
            continue;
        }
        if (word == "/norestart") {
            result.noRestart = true;
            continue;
        }
        if (word == "/q" || word == "/quiet" || startsWith(word, "/qn")) result.silent = true;
        if (startsWith(word, "/qb") || startsWith(word, "/qr")) result.passive = true;
        if (word == "/s") hasSilentSwitch = true;
        result.configArgs.push_back(args[i]);
    }
    result.silent = result.silent || hasSilentSwitch;
    if (!interactiveDesktop && !result.silent) {
        result.noDesktop = true;
        result.silent = true;
    }
    // Silent wins: passive still shows a page.
    if (result.silent) result.passive = false;
    // Both answer every question as a silent run does.
    if ((result.silent || result.passive) && !hasSilentSwitch) result.configArgs.push_back("/s");
    return result;
}
