#include "BrowserExternal.h"

#include <stdexcept>

#include "Log.h"
#include "TeguError.h"
#include "WindowHandler.h"
#include "tstrings.h"

namespace ui {

namespace {

std::string bstrText(BSTR s) {
    return s ? tstrings::toUtf8(std::wstring(s, SysStringLen(s))) : std::string();
}

int levelNamed(const std::string& name) {
    const char* const names[] = {"TRACE", "INFO", "WARNING", "ERROR"};
    const int levels[] = {LOG_TRACE, LOG_INFO, LOG_WARNING, LOG_ERROR};
    for (int i = 0; i < 4; ++i) {
        if (name == names[i]) return levels[i];
    }
    return -1;
}

} // namespace

BrowserControl::BrowserExternal::BrowserExternal(BrowserControl* owner)
    : owner(owner), methods{"getLocale", "notify", "log", "setWindowProp", "delay"}, refCount(1) {}

STDMETHODIMP BrowserControl::BrowserExternal::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BrowserControl::BrowserExternal::AddRef() {
    return ++refCount;
}

STDMETHODIMP_(ULONG) BrowserControl::BrowserExternal::Release() {
    const long count = --refCount;
    if (count == 0) {
        delete this;
    }
    return count;
}

STDMETHODIMP BrowserControl::BrowserExternal::GetTypeInfoCount(UINT* count) {
    if (!count) return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

STDMETHODIMP BrowserControl::BrowserExternal::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_FAIL;
}

STDMETHODIMP BrowserControl::BrowserExternal::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count,
                                                          LCID, DISPID* ids) {
    if (!names || !ids) return E_INVALIDARG;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        const std::string name = names[i] ? tstrings::toUtf8(names[i]) : std::string();
        ids[i] = -1;
        for (size_t m = 0; m < methods.size(); ++m) {
            if (methods[m] == name) ids[i] = static_cast<DISPID>(m + 1);
        }
        if (ids[i] == -1) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

STDMETHODIMP BrowserControl::BrowserExternal::Invoke(DISPID id, REFIID, LCID, WORD flags,
                                                   DISPPARAMS* params, VARIANT* result,
                                                   EXCEPINFO*, UINT* argError) {
    if (!(flags & DISPATCH_METHOD)) return E_FAIL;
    if (id < 1 || id > static_cast<DISPID>(methods.size())) return DISP_E_MEMBERNOTFOUND;
    if (params && params->cNamedArgs) return DISP_E_NONAMEDARGS;
    std::vector<std::string> args;
    const UINT count = params ? params->cArgs : 0;
    // Arguments come last first; the list keeps the page's order.
    for (UINT i = count; i-- > 0;) {
        VARIANT text;
        VariantInit(&text);
        VariantScope scope(&text);
        if (FAILED(VariantChangeType(&text, &params->rgvarg[i], 0, VT_BSTR))) {
            if (argError) *argError = i;
            return DISP_E_TYPEMISMATCH;
        }
        args.push_back(bstrText(text.bstrVal));
    }
    try {
        const std::string answer = call(methods[id - 1], args);
        if (result && id == 1) {
            VariantInit(result);
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(tstrings::toUtf16(answer).c_str());
        }
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ui::BrowserControl::BrowserExternal::Invoke"), e);
    }
    return S_OK;
}

std::string BrowserControl::BrowserExternal::call(const std::string& method,
                                                 const std::vector<std::string>& args) {
    BrowserControl* const control = owner;
    // A page that is not this program's own gets nothing from the host.
    if (control && !control->showsOwnPage()) {
        LOG_AT_NAMED(LOG_ERROR, "ui::BrowserControl::BrowserExternal::call",
                     "external." << method << " refused: the control shows a page of another origin");
        return std::string();
    }
    WindowHandler* const handler = control ? control->getHandler() : nullptr;
    if (method == "getLocale") {
        return handler ? handler->getLocale() : "en";
    }
    if (method == "log") {
        log(args);
    } else if (method == "delay") {
        delay(args);
    } else if (method == "notify" || method == "setWindowProp") {
        if (!handler) return std::string();
        if (args.empty()) {
            JP_THROW_MSG("external." + method + ": no parameters specified");
        }
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (method == "notify") {
            handler->notify(args[0], rest);
        } else {
            handler->setWindowProp(args[0], rest);
        }
    } else {
        std::string list;
        for (const std::string& a : args) {
            list += (list.empty() ? "'" : ", '") + a + "'";
        }
        LOG_WARNING("(external) unknown method called: " << method << "(" << list << ")");
    }
    return std::string();
}

void BrowserControl::BrowserExternal::log(const std::vector<std::string>& args) {
    int level = args.empty() ? -1 : levelNamed(args[0]);
    const size_t first = level < 0 ? 0 : 1;
    std::string message = first < args.size() ? std::string() : "empty message";
    for (size_t i = first; i < args.size(); ++i) {
        message += args[i];
    }
    LOG_AT_NAMED(level < 0 ? LOG_ERROR : level, "ui::BrowserControl::BrowserExternal::log", message);
}

void BrowserControl::BrowserExternal::delay(const std::vector<std::string>& args) {
    const std::string text = args.empty() ? std::string() : args[0];
    unsigned long ms = 0;
    std::string reason;
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        reason = "not an unsigned decimal number";
    } else {
        try {
            ms = std::stoul(text);
        } catch (const std::exception& e) {
            reason = e.what();
        }
    }
    if (!reason.empty()) {
        LOG_AT_NAMED(LOG_ERROR, "ui::BrowserControl::BrowserExternal::delay",
                     "cannot get parameter value (" << text << "): " << reason);
        return;
    }
    Sleep(static_cast<DWORD>(ms));
}

} // namespace ui
