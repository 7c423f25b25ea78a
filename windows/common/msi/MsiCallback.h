#pragma once

#include <windows.h>

#include <string>

namespace msi {

// Receives the installer service's messages while an install or removal
// runs. The service calls it synchronously on the thread that runs the
// action, once per message: return quickly and never touch windows.
class Callback {
public:
    virtual ~Callback() {}

    // messageType: the service's message word with its low 24 bits cleared
    // (INSTALLMESSAGE_ACTIONSTART and the rest); flags: those low 24 bits
    // (buttons, icon, default button); text: the message text in UTF-8.
    virtual void handle(UINT messageType, UINT flags, const std::string& text) = 0;
};

} // namespace msi
