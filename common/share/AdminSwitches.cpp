#include "AdminSwitches.h"

#include <algorithm>
#include <iterator>

#include "tstrings.h"

namespace {

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The words that are this run's alone: the configuration never sees them.
struct OwnWord {
    const char* word;
    bool AdminSwitches::*flag;
};
const OwnWord kOwnWords[] = {
    {"/silent", &AdminSwitches::silent},
    {"/verysilent", &AdminSwitches::silent},
    {"/passive", &AdminSwitches::passive},
    {"/norestart", &AdminSwitches::noRestart},
    {"/exitcodes=msi", &AdminSwitches::installerExitCodes},
    {"/?", &AdminSwitches::help},
    {"/help", &AdminSwitches::help},
    {"/uninstall", &AdminSwitches::uninstall},
};

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
        const auto own = std::find_if(std::begin(kOwnWords), std::end(kOwnWords),
                                      [&word](const OwnWord& w) { return word == w.word; });
        if (own != std::end(kOwnWords)) {
            result.*(own->flag) = true;
            continue;
        }
        // Without its folder the word stays, and the configuration refuses it.
        if (word == "/extract" && i + 1 < args.size() && !startsWith(args[i + 1], "/")) {
            result.extractTo = args[++i];
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
