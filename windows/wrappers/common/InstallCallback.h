#pragma once

#include <map>
#include <string>
#include <vector>

#include "MsiCallback.h"
#include "OperationMailbox.h"

// Given to the main install: turns the service's start of three actions
// into operations 1 to 3 of the progress mailbox. The package's custom
// actions post the later ones.
class InstallCallback : public msi::Callback {
public:
    explicit InstallCallback(
        const std::string& mailboxName = progress::OperationMailbox::SharedMemoryName);

    // Posts (id, Started) for an action start naming one of the three
    // actions. Raises ipc::PlatformError when no mailbox exists (a silent
    // run has none); the service's adapter logs it and the install goes on.
    void handle(UINT messageType, UINT flags, const std::string& text) override;

private:
    const std::string mailboxName;
    // Reused for every message.
    std::vector<std::string> pieces;
    // The names as the service writes them, with their full stop.
    const std::map<std::string, unsigned> operations;
};
