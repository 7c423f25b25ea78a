#include "InstallCallback.h"

#include <msi.h>

#include "ClientOperation.h"

InstallCallback::InstallCallback(const std::string& mailboxName)
    : mailboxName(mailboxName),
      operations{{"CostInitialize.", 1}, {"InstallInitialize.", 2}, {"CreateFolders.", 3}} {}

void InstallCallback::handle(UINT messageType, UINT, const std::string& text) {
    if (messageType != INSTALLMESSAGE_ACTIONSTART) {
        return;
    }
    // "Action 12:34:56: CostInitialize. Computing space requirements": the
    // action is the third piece; every single space separates two pieces.
    pieces.clear();
    std::string::size_type from = 0;
    for (;;) {
        const std::string::size_type space = text.find(' ', from);
        pieces.push_back(text.substr(from, space - from));
        if (space == std::string::npos) {
            break;
        }
        from = space + 1;
    }
    if (pieces.size() < 3) {
        return;
    }
    const auto operation = operations.find(pieces[2]);
    if (operation != operations.end()) {
        progress::ClientOperation(mailboxName).post(operation->second);
    }
}
