#include "FailureText.h"

#include "Log.h"
#include "WinErrorHandling.h"
#include "tstrings.h"

namespace ui {

std::string comFailure(const std::string& operation, HRESULT hr) {
    return tstrings::sformat("%s failed with COM error 0x%08X (%s)", operation.c_str(),
                             static_cast<unsigned>(hr),
                             describeSystemError(static_cast<DWORD>(hr)).c_str());
}

bool comCallFailed(const SourceLocation& where, const std::string& operation, HRESULT hr) {
    if (SUCCEEDED(hr)) return false;
    const Logger& logger = Logger::defaultLogger();
    if (logger.isLoggable(LOG_ERROR)) {
        logger.write(LOG_ERROR, comFailure(operation, hr), where.file, where.line,
                     where.function.c_str());
    }
    return true;
}

} // namespace ui
