#include "MsiString.h"

#include <algorithm>
#include <vector>

#include "MsiError.h"

namespace msi {

std::string readString(const StringCall& call, const std::string& callText) {
    const char* const name = "msi::`anonymous-namespace'::getProperty";
    // Far beyond any real property; stops a service that never stops asking.
    const size_t maxBufferSize = size_t(1) << 24;
    std::vector<char> buffer(20);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        const UINT status = call(buffer.data(), &size);
        if (status == ERROR_SUCCESS) {
            return std::string(buffer.data(), std::min<size_t>(size, buffer.size()));
        }
        if (status != ERROR_MORE_DATA || buffer.size() >= maxBufferSize) {
            JP_THROW_NAMED(Error(status, callText + " failed"), name);
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace msi
