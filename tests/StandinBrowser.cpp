#include "StandinBrowser.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <mshtmhst.h>

#include <deque>
#include <fstream>
#include <mutex>
#include <sstream>

namespace standin {

namespace {

std::mutex stateMutex;
std::deque<std::string> steps;
std::vector<Call> recorded;
std::string logFile;
std::wstring evalAnswer;
IDispatch* heldExternal = nullptr;

void record(const std::string& what) {
    std::lock_guard<std::mutex> lock(stateMutex);
    recorded.push_back(Call{what, GetCurrentThreadId()});
    if (!logFile.empty()) {
        std::ofstream(logFile, std::ios::app) << GetCurrentThreadId() << "\t" << what << "\n";
    }
}

std::string narrow(const wchar_t* s) {
    if (!s) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s, -1, &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring wide(const std::string& s) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? n - 1 : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, &out[0], n);
    return out;
}

#define NOTIMPL(name, ...) \
    STDMETHODIMP name(__VA_ARGS__) override { return E_NOTIMPL; }
#define RECORDED(name, ...) \
    STDMETHODIMP name(__VA_ARGS__) override { record(#name); return S_OK; }

// The document and its script window in one: the host asks the document
// for IHTMLDocument2 and calls only get_Script, the first slot after
// IDispatch, which IHTMLDocument has alone.
class Page final : public IHTMLDocument {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLDocument ||
            riid == IID_IHTMLDocument2) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG n = InterlockedDecrement(&refs);
        if (n == 0) delete this;
        return n;
    }
    STDMETHODIMP get_Script(IDispatch** script) override {
        *script = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        *ids = narrow(names[0]) == "eval" ? 1 : DISPID_UNKNOWN;
        return *ids == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO*, UINT*) override {
        record("eval " + narrow(params->rgvarg[0].bstrVal));
        std::lock_guard<std::mutex> lock(stateMutex);
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(evalAnswer.c_str());
        return S_OK;
    }
    NOTIMPL(GetTypeInfoCount, UINT*)
    NOTIMPL(GetTypeInfo, UINT, LCID, ITypeInfo**)

private:
    LONG refs = 1;
};

class Browser final : public IWebBrowser2,
                public IOleObject,
                public IOleInPlaceObject,
                public IOleInPlaceActiveObject,
                public IViewObject,
                public IConnectionPointContainer,
                public IConnectionPoint {
public:
    ~Browser() {
        setSite(nullptr);
        if (sink) sink->Release();
        if (adviseSink) adviseSink->Release();
        if (window) DestroyWindow(window);
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser ||
            riid == IID_IWebBrowserApp || riid == IID_IWebBrowser2) {
            *out = static_cast<IWebBrowser2*>(this);
        } else if (riid == IID_IOleObject) {
            *out = static_cast<IOleObject*>(this);
        } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject) {
            *out = static_cast<IOleInPlaceObject*>(this);
        } else if (riid == IID_IOleInPlaceActiveObject) {
            *out = static_cast<IOleInPlaceActiveObject*>(this);
        } else if (riid == IID_IViewObject) {
            *out = static_cast<IViewObject*>(this);
        } else if (riid == IID_IConnectionPointContainer) {
            *out = static_cast<IConnectionPointContainer*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG n = InterlockedDecrement(&refs);
        if (n == 0) delete this;
        return n;
    }

    // What the host calls.
    STDMETHODIMP Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
        record("Navigate " + narrow(url));
        this->url = url;
        if (!window) return E_UNEXPECTED;
        PostMessageW(window, WM_APP, 0, 0);
        return S_OK;
    }
    STDMETHODIMP get_Document(IDispatch** document) override {
        record("get_Document");
        *document = new Page;
        return S_OK;
    }
    RECORDED(put_Visible, VARIANT_BOOL)
    RECORDED(put_StatusBar, VARIANT_BOOL)
    RECORDED(put_ToolBar, int)
    RECORDED(put_MenuBar, VARIANT_BOOL)
    RECORDED(put_RegisterAsBrowser, VARIANT_BOOL)
    RECORDED(put_RegisterAsDropTarget, VARIANT_BOOL)
    RECORDED(put_AddressBar, VARIANT_BOOL)
    RECORDED(SetHostNames, LPCOLESTR, LPCOLESTR)
    RECORDED(SetObjectRects, LPCRECT, LPCRECT)
    STDMETHODIMP SetClientSite(IOleClientSite* newSite) override {
        record(newSite ? "SetClientSite" : "SetClientSite null");
        setSite(newSite);
        return S_OK;
    }
    STDMETHODIMP Close(DWORD) override {
        record("Close");
        if (window) DestroyWindow(window);
        window = nullptr;
        return S_OK;
    }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT) override {
        record("DoVerb " + std::to_string(verb));
        if (!window) {
            window = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                                     nullptr, nullptr, nullptr);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pageProc));
        }
        return S_OK;
    }
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink* newSink) override {
        record(newSink ? "SetAdvise" : "SetAdvise null");
        if (newSink) newSink->AddRef();
        if (adviseSink) adviseSink->Release();
        adviseSink = newSink;
        return S_OK;
    }
    STDMETHODIMP FindConnectionPoint(REFIID, IConnectionPoint** point) override {
        record("FindConnectionPoint");
        *point = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP Advise(IUnknown* unknown, DWORD* cookie) override {
        record("Advise");
        unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink));
        *cookie = 1;
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD) override {
        record("Unadvise");
        if (sink) sink->Release();
        sink = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetWindow(HWND* hwnd) override {
        record("GetWindow");
        *hwnd = window;
        return S_OK;
    }
    STDMETHODIMP TranslateAccelerator(LPMSG) override { return S_FALSE; }

    NOTIMPL(GetTypeInfoCount, UINT*)
    NOTIMPL(GetTypeInfo, UINT, LCID, ITypeInfo**)
    NOTIMPL(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
    NOTIMPL(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
    NOTIMPL(GoBack) NOTIMPL(GoForward) NOTIMPL(GoHome) NOTIMPL(GoSearch)
    NOTIMPL(Refresh) NOTIMPL(Refresh2, VARIANT*) NOTIMPL(Stop)
    NOTIMPL(get_Application, IDispatch**) NOTIMPL(get_Parent, IDispatch**)
    NOTIMPL(get_Container, IDispatch**) NOTIMPL(get_TopLevelContainer, VARIANT_BOOL*)
    NOTIMPL(get_Type, BSTR*) NOTIMPL(get_Left, LONG*) NOTIMPL(put_Left, LONG)
    NOTIMPL(get_Top, LONG*) NOTIMPL(put_Top, LONG) NOTIMPL(get_Width, LONG*)
    NOTIMPL(put_Width, LONG) NOTIMPL(get_Height, LONG*) NOTIMPL(put_Height, LONG)
    NOTIMPL(get_LocationName, BSTR*) NOTIMPL(get_LocationURL, BSTR*)
    NOTIMPL(get_Busy, VARIANT_BOOL*) NOTIMPL(Quit) NOTIMPL(ClientToWindow, int*, int*)
    NOTIMPL(PutProperty, BSTR, VARIANT) NOTIMPL(GetProperty, BSTR, VARIANT*)
    NOTIMPL(get_Name, BSTR*) NOTIMPL(get_HWND, SHANDLE_PTR*) NOTIMPL(get_FullName, BSTR*)
    NOTIMPL(get_Path, BSTR*) NOTIMPL(get_Visible, VARIANT_BOOL*)
    NOTIMPL(get_StatusBar, VARIANT_BOOL*) NOTIMPL(get_StatusText, BSTR*)
    NOTIMPL(put_StatusText, BSTR) NOTIMPL(get_ToolBar, int*) NOTIMPL(get_MenuBar, VARIANT_BOOL*)
    NOTIMPL(get_FullScreen, VARIANT_BOOL*) NOTIMPL(put_FullScreen, VARIANT_BOOL)
    NOTIMPL(Navigate2, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
    NOTIMPL(QueryStatusWB, OLECMDID, OLECMDF*)
    NOTIMPL(ExecWB, OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
    NOTIMPL(ShowBrowserBar, VARIANT*, VARIANT*, VARIANT*)
    NOTIMPL(get_ReadyState, READYSTATE*) NOTIMPL(get_Offline, VARIANT_BOOL*)
    NOTIMPL(put_Offline, VARIANT_BOOL) NOTIMPL(get_Silent, VARIANT_BOOL*)
    NOTIMPL(put_Silent, VARIANT_BOOL) NOTIMPL(get_RegisterAsBrowser, VARIANT_BOOL*)
    NOTIMPL(get_RegisterAsDropTarget, VARIANT_BOOL*) NOTIMPL(get_TheaterMode, VARIANT_BOOL*)
    NOTIMPL(put_TheaterMode, VARIANT_BOOL) NOTIMPL(get_AddressBar, VARIANT_BOOL*)
    NOTIMPL(get_Resizable, VARIANT_BOOL*) NOTIMPL(put_Resizable, VARIANT_BOOL)
    NOTIMPL(GetClientSite, IOleClientSite**) NOTIMPL(SetMoniker, DWORD, IMoniker*)
    NOTIMPL(GetMoniker, DWORD, DWORD, IMoniker**) NOTIMPL(InitFromData, IDataObject*, WINBOOL, DWORD)
    NOTIMPL(GetClipboardData, DWORD, IDataObject**) NOTIMPL(EnumVerbs, IEnumOLEVERB**)
    NOTIMPL(Update) NOTIMPL(IsUpToDate) NOTIMPL(GetUserClassID, CLSID*)
    NOTIMPL(GetUserType, DWORD, LPOLESTR*) NOTIMPL(SetExtent, DWORD, SIZEL*)
    NOTIMPL(GetExtent, DWORD, SIZEL*) NOTIMPL(Advise, IAdviseSink*, DWORD*)
    NOTIMPL(EnumAdvise, IEnumSTATDATA**) NOTIMPL(GetMiscStatus, DWORD, DWORD*)
    NOTIMPL(SetColorScheme, LOGPALETTE*)
    NOTIMPL(Draw, DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECTL, LPCRECTL,
            WINBOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
    NOTIMPL(GetColorSet, DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**)
    NOTIMPL(Freeze, DWORD, LONG, void*, DWORD*) NOTIMPL(Unfreeze, DWORD)
    NOTIMPL(GetAdvise, DWORD*, DWORD*, IAdviseSink**)
    NOTIMPL(EnumConnectionPoints, IEnumConnectionPoints**)
    NOTIMPL(GetConnectionInterface, IID*) NOTIMPL(GetConnectionPointContainer, IConnectionPointContainer**)
    NOTIMPL(EnumConnections, IEnumConnections**) NOTIMPL(ContextSensitiveHelp, WINBOOL)
    NOTIMPL(InPlaceDeactivate) NOTIMPL(UIDeactivate) NOTIMPL(ReactivateAndUndo)
    NOTIMPL(OnFrameWindowActivate, WINBOOL) NOTIMPL(OnDocWindowActivate, WINBOOL)
    NOTIMPL(ResizeBorder, LPCRECT, IOleInPlaceUIWindow*, WINBOOL) NOTIMPL(EnableModeless, WINBOOL)

private:
    void setSite(IOleClientSite* newSite) {
        if (newSite) newSite->AddRef();
        if (site) site->Release();
        site = newSite;
    }

    static LRESULT CALLBACK pageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Browser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message != WM_APP || !self) return DefWindowProcW(hwnd, message, wParam, lParam);
        std::string step;
        {
            std::lock_guard<std::mutex> lock(stateMutex);
            if (steps.empty()) return 0;
            step = steps.front();
            steps.pop_front();
        }
        if (step == "end") return 0;
        self->AddRef();
        self->play(step);
        if (self->window) PostMessageW(self->window, WM_APP, 0, 0);
        self->Release();
        return 0;
    }

    void fire(DISPID id, std::vector<VARIANT>& args) {
        DISPPARAMS params = {args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        if (sink) sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }

    void play(const std::string& step) {
        std::istringstream words(step);
        std::string verb, word;
        words >> verb;
        std::vector<std::string> rest;
        while (words >> word) rest.push_back(word);
        VARIANT target, status, frame;
        VariantInit(&target);
        target.vt = VT_BSTR;
        target.bstrVal = SysAllocString(verb == "before" && !rest.empty() ? wide(rest[0]).c_str()
                                                                           : url.c_str());
        VariantInit(&frame);
        VariantInit(&status);
        status.vt = VT_I4;
        status.lVal = verb == "error" && !rest.empty() ? std::stol(rest[0]) : 0;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        std::vector<VARIANT> args;
        auto push = [&args](VARTYPE vt, void* p) {
            VARIANT v;
            VariantInit(&v);
            v.vt = vt;
            v.byref = p;
            args.insert(args.begin(), v);
        };
        push(VT_DISPATCH, static_cast<IDispatch*>(static_cast<IWebBrowser2*>(this)));
        push(VT_BYREF | VT_VARIANT, &target);
        if (verb == "complete") {
            fire(DISPID_DOCUMENTCOMPLETE, args);
        } else if (verb == "error") {
            push(VT_BYREF | VT_VARIANT, &frame);
            push(VT_BYREF | VT_VARIANT, &status);
            push(VT_BYREF | VT_BOOL, &cancel);
            fire(DISPID_NAVIGATEERROR, args);
            record(std::string("NavigateError cancel=") + (cancel ? "1" : "0"));
        } else if (verb == "before") {
            for (int i = 0; i < 4; ++i) push(VT_BYREF | VT_VARIANT, &frame);
            push(VT_BYREF | VT_BOOL, &cancel);
            fire(DISPID_BEFORENAVIGATE2, args);
            record(std::string("BeforeNavigate2 cancel=") + (cancel ? "1" : "0"));
        } else if (verb == "external" && !rest.empty()) {
            callExternal(rest);
        } else if (verb == "answer") {
            std::lock_guard<std::mutex> lock(stateMutex);
            evalAnswer = wide(step.size() > 7 ? step.substr(7) : std::string());
        }
        VariantClear(&target);
    }

    void callExternal(const std::vector<std::string>& words) {
        IDocHostUIHandler* ui = nullptr;
        IDispatch* external = nullptr;
        if (!site || FAILED(site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&ui)))) {
            return;
        }
        ui->GetExternal(&external);
        ui->Release();
        if (!external) return;
        {
            std::lock_guard<std::mutex> lock(stateMutex);
            if (heldExternal) heldExternal->Release();
            heldExternal = external;
            external->AddRef();
        }
        record("external " + callMethod(external, words));
        external->Release();
    }

public:
    // "<method> -> <answer>", calling method with the other words.
    static std::string callMethod(IDispatch* external, const std::vector<std::string>& words) {
        std::wstring name = wide(words[0]);
        LPOLESTR names[] = {&name[0]};
        DISPID id = 0;
        external->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
        std::vector<VARIANT> args;
        for (size_t i = words.size(); i-- > 1;) {
            VARIANT v;
            VariantInit(&v);
            v.vt = VT_BSTR;
            v.bstrVal = SysAllocString(wide(words[i]).c_str());
            args.push_back(v);
        }
        DISPPARAMS params = {args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        VARIANT result;
        VariantInit(&result);
        external->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        const std::string answer = result.vt == VT_BSTR ? narrow(result.bstrVal) : std::string();
        VariantClear(&result);
        for (VARIANT& v : args) VariantClear(&v);
        return words[0] + " -> " + answer;
    }

private:
    LONG refs = 1;
    HWND window = nullptr;
    IOleClientSite* site = nullptr;
    IDispatch* sink = nullptr;
    IAdviseSink* adviseSink = nullptr;
    std::wstring url;
};

class Factory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        record("CreateInstance");
        Browser* browser = new Browser;
        const HRESULT hr = browser->QueryInterface(riid, out);
        browser->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

} // namespace

void setScript(const std::string& text) {
    std::lock_guard<std::mutex> lock(stateMutex);
    steps.clear();
    recorded.clear();
    evalAnswer.clear();
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) steps.push_back(line);
    }
}

std::vector<Call> calls() {
    std::lock_guard<std::mutex> lock(stateMutex);
    return recorded;
}

void setLogFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(stateMutex);
    logFile = path;
}

IClassFactory* factory() {
    static Factory instance;
    return &instance;
}

IDispatch* takeExternal() {
    std::lock_guard<std::mutex> lock(stateMutex);
    IDispatch* external = heldExternal;
    heldExternal = nullptr;
    return external;
}

std::string callExternal(IDispatch* external, const std::vector<std::string>& words) {
    return Browser::callMethod(external, words);
}

} // namespace standin
