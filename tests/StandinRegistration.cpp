#include "StandinRegistration.h"

#include <exdisp.h>

#include <stdexcept>

#include "StandinBrowser.h"

StandinRegistration::StandinRegistration(ui::UIThread& ui) : ui(ui) {
    ui.execute([this] {
        if (FAILED(CoRegisterClassObject(CLSID_WebBrowser, standin::factory(), CLSCTX_INPROC_SERVER,
                                         REGCLS_MULTIPLEUSE, &cookie))) {
            throw std::runtime_error("CoRegisterClassObject failed");
        }
    });
}

StandinRegistration::~StandinRegistration() {
    ui.execute([this] { CoRevokeClassObject(cookie); });
}
