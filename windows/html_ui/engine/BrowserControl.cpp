#include "BrowserControl.h"

#include <mshtml.h>
#include <exdispid.h>

#include <stdexcept>

#include "BrowserExternal.h"
#include "FailureText.h"
#include "KioskRules.h"
#include "PageUrl.h"
#include "Log.h"
#include "TeguError.h"
#include "WindowHandler.h"
#include "tstrings.h"

namespace ui {

namespace {

const DISPID DISPID_WINDOW_ONERROR = 1002;

std::string bstrText(BSTR s) {
    return s ? tstrings::toUtf8(std::wstring(s, SysStringLen(s))) : std::string();
}

// The value as text; false (with hr) when it has none.
bool variantText(const VARIANT& value, std::string& text, HRESULT& hr) {
    VARIANT converted;
    VariantInit(&converted);
    VariantScope scope(&converted);
    hr = VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_BSTR);
    if (FAILED(hr)) return false;
    text = bstrText(converted.bstrVal);
    return true;
}

std::string getParamString(const VARIANT& param, unsigned index) {
    const VARIANT* value = &param;
    while (value->vt == (VT_BYREF | VT_VARIANT) && value->pvarVal) {
        value = value->pvarVal;
    }
    if (value->vt == VT_EMPTY) return "EMPTY";
    if (value->vt == VT_NULL) return "NULL";
    if (value->vt == VT_BSTR) return "\"" + bstrText(value->bstrVal) + "\"";
    std::string text;
    HRESULT hr;
    if (!variantText(*value, text, hr)) {
        LOG_AT_NAMED(LOG_WARNING, "ui::`anonymous-namespace'::getParamString",
                     "(extractParam[" << index << "])" << " COM Error: "
                                      << comFailure("VariantChangeType", hr));
        return "<unknown>";
    }
    return text;
}

// The event's arguments in their declared order.
std::string paramsText(const DISPPARAMS* params) {
    std::string text;
    for (UINT i = params->cArgs; i-- > 0;) {
        text += (text.empty() ? "" : ", ") + getParamString(params->rgvarg[i], params->cArgs - 1 - i);
    }
    return text;
}

// Keys the page never gets; see KioskRules.
bool isBlockedKey(const MSG* msg) {
    return msg && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) &&
           isKioskBlockedKey(static_cast<unsigned>(msg->wParam), GetKeyState(VK_CONTROL) < 0,
                             GetKeyState(VK_MENU) < 0);
}

// The first Cancel flag (a Boolean by reference) among the arguments.
VARIANT* cancelFlag(DISPPARAMS* params) {
    for (UINT i = 0; params && i < params->cArgs; ++i) {
        if (params->rgvarg[i].vt == (VT_BYREF | VT_BOOL)) return &params->rgvarg[i];
    }
    return nullptr;
}

// The argument at position (0-based, declared order), or null.
VARIANT* argument(DISPPARAMS* params, UINT position) {
    return params && position < params->cArgs ? &params->rgvarg[params->cArgs - 1 - position]
                                              : nullptr;
}

void setCancel(VARIANT* cancel) {
    if (cancel && cancel->vt == (VT_BYREF | VT_BOOL) && cancel->pboolVal) {
        *cancel->pboolVal = VARIANT_TRUE;
    }
}

class ExecJScriptAction : public ipc::Runnable {
public:
    ExecJScriptAction(BrowserControl& control, const std::string& script)
        : control(control), script(script) {}
    void run() override { result = control.execJScriptUnsafe(script); }
    std::string result;

private:
    BrowserControl& control;
    const std::string& script;
};

} // namespace

BrowserControl::BrowserControl(HWND hostWindow)
    : hostWindow(hostWindow), rect(), eventCookie(0), uiActive(false),
      external(new BrowserExternal(this)), handler(nullptr), refCount(1), eventThread(0) {}

BrowserControl::~BrowserControl() {
    external->Release();
}

bool BrowserControl::createControl(const RECT& area) {
    rect = area;
    releaseBrowser();
    if (!createBrowser() || !setUpBrowser()) {
        LOG_AT_NAMED(LOG_ERROR, "ui::BrowserControl::create", "BrowserControl::createControl failed");
        return false;
    }
    return true;
}

bool BrowserControl::createBrowser() {
    UniqueComPtr<IUnknown> object;
    return !CX_COM_FAILED("CreateInstance",
                          CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_ALL, IID_IUnknown,
                                           reinterpret_cast<void**>(object.receive()))) &&
           !CX_COM_FAILED("CreateInstance", OleRun(object.get())) &&
           !CX_COM_FAILED("CreateInstance",
                          object.get()->QueryInterface(IID_IWebBrowser2,
                                                       reinterpret_cast<void**>(browser.receive())));
}

bool BrowserControl::setUpBrowser() {
    UniqueComPtr<IOleObject> oleObject;
    if (FAILED(browser.get()->QueryInterface(IID_IOleObject,
                                             reinterpret_cast<void**>(oleObject.receive())))) {
        LOG_ERROR("webBrowser -> OleObject");
        return false;
    }
    UniqueComPtr<IViewObject> viewObject;
    IWebBrowser2* const b = browser.get();
    return !CX_COM_FAILED("OleObject->SetClientSite", oleObject.get()->SetClientSite(this)) &&
           !CX_COM_FAILED("OleObject->SetHostNames",
                          oleObject.get()->SetHostNames(L"containerApp", L"containerObj")) &&
           !CX_COM_FAILED("OleSetContainedObject", OleSetContainedObject(oleObject.get(), TRUE)) &&
           !CX_COM_FAILED("viewObject->SetAdvise",
                          b->QueryInterface(IID_IViewObject,
                                            reinterpret_cast<void**>(viewObject.receive()))) &&
           !CX_COM_FAILED("viewObject->SetAdvise",
                          viewObject.get()->SetAdvise(DVASPECT_CONTENT, 0, this)) &&
           !CX_COM_FAILED("DoVerb(OLEIVERB_INPLACEACTIVATE)",
                          oleObject.get()->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0,
                                                  hostWindow, &rect)) &&
           adviseBrowser() &&
           !CX_COM_FAILED("put_MenuBar", b->put_MenuBar(VARIANT_FALSE)) &&
           !CX_COM_FAILED("put_AddressBar", b->put_AddressBar(VARIANT_FALSE)) &&
           !CX_COM_FAILED("put_StatusBar", b->put_StatusBar(VARIANT_FALSE)) &&
           !CX_COM_FAILED("put_ToolBar", b->put_ToolBar(FALSE)) &&
           !CX_COM_FAILED("put_RegisterAsBrowser", b->put_RegisterAsBrowser(VARIANT_FALSE)) &&
           !CX_COM_FAILED("put_RegisterAsDropTarget", b->put_RegisterAsDropTarget(VARIANT_FALSE)) &&
           !CX_COM_FAILED("put_Visible", b->put_Visible(VARIANT_TRUE));
}

bool BrowserControl::adviseBrowser() {
    UniqueComPtr<IConnectionPointContainer> container;
    UniqueComPtr<IConnectionPoint> point;
    if (FAILED(browser.get()->QueryInterface(IID_IConnectionPointContainer,
                                             reinterpret_cast<void**>(container.receive())))) {
        LOG_ERROR("cannot get CP container");
        return false;
    }
    return !CX_COM_FAILED("FindConnectionPoint",
                          container.get()->FindConnectionPoint(DIID_DWebBrowserEvents2, point.receive())) &&
           !CX_COM_FAILED("Advise", point.get()->Advise(static_cast<DWebBrowserEvents2*>(this),
                                                        &eventCookie));
}

void BrowserControl::releaseBrowser() {
    if (!browser) return;
    UniqueComPtr<IOleObject> oleObject;
    if (SUCCEEDED(browser.get()->QueryInterface(IID_IOleObject,
                                                reinterpret_cast<void**>(oleObject.receive())))) {
        CX_COM_FAILED("OleObject->Close", oleObject.get()->Close(OLECLOSE_NOSAVE));
        CX_COM_FAILED("OleObject->SetClientSite", oleObject.get()->SetClientSite(nullptr));
    }
    UniqueComPtr<IViewObject> viewObject;
    if (SUCCEEDED(browser.get()->QueryInterface(IID_IViewObject,
                                                reinterpret_cast<void**>(viewObject.receive())))) {
        CX_COM_FAILED("viewObject->SetAdvise", viewObject.get()->SetAdvise(DVASPECT_CONTENT, 0, nullptr));
    }
    if (eventCookie) {
        UniqueComPtr<IConnectionPointContainer> container;
        UniqueComPtr<IConnectionPoint> point;
        if (SUCCEEDED(browser.get()->QueryInterface(IID_IConnectionPointContainer,
                                                    reinterpret_cast<void**>(container.receive()))) &&
            SUCCEEDED(container.get()->FindConnectionPoint(DIID_DWebBrowserEvents2, point.receive()))) {
            CX_COM_FAILED("Unadvise", point.get()->Unadvise(eventCookie));
        }
        eventCookie = 0;
    }
    browser.reset();
}

void BrowserControl::destroy() {
    handler = nullptr;
    hostWindow = nullptr;
    releaseBrowser();
    external->detach();
    Release();
}

void BrowserControl::openUrl(const std::string& url, WindowHandler* newHandler) {
    handler = newHandler;
    HRESULT hr = E_POINTER;
    if (browser) {
        UniqueBstr target(SysAllocString(tstrings::toUtf16(url).c_str()));
        VARIANT flags;
        VariantInit(&flags);
        flags.vt = VT_I4;
        flags.lVal = navNoHistory;
        hr = browser.get()->Navigate(target.get(), &flags, nullptr, nullptr, nullptr);
    }
    if (FAILED(hr)) {
        handler = nullptr;
        LOG_ERROR(comFailure("Navigate", hr));
        JP_THROW_MSG("webBrowser->Navigate failed");
    }
}

void BrowserControl::setRect(const RECT& area) {
    rect = area;
    if (!browser) return;
    UniqueComPtr<IOleInPlaceObject> inPlace;
    if (!CX_COM_FAILED("SetObjectRects", browser.get()->QueryInterface(
                                             IID_IOleInPlaceObject,
                                             reinterpret_cast<void**>(inPlace.receive())))) {
        CX_COM_FAILED("SetObjectRects", inPlace.get()->SetObjectRects(&rect, &rect));
    }
}

void BrowserControl::setFocus() {
    if (!browser) return;
    if (!uiActive) {
        UniqueComPtr<IOleObject> oleObject;
        if (FAILED(browser.get()->QueryInterface(IID_IOleObject,
                                                 reinterpret_cast<void**>(oleObject.receive())))) {
            LOG_ERROR("cannot get OleObject");
            return;
        }
        CX_COM_FAILED("DoVerb(OLEIVERB_UIACTIVATE)",
                      oleObject.get()->DoVerb(OLEIVERB_UIACTIVATE, nullptr, this, 0, hostWindow, &rect));
    }
    const HWND object = getObjectWnd();
    const HWND focus = GetFocus();
    if (object && focus != object && !IsChild(object, focus)) {
        SetFocus(object);
    }
}

bool BrowserControl::translateAccelerator(MSG* msg) {
    if (isBlockedKey(msg)) return true;
    if (!browser || !msg) return false;
    UniqueComPtr<IOleInPlaceActiveObject> active;
    if (FAILED(browser.get()->QueryInterface(IID_IOleInPlaceActiveObject,
                                             reinterpret_cast<void**>(active.receive())))) {
        return false;
    }
    return active.get()->TranslateAccelerator(msg) == S_OK;
}

HWND BrowserControl::getObjectWnd() {
    HWND object = nullptr;
    if (!browser) return object;
    UniqueComPtr<IOleWindow> oleWindow;
    if (!CX_COM_FAILED("OleWindow(GetWindow)",
                       browser.get()->QueryInterface(IID_IOleWindow,
                                                     reinterpret_cast<void**>(oleWindow.receive())))) {
        CX_COM_FAILED("OleWindow(GetWindow)", oleWindow.get()->GetWindow(&object));
    }
    return object;
}

std::string BrowserControl::execJScript(const std::string& script) {
    const DWORD current = GetCurrentThreadId();
    if ((hostWindow && GetWindowThreadProcessId(hostWindow, nullptr) == current) ||
        eventThread == current) {
        return execJScriptUnsafe(script);
    }
    ExecJScriptAction action(*this, script);
    uiThread.execute(&action);
    return action.result;
}

std::string BrowserControl::execJScriptUnsafe(const std::string& script) {
    if (!browser) {
        JP_THROW(std::logic_error("object is not created"));
    }
    UniqueComPtr<IDispatch> document;
    UniqueComPtr<IHTMLDocument2> htmlDocument;
    UniqueComPtr<IDispatch> window;
    DISPID evalId = 0;
    LPOLESTR evalName = const_cast<LPOLESTR>(L"eval");
    UniqueBstr text(SysAllocString(tstrings::toUtf16(script).c_str()));
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = text.get();
    DISPPARAMS params = {&arg, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    VariantScope resultScope(&result);
    if (CX_COM_FAILED("webBrowser->getDocument(Disp)", browser.get()->get_Document(document.receive())) ||
        CX_COM_FAILED("webBrowser->getDocument(HTMLDoc)",
                      document ? document.get()->QueryInterface(
                                     IID_IHTMLDocument2, reinterpret_cast<void**>(htmlDocument.receive()))
                               : E_POINTER) ||
        CX_COM_FAILED("doc->getScript()", htmlDocument.get()->get_Script(window.receive())) ||
        CX_COM_FAILED("script->getIDsOfNames",
                      window ? window.get()->GetIDsOfNames(IID_NULL, &evalName, 1,
                                                           LOCALE_SYSTEM_DEFAULT, &evalId)
                             : E_POINTER) ||
        CX_COM_FAILED("script->Invoke",
                      window.get()->Invoke(evalId, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD,
                                           &params, &result, nullptr, nullptr))) {
        JP_THROW_MSG("JScript execution error");
    }
    std::string value;
    HRESULT hr;
    if (result.vt != VT_EMPTY && !variantText(result, value, hr)) {
        LOG_WARNING(comFailure("the script's value as text", hr));
    }
    return value;
}

STDMETHODIMP BrowserControl::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                    EXCEPINFO*, UINT*) {
    eventThread = GetCurrentThreadId();
    switch (id) {
    case DISPID_BEFORENAVIGATE2:
    case DISPID_DOCUMENTCOMPLETE:
    case DISPID_NAVIGATEERROR:
    case DISPID_WINDOW_ONERROR:
        break;
    case DISPID_NEWWINDOW2:
    case DISPID_NEWWINDOW3:
        // Links reach the user through the host's own launch, never a
        // browser window started by this elevated process.
        LOG_AT_NAMED(LOG_WARNING, "ui::BrowserControl::Invoke", "A new window was refused");
        setCancel(cancelFlag(params));
        return S_OK;
    case DISPID_TITLECHANGE:
    case 110: case 111: case 200: case 201: case 204: case 252: case 254: case 263: case 268:
    case -609:
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    try {
        handleEvent(id, params);
    } catch (const std::exception& e) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ui::BrowserControl::Invoke"), e);
    } catch (...) {
        reportCaughtException(SOURCE_LOCATION_NAMED("ui::BrowserControl::Invoke"));
    }
    return S_OK;
}

void BrowserControl::handleEvent(DISPID id, DISPPARAMS* params) {
    switch (id) {
    case DISPID_BEFORENAVIGATE2: {
        // Links with an empty fragment only run script.
        std::string url;
        HRESULT hr;
        const VARIANT* target = argument(params, 1);
        if (!target || !variantText(*target, url, hr) || (!url.empty() && url.back() == '#')) {
            setCancel(argument(params, 6));
        } else if (!isOwnPage(url, pageUrl(""))) {
            LOG_AT_NAMED(LOG_WARNING, "ui::BrowserControl::Invoke",
                         "Navigation to [" << url << "] refused: not a page of this program");
            setCancel(argument(params, 6));
        }
        break;
    }
    case DISPID_DOCUMENTCOMPLETE:
        if (!handler) break;
        try {
            handler->onDocumentComplete();
        } catch (const std::exception& e) {
            // A failed load hook must not leave show waiting for the page.
            reportCaughtException(SOURCE_LOCATION_NAMED("ui::BrowserControl::Invoke"), e);
            LOG_AT_NAMED(LOG_ERROR, "ui::BrowserControl::Invoke",
                         "the page's load hook failed; handled as a navigation error");
            if (handler) handler->onNavigateError(E_FAIL);
        }
        break;
    case DISPID_NAVIGATEERROR: {
        LOG_AT_NAMED(LOG_ERROR, "ui::BrowserControl::Invoke",
                     "DISPID_NAVIGATEERROR: " << paramsText(params));
        setCancel(argument(params, 4));
        long status = 0;
        VARIANT* code = argument(params, 3);
        VARIANT number;
        VariantInit(&number);
        VariantScope scope(&number);
        if (code && SUCCEEDED(VariantChangeType(&number, code, 0, VT_I4))) {
            status = number.lVal;
        }
        if (handler) handler->onNavigateError(status);
        break;
    }
    default:
        LOG_AT_NAMED(LOG_ERROR, "ui::BrowserControl::Invoke",
                     "DISPID_HTMLWINDOWEVENTS_ONERROR: " << paramsText(params));
    }
}

STDMETHODIMP BrowserControl::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
        *object = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
        *object = static_cast<IOleInPlaceSite*>(this);
    } else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) {
        *object = static_cast<IOleInPlaceFrame*>(this);
    } else if (riid == IID_IAdviseSink) {
        *object = static_cast<IAdviseSink*>(this);
    } else if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2) {
        *object = static_cast<DWebBrowserEvents2*>(this);
    } else if (riid == IID_IDocHostUIHandler) {
        *object = static_cast<IDocHostUIHandler*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BrowserControl::AddRef() {
    return ++refCount;
}

STDMETHODIMP_(ULONG) BrowserControl::Release() {
    const long count = --refCount;
    if (count == 0) {
        delete this;
    }
    return count;
}

STDMETHODIMP BrowserControl::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_INVALIDARG;
    *hwnd = hostWindow;
    return S_OK;
}

STDMETHODIMP BrowserControl::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                              LPRECT position, LPRECT clip,
                                              LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !doc || !position || !clip || !info) return E_INVALIDARG;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = nullptr;
    *position = rect;
    *clip = rect;
    info->fMDIApp = FALSE;
    info->hwndFrame = hostWindow;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP BrowserControl::OnUIActivate() {
    uiActive = true;
    return S_OK;
}

STDMETHODIMP BrowserControl::OnUIDeactivate(BOOL) {
    uiActive = false;
    return S_OK;
}

STDMETHODIMP BrowserControl::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_INVALIDARG;
    info->cbSize = sizeof(DOCHOSTUIINFO);
    info->dwFlags = DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_THEME |
                    DOCHOSTUIFLAG_DPI_AWARE;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP BrowserControl::GetExternal(IDispatch** out) {
    if (!out) return E_INVALIDARG;
    *out = external;
    external->AddRef();
    return S_OK;
}

STDMETHODIMP BrowserControl::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (!key) return E_INVALIDARG;
    *key = nullptr;
    return S_FALSE;
}

STDMETHODIMP BrowserControl::GetDropTarget(IDropTarget*, IDropTarget** target) {
    if (!target) return E_INVALIDARG;
    *target = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserControl::TranslateUrl(DWORD, OLECHAR*, OLECHAR** out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserControl::FilterDataObject(IDataObject*, IDataObject** out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserControl::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP BrowserControl::GetTypeInfoCount(UINT* count) {
    if (!count) return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

// Answers fixed by the host's role: it shows no chrome, menus or borders.
STDMETHODIMP BrowserControl::SaveObject() { return E_NOTIMPL; }
STDMETHODIMP BrowserControl::GetMoniker(DWORD, DWORD, IMoniker**) { return E_NOTIMPL; }
STDMETHODIMP BrowserControl::ShowObject() { return S_OK; }
STDMETHODIMP BrowserControl::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP BrowserControl::RequestNewObjectLayout() { return E_NOTIMPL; }
STDMETHODIMP BrowserControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }
STDMETHODIMP BrowserControl::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP BrowserControl::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP BrowserControl::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP BrowserControl::OnInPlaceDeactivate() { return S_OK; }
STDMETHODIMP BrowserControl::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP BrowserControl::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP BrowserControl::OnPosRectChange(LPCRECT) { return E_NOTIMPL; }
STDMETHODIMP BrowserControl::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP BrowserControl::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP BrowserControl::SetBorderSpace(LPCBORDERWIDTHS) { return S_OK; }
STDMETHODIMP BrowserControl::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return S_OK; }
STDMETHODIMP BrowserControl::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return S_OK; }
STDMETHODIMP BrowserControl::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP BrowserControl::RemoveMenus(HMENU) { return S_OK; }
STDMETHODIMP BrowserControl::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP BrowserControl::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP BrowserControl::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }
STDMETHODIMP BrowserControl::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP BrowserControl::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
STDMETHODIMP BrowserControl::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_OK; }
STDMETHODIMP BrowserControl::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                    IOleInPlaceFrame*, IOleInPlaceUIWindow*) { return S_OK; }
STDMETHODIMP BrowserControl::HideUI() { return S_OK; }
STDMETHODIMP BrowserControl::UpdateUI() { return S_OK; }
STDMETHODIMP BrowserControl::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP BrowserControl::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP BrowserControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP BrowserControl::TranslateAccelerator(LPMSG msg, const GUID*, DWORD) {
    return isBlockedKey(msg) ? S_OK : S_FALSE;
}

bool BrowserControl::showsOwnPage() {
    BSTR location = nullptr;
    const bool known = browser && SUCCEEDED(browser.get()->get_LocationURL(&location)) && location;
    const std::string url = known ? tstrings::toUtf8(std::wstring(location, SysStringLen(location))) : "";
    SysFreeString(location);
    return isOwnPage(url, pageUrl(""));
}

} // namespace ui
