#include "StandinRegistration.h"

#include <exdisp.h>

#include <stdexcept>

#include "StandinBrowser.h"

DWORD registerStandin(ui::UIThread& ui) {
    DWORD cookie = 0;
    ui.execute([&] {
        if (FAILED(CoRegisterClassObject(CLSID_WebBrowser, standin::factory(), CLSCTX_INPROC_SERVER,
                                         REGCLS_MULTIPLEUSE, &cookie))) {
            throw std::runtime_error("CoRegisterClassObject failed");
        }
    });
    return cookie;
}

void revokeStandin(ui::UIThread& ui, DWORD cookie) {
    ui.execute([&] { CoRevokeClassObject(cookie); });
}
