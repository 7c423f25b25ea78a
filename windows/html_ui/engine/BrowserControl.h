#pragma once

#include <windows.h>
#include <ole2.h>
#include <exdisp.h>
#include <mshtmhst.h>

#include <atomic>
#include <string>

#include "UiHandles.h"
#include "UIThread.h"

namespace ui {

class WindowHandler;

// The host of one WebBrowser control inside a window: its client site,
// in-place site and frame, view advise sink, event sink and document host.
// Lives on the UI thread; only execJScript may be called from elsewhere.
class BrowserControl final : public IOleClientSite,
                       public IOleInPlaceSite,
                       public IOleInPlaceFrame,
                       public IAdviseSink,
                       public DWebBrowserEvents2,
                       public IDocHostUIHandler {
public:
    class BrowserExternal;

    // The host window is not owned. The reference count starts at 1.
    explicit BrowserControl(HWND hostWindow);

    // Creates the control in place over rect; false (logged) on failure.
    bool createControl(const RECT& rect);
    // Opens url; handler receives the page's events. Raises
    // std::runtime_error "webBrowser->Navigate failed".
    void openUrl(const std::string& url, WindowHandler* handler);
    void setRect(const RECT& rect);
    void setFocus();
    // Offers a key or mouse message to the page; true when it took it.
    bool translateAccelerator(MSG* msg);
    HWND getObjectWnd();
    // Evaluates script text in the page, on the UI thread whichever thread
    // calls; the value as text ("" for none).
    std::string execJScript(const std::string& script);
    // The same on the calling thread, which must be the UI thread. Raises
    // std::runtime_error "JScript execution error".
    std::string execJScriptUnsafe(const std::string& script);
    WindowHandler* getHandler() const { return handler; }
    // No more events reach the handler; UI thread only.
    void detachHandler() { handler = nullptr; }
    // True while the control shows a page carried by this program; the
    // page's external object answers nothing else.
    bool showsOwnPage();
    // Disconnects the browser and the page's external object, and drops
    // the host's reference.
    void destroy();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL) override;
    STDMETHODIMP RequestNewObjectLayout() override;
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override;
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                  LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override;
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT) override;
    // IOleInPlaceUIWindow and IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override;
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override;
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override;
    STDMETHODIMP RemoveMenus(HMENU) override;
    STDMETHODIMP SetStatusText(LPCOLESTR) override;
    STDMETHODIMP EnableModeless(BOOL) override;
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override;
    // IAdviseSink
    STDMETHODIMP_(void) OnDataChange(FORMATETC*, STGMEDIUM*) override {}
    STDMETHODIMP_(void) OnViewChange(DWORD, LONG) override {}
    STDMETHODIMP_(void) OnRename(IMoniker*) override {}
    STDMETHODIMP_(void) OnSave() override {}
    STDMETHODIMP_(void) OnClose() override {}
    // DWebBrowserEvents2
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override;
    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP OnDocWindowActivate(BOOL) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL) override;
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override;
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override;
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** target) override;
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD, OLECHAR*, OLECHAR** out) override;
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override;

private:
    ~BrowserControl();
    bool createBrowser();
    bool setUpBrowser();
    void releaseBrowser();
    bool adviseBrowser();
    void handleEvent(DISPID id, DISPPARAMS* params);

    HWND hostWindow;
    RECT rect;
    UniqueComPtr<IWebBrowser2> browser;
    DWORD eventCookie;
    bool uiActive;
    BrowserExternal* external;
    WindowHandler* handler;
    std::atomic<long> refCount;
    UIThread uiThread;
    std::atomic<DWORD> eventThread;
};

} // namespace ui
