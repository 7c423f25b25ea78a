#include "StandinBrowser.h"

#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <mshtmhst.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <sstream>
#include <thread>

#include "AutoHandle.h"
#include "Log.h"
#include "tstrings.h"

namespace standin {

namespace {

std::mutex stateMutex;
std::deque<std::string> steps;
std::vector<Call> recorded;
std::string logFile;
std::wstring evalAnswer;
std::string evalFailing;
bool refusing = false;
unsigned scriptGeneration = 0;
IDispatch* heldExternal = nullptr;

void record(const std::string& what) {
    std::lock_guard<std::mutex> lock(stateMutex);
    recorded.push_back(Call{what, GetCurrentThreadId()});
    // As log records, so that a run's own log can hold them in their order.
    if (!logFile.empty()) {
        Logger(logFile).write(LOG_TRACE, what, __FILE__, __LINE__, "standin");
    }
}

std::string narrow(const wchar_t* s) {
    return s ? tstrings::toUtf8(s) : std::string();
}

// Boxes are answered in the script's order, each once the one before closed.
std::mutex boxMutex;
std::condition_variable boxTurn;
unsigned boxTickets = 0, boxesServed = 0;

// Waits up to 60 s for a message box of this process, presses the answer's
// button and waits for the box to close.
void answerBox(const std::string& answer, unsigned ticket) {
    std::unique_lock<std::mutex> turn(boxMutex);
    boxTurn.wait(turn, [ticket] { return boxesServed == ticket; });
    turn.unlock();
    HWND box = nullptr;
    for (int tries = 0; tries < 600 && !box; ++tries, Sleep(100)) {
        while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(box, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(box)) break;
        }
    }
    if (box) {
        wchar_t caption[256] = {}, text[1024] = {};
        GetWindowTextW(box, caption, 256);
        GetDlgItemTextW(box, 0xFFFF, text, 1024);
        record("box " + narrow(caption) + ": " + narrow(text) + " -> " + answer);
        PostMessageW(box, WM_COMMAND, answer == "yes" ? IDYES : answer == "ok" ? IDOK : IDNO, 0);
        for (int wait = 0; wait < 600 && IsWindow(box); ++wait) Sleep(100);
    } else {
        record("box none appeared");
    }
    turn.lock();
    ++boxesServed;
    boxTurn.notify_all();
}

void startAnswering(const std::string& answer) {
    std::lock_guard<std::mutex> turn(boxMutex);
    std::thread(answerBox, answer, boxTickets++).detach();
}

// Keeps a reference to value in slot, dropping the one it held.
template <class I>
HRESULT hold(I*& slot, I* value) {
    if (value) value->AddRef();
    if (slot) slot->Release();
    slot = value;
    return S_OK;
}

#define NOTIMPL(name, ...) \
    STDMETHODIMP name(__VA_ARGS__) override { return E_NOTIMPL; }
#define RECORDED(name, ...) \
    STDMETHODIMP name(__VA_ARGS__) override { record(#name); return S_OK; }

// The control is also its page's document and script window: the host asks
// the document for IHTMLDocument2 and calls only get_Script, the first slot
// after IDispatch, which IHTMLDocument has alone; the script window's eval
// is the IDispatch that both share.
class Browser final : public IWebBrowser2,
                      public IHTMLDocument,
                      public IOleObject,
                      public IOleInPlaceObject,
                      public IViewObject,
                      public IConnectionPointContainer,
                      public IConnectionPoint {
public:
    ~Browser() {
        hold(site, static_cast<IOleClientSite*>(nullptr));
        hold(sink, static_cast<IDispatch*>(nullptr));
        hold(adviseSink, static_cast<IAdviseSink*>(nullptr));
        if (window) DestroyWindow(window);
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser ||
            riid == IID_IWebBrowserApp || riid == IID_IWebBrowser2) {
            *out = static_cast<IWebBrowser2*>(this);
        } else if (riid == IID_IHTMLDocument || riid == IID_IHTMLDocument2) {
            *out = static_cast<IHTMLDocument*>(this);
        } else if (riid == IID_IOleObject) {
            *out = static_cast<IOleObject*>(this);
        } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject) {
            *out = static_cast<IOleInPlaceObject*>(this);
        } else if (riid == IID_IViewObject) {
            *out = static_cast<IViewObject*>(this);
        } else if (riid == IID_IConnectionPointContainer) {
            *out = static_cast<IConnectionPointContainer*>(this);
        } else if (riid == IID_IConnectionPoint) {
            *out = static_cast<IConnectionPoint*>(this);
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
        return n ? n : (delete this, 0);
    }

    // What the host calls.
    STDMETHODIMP Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
        record("Navigate " + narrow(url));
        this->url = url;
        if (!window) return E_UNEXPECTED;
        {
            std::lock_guard<std::mutex> lock(stateMutex);
            scriptOfPage = scriptGeneration;
        }
        PostMessageW(window, WM_APP, 0, 0);
        return S_OK;
    }
    // The page navigated to, unless a "location" step named another.
    STDMETHODIMP get_LocationURL(BSTR* location) override {
        std::lock_guard<std::mutex> lock(stateMutex);
        *location = SysAllocString((shownUrl.empty() ? url : shownUrl).c_str());
        return S_OK;
    }
    STDMETHODIMP get_Document(IDispatch** document) override {
        record("get_Document");
        return get_Script(document);
    }
    STDMETHODIMP get_Script(IDispatch** script) override {
        *script = static_cast<IHTMLDocument*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        *ids = narrow(names[0]) == "eval" ? 1 : DISPID_UNKNOWN;
        return *ids == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO*, UINT*) override {
        if (id != 1 || !params || params->cArgs != 1 || !result) return DISP_E_MEMBERNOTFOUND;
        const std::string script = narrow(params->rgvarg[0].bstrVal);
        record("eval " + script);
        std::lock_guard<std::mutex> lock(stateMutex);
        if (!evalFailing.empty() && script.compare(0, evalFailing.size(), evalFailing) == 0) {
            return DISP_E_EXCEPTION;
        }
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(evalAnswer.c_str());
        return S_OK;
    }
    RECORDED(put_Visible, VARIANT_BOOL) RECORDED(put_StatusBar, VARIANT_BOOL) RECORDED(put_ToolBar, int)
    RECORDED(put_MenuBar, VARIANT_BOOL) RECORDED(put_RegisterAsBrowser, VARIANT_BOOL)
    RECORDED(put_RegisterAsDropTarget, VARIANT_BOOL) RECORDED(put_AddressBar, VARIANT_BOOL)
    RECORDED(SetHostNames, LPCOLESTR, LPCOLESTR) RECORDED(SetObjectRects, LPCRECT, LPCRECT)
    STDMETHODIMP SetClientSite(IOleClientSite* newSite) override {
        record(newSite ? "SetClientSite" : "SetClientSite null");
        return hold(site, newSite);
    }
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink* newSink) override {
        record(newSink ? "SetAdvise" : "SetAdvise null");
        return hold(adviseSink, newSink);
    }
    STDMETHODIMP Advise(IUnknown* unknown, DWORD* cookie) override {
        record("Advise");
        *cookie = 1;
        return unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink));
    }
    STDMETHODIMP Unadvise(DWORD) override {
        record("Unadvise");
        return hold(sink, static_cast<IDispatch*>(nullptr));
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
            // Steps are played from messages posted to the control's own window.
            window = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                                     nullptr, nullptr, nullptr);
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pageProc));
        }
        return S_OK;
    }
    STDMETHODIMP FindConnectionPoint(REFIID, IConnectionPoint** point) override {
        record("FindConnectionPoint");
        return QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(point));
    }
    STDMETHODIMP GetWindow(HWND* hwnd) override {
        record("GetWindow");
        *hwnd = window;
        return S_OK;
    }

    // Slots the host never calls.
    NOTIMPL(GetTypeInfoCount, UINT*) NOTIMPL(GetTypeInfo, UINT, LCID, ITypeInfo**) NOTIMPL(GoBack)
    NOTIMPL(GoForward) NOTIMPL(GoHome) NOTIMPL(GoSearch) NOTIMPL(Refresh) NOTIMPL(Refresh2, VARIANT*)
    NOTIMPL(Stop) NOTIMPL(get_Application, IDispatch**) NOTIMPL(get_Parent, IDispatch**)
    NOTIMPL(get_Container, IDispatch**) NOTIMPL(get_TopLevelContainer, VARIANT_BOOL*)
    NOTIMPL(get_Type, BSTR*) NOTIMPL(get_Left, LONG*) NOTIMPL(put_Left, LONG) NOTIMPL(get_Top, LONG*)
    NOTIMPL(put_Top, LONG) NOTIMPL(get_Width, LONG*) NOTIMPL(put_Width, LONG) NOTIMPL(get_Height, LONG*)
    NOTIMPL(put_Height, LONG) NOTIMPL(get_LocationName, BSTR*)
    NOTIMPL(get_Busy, VARIANT_BOOL*) NOTIMPL(Quit) NOTIMPL(ClientToWindow, int*, int*)
    NOTIMPL(PutProperty, BSTR, VARIANT) NOTIMPL(GetProperty, BSTR, VARIANT*) NOTIMPL(get_Name, BSTR*)
    NOTIMPL(get_HWND, SHANDLE_PTR*) NOTIMPL(get_FullName, BSTR*) NOTIMPL(get_Path, BSTR*)
    NOTIMPL(get_Visible, VARIANT_BOOL*) NOTIMPL(get_StatusBar, VARIANT_BOOL*) NOTIMPL(get_StatusText, BSTR*)
    NOTIMPL(put_StatusText, BSTR) NOTIMPL(get_ToolBar, int*) NOTIMPL(get_MenuBar, VARIANT_BOOL*)
    NOTIMPL(get_FullScreen, VARIANT_BOOL*) NOTIMPL(put_FullScreen, VARIANT_BOOL)
    NOTIMPL(Navigate2, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
    NOTIMPL(QueryStatusWB, OLECMDID, OLECMDF*) NOTIMPL(ExecWB, OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
    NOTIMPL(ShowBrowserBar, VARIANT*, VARIANT*, VARIANT*) NOTIMPL(get_ReadyState, READYSTATE*)
    NOTIMPL(get_Offline, VARIANT_BOOL*) NOTIMPL(put_Offline, VARIANT_BOOL)
    NOTIMPL(get_Silent, VARIANT_BOOL*) NOTIMPL(put_Silent, VARIANT_BOOL)
    NOTIMPL(get_RegisterAsBrowser, VARIANT_BOOL*) NOTIMPL(get_RegisterAsDropTarget, VARIANT_BOOL*)
    NOTIMPL(get_TheaterMode, VARIANT_BOOL*) NOTIMPL(put_TheaterMode, VARIANT_BOOL)
    NOTIMPL(get_AddressBar, VARIANT_BOOL*) NOTIMPL(get_Resizable, VARIANT_BOOL*)
    NOTIMPL(put_Resizable, VARIANT_BOOL) NOTIMPL(GetClientSite, IOleClientSite**)
    NOTIMPL(SetMoniker, DWORD, IMoniker*) NOTIMPL(GetMoniker, DWORD, DWORD, IMoniker**)
    NOTIMPL(InitFromData, IDataObject*, WINBOOL, DWORD) NOTIMPL(GetClipboardData, DWORD, IDataObject**)
    NOTIMPL(EnumVerbs, IEnumOLEVERB**) NOTIMPL(Update) NOTIMPL(IsUpToDate) NOTIMPL(GetUserClassID, CLSID*)
    NOTIMPL(GetUserType, DWORD, LPOLESTR*) NOTIMPL(SetExtent, DWORD, SIZEL*)
    NOTIMPL(GetExtent, DWORD, SIZEL*) NOTIMPL(Advise, IAdviseSink*, DWORD*)
    NOTIMPL(EnumAdvise, IEnumSTATDATA**) NOTIMPL(GetMiscStatus, DWORD, DWORD*)
    NOTIMPL(SetColorScheme, LOGPALETTE*)
    NOTIMPL(Draw, DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECTL, LPCRECTL, WINBOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
    NOTIMPL(GetColorSet, DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**)
    NOTIMPL(Freeze, DWORD, LONG, void*, DWORD*) NOTIMPL(Unfreeze, DWORD)
    NOTIMPL(GetAdvise, DWORD*, DWORD*, IAdviseSink**) NOTIMPL(EnumConnectionPoints, IEnumConnectionPoints**)
    NOTIMPL(GetConnectionInterface, IID*) NOTIMPL(GetConnectionPointContainer, IConnectionPointContainer**)
    NOTIMPL(EnumConnections, IEnumConnections**) NOTIMPL(ContextSensitiveHelp, WINBOOL)
    NOTIMPL(InPlaceDeactivate) NOTIMPL(UIDeactivate) NOTIMPL(ReactivateAndUndo)

private:
    static LRESULT CALLBACK pageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Browser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_TIMER && self) {
            KillTimer(hwnd, wParam);
            PostMessageW(hwnd, WM_APP, 0, 0);
            return 0;
        }
        if (message != WM_APP || !self) return DefWindowProcW(hwnd, message, wParam, lParam);
        std::string step;
        {
            std::lock_guard<std::mutex> lock(stateMutex);
            // A page opened under an earlier script plays none of a later one's steps.
            if (steps.empty() || self->scriptOfPage != scriptGeneration) return 0;
            step = steps.front();
            steps.pop_front();
        }
        if (step == "end") return 0;
        // The UI thread stays free meanwhile, as while a real page loads.
        if (step.compare(0, 6, "pause ") == 0) {
            SetTimer(hwnd, 1, static_cast<UINT>(std::stoul(step.substr(6))), nullptr);
            return 0;
        }
        self->AddRef();
        self->play(step);
        if (self->window) PostMessageW(self->window, WM_APP, 0, 0);
        self->Release();
        return 0;
    }

    // Fires an event whose arguments are this control, the page's URL and
    // `more` by reference; the last one is the Cancel flag where there is one.
    void fire(DISPID id, const char* name, std::vector<VARTYPE> more, const std::wstring& target,
              long status = 0) {
        VARIANT url, value;
        VariantInit(&url);
        url.vt = VT_BSTR;
        url.bstrVal = SysAllocString(target.c_str());
        VariantInit(&value);
        value.vt = VT_I4;
        value.lVal = status;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        std::vector<VARIANT> args(2 + more.size(), VARIANT());
        args.back().vt = VT_DISPATCH;
        args.back().pdispVal = static_cast<IWebBrowser2*>(this);
        args[args.size() - 2].vt = VT_BYREF | VT_VARIANT;
        args[args.size() - 2].pvarVal = &url;
        for (size_t i = 0; i < more.size(); ++i) {  // arguments go last first
            args[more.size() - 1 - i].vt = VT_BYREF | more[i];
            args[more.size() - 1 - i].byref = more[i] == VT_BOOL ? static_cast<void*>(&cancel) : &value;
        }
        DISPPARAMS params = {args.data(), nullptr, static_cast<UINT>(args.size()), 0};
        if (sink) sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        if (name) record(std::string(name) + " cancel=" + (cancel ? "1" : "0"));
        VariantClear(&url);
    }

    void play(const std::string& step) {
        std::istringstream line(step);
        std::string verb, word;
        std::vector<std::string> rest;
        line >> verb;
        while (line >> word) rest.push_back(word);
        const std::string first = rest.empty() ? std::string() : rest[0];
        if (verb == "complete") {
            fire(DISPID_DOCUMENTCOMPLETE, nullptr, {}, url);
        } else if (verb == "error") {
            fire(DISPID_NAVIGATEERROR, "NavigateError", {VT_VARIANT, VT_VARIANT, VT_BOOL}, url,
                 std::stol(first));
        } else if (verb == "before") {  // to the page itself when no address is given
            fire(DISPID_BEFORENAVIGATE2, "BeforeNavigate2",
                 {VT_VARIANT, VT_VARIANT, VT_VARIANT, VT_VARIANT, VT_BOOL}, first.empty() ? url : tstrings::toUtf16(first));
        } else if (verb == "wait") {  // until the file named exists, at most a minute
            for (int i = 0; i < 600 && GetFileAttributesA(first.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
        } else if (verb == "newwindow") {
            fire(DISPID_NEWWINDOW3, "NewWindow3", {VT_BOOL}, url);
        } else if (verb == "location") {  // without an address, back to the page itself
            std::lock_guard<std::mutex> lock(stateMutex);
            shownUrl = tstrings::toUtf16(first);
        } else if (verb == "external" && !rest.empty()) {
            callExternal(rest);
        } else if (verb == "answer") {
            std::lock_guard<std::mutex> lock(stateMutex);
            evalAnswer = tstrings::toUtf16(first);
        } else if (verb == "box") {
            startAnswering(first);
        } else if (verb == "fail") {
            std::lock_guard<std::mutex> lock(stateMutex);
            evalFailing = first;
        }
    }

    // Asks the document host for window.external afresh, as page script does.
    void callExternal(const std::vector<std::string>& words) {
        UniqueComPtr<IDocHostUIHandler> ui;
        UniqueComPtr<IDispatch> external;
        if (!site || FAILED(site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(ui.receive()))) ||
            FAILED(ui.get()->GetExternal(external.receive())) || !external) {
            return;
        }
        {
            std::lock_guard<std::mutex> lock(stateMutex);
            hold(heldExternal, external.get());
        }
        record("external " + standin::callExternal(external.get(), words));
    }

private:
    LONG refs = 1;
    HWND window = nullptr;
    IOleClientSite* site = nullptr;
    IDispatch* sink = nullptr;
    IAdviseSink* adviseSink = nullptr;
    std::wstring url;
    std::wstring shownUrl;
    unsigned scriptOfPage = 0;
};

class Factory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        const bool known = riid == IID_IUnknown || riid == IID_IClassFactory;
        *out = known ? this : nullptr;
        return known ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        std::deque<std::string> unplayed;
        bool refused;
        {
            std::lock_guard<std::mutex> lock(stateMutex);
            refused = refusing;
            if (refused) unplayed.swap(steps);
        }
        if (refused) {  // only the script's boxes can be played
            record("CreateInstance refused");
            for (const std::string& step : unplayed) {
                if (step.compare(0, 4, "box ") == 0) startAnswering(step.substr(4));
            }
            return E_FAIL;
        }
        record("CreateInstance");
        Browser* browser = new Browser;
        const HRESULT hr = browser->QueryInterface(riid, out);
        browser->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

} // namespace

void setScript(const std::string& text, const std::string& logPath) {
    std::lock_guard<std::mutex> lock(stateMutex);
    logFile = logPath;
    steps.clear();
    recorded.clear();
    evalAnswer.clear();
    evalFailing.clear();
    refusing = false;
    ++scriptGeneration;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "refuse") refusing = true;
        else if (!line.empty()) steps.push_back(line);
    }
}

std::vector<Call> calls() {
    std::lock_guard<std::mutex> lock(stateMutex);
    return recorded;
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
    std::wstring name = tstrings::toUtf16(words[0]);
    LPOLESTR names[] = {&name[0]};
    DISPID id = 0;
    external->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    std::vector<VARIANT> args(words.size() - 1, VARIANT());
    for (size_t i = 1; i < words.size(); ++i) {
        args[words.size() - 1 - i].vt = VT_BSTR;
        args[words.size() - 1 - i].bstrVal = SysAllocString(tstrings::toUtf16(words[i]).c_str());
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

} // namespace standin
