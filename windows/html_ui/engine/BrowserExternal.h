#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "BrowserControl.h"

namespace ui {

// The page's window.external: getLocale, notify, log, setWindowProp and
// delay (DISPIDs 1 to 5), forwarded to the control's current handler.
// Reference-counted on its own: page script may hold it after the control
// is gone, and calls then answer "en" or nothing.
class BrowserControl::BrowserExternal final : public IDispatch {
public:
    // The reference count starts at 1, held by the control.
    explicit BrowserExternal(BrowserControl* owner);
    // Cuts the link to the control; called by the control's teardown.
    void detach() { owner = nullptr; }

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO*, UINT* argError) override;

private:
    ~BrowserExternal() = default;
    // The method's answer; "" for those that answer nothing.
    std::string call(const std::string& method, const std::vector<std::string>& args);
    void log(const std::vector<std::string>& args);
    void delay(const std::vector<std::string>& args);

    std::atomic<BrowserControl*> owner;
    const std::vector<std::string> methods;
    std::atomic<long> refCount;
};

} // namespace ui
