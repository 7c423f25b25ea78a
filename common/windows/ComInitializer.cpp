#include "ComInitializer.h"

#include <windows.h>
#include <ole2.h>

#include "Log.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace {

std::string comErrorText(HRESULT hr) {
    return tstrings::sformat("COM error 0x%08X (%s)", static_cast<unsigned>(hr),
                             describeSystemError(static_cast<DWORD>(hr)).c_str());
}

} // namespace

ComInitializer::ComInitializer() {
    const HRESULT hr = CoInitialize(nullptr);
    initialized_ = hr >= 0;
    if (!initialized_) {
        LOG_AT_NAMED(LOG_WARNING, "ComInitializer::ComInitializer",
                     "CoInitialize failed with " << comErrorText(hr));
    }
}

ComInitializer::~ComInitializer() {
    if (initialized_) CoUninitialize();
}

OleInitializer::OleInitializer() {
    const HRESULT hr = OleInitialize(nullptr);
    initialized_ = hr >= 0;
    if (!initialized_) {
        LOG_AT_NAMED(LOG_WARNING, "OleInitializer::OleInitializer",
                     "OleInitialize failed with " << comErrorText(hr));
    }
}

OleInitializer::~OleInitializer() {
    if (initialized_) OleUninitialize();
}
