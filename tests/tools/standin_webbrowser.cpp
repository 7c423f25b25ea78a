// The scripted stand-in as an in-process server for the WebBrowser class,
// for end-to-end runs: steps from the file CX_STANDIN_SCRIPT, calls logged
// to CX_STANDIN_LOG.
#include <exdisp.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "StandinBrowser.h"

extern "C" __declspec(dllexport) HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID riid,
                                                                      void** out) {
    if (!IsEqualCLSID(clsid, CLSID_WebBrowser)) return CLASS_E_CLASSNOTAVAILABLE;
    static const bool loaded = [] {
        std::ostringstream text;
        if (const char* script = std::getenv("CX_STANDIN_SCRIPT")) text << std::ifstream(script).rdbuf();
        const char* log = std::getenv("CX_STANDIN_LOG");
        standin::setScript(text.str(), log ? log : "");
        return true;
    }();
    (void)loaded;
    return standin::factory()->QueryInterface(riid, out);
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() {
    return S_FALSE;
}
