#include "Log.h"

#include "LogPlatform.h"
#include "tstrings.h"

namespace {

const char* const kLogitFile = "windows/common/AllUtils";
const unsigned kLogitLine = 127;

std::string computeProcessName() {
    try {
        return sourceBaseName(logplatform::executablePath());
    } catch (const std::exception&) {
        return "Unknown";
    }
}

// Built during static initialisation, before the entry point runs.
const Logger& kStartupLogger = Logger::defaultLogger();

} // namespace

const char* logLevelLabel(int level) {
    switch (level) {
    case LOG_TRACE: return "TRACE";
    case LOG_INFO: return "INFO";
    case LOG_WARNING: return "WARNING";
    case LOG_ERROR: return "ERROR";
    default: return "UNKNOWN";
    }
}

std::string formatLogRecord(const LogTime& t, const std::string& processName,
                            unsigned pid, unsigned tid, const char* file,
                            unsigned line, const char* function, int level,
                            const std::string& message) {
    std::string record;
    tstrings::format(&record,
                     "[%04u/%02u/%02u %02u:%02u:%02u.%03u, %s (PID: %u, TID: %u), %s:%u (%s)]\n\t%s: %s\n",
                     t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond,
                     processName.c_str(), pid, tid,
                     sourceBaseName(file ? file : "").c_str(), line,
                     function ? function : "", logLevelLabel(level), message.c_str());
    return record;
}

std::string makeLogFilePath(const std::string& tempDir, const std::string& fileName) {
    const std::string dir = tstrings::trimRight(tempDir, "\\/");
    std::string name = fileName;
    if (!name.empty() && (name[0] == '\\' || name[0] == '/')) {
        name.erase(0, 1);
    }
    if (dir.empty()) return name;
    if (name.empty()) return dir;
    return dir + "\\" + name;
}

const std::string& logProcessName() {
    static const std::string name = computeProcessName();
    return name;
}

Logger::Logger(std::string filePath, int minimumLevel)
    : filePath_(std::move(filePath)), minimumLevel_(minimumLevel) {}

Logger& Logger::defaultLogger() {
    static Logger logger(makeLogFilePath(logplatform::temporaryDirectory(), "cxtimer.log"));
    return logger;
}

void Logger::write(int level, const std::string& message, const char* file,
                   unsigned line, const char* function) const {
    if (filePath_.empty()) {
        return;
    }
    std::string record;
    try {
        record = formatLogRecord(logplatform::localTime(), logProcessName(),
                                 logplatform::processId(), logplatform::threadId(),
                                 file, line, function, level, message);
    } catch (const std::exception&) {
        return;  // nothing to log a logging failure to
    }
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (attempt > 0) {
            logplatform::sleepOneMillisecond();
        }
        if (logplatform::appendOnce(filePath_, record)) {
            return;
        }
    }
}

void logit(const char* message) {
    const Logger& logger = Logger::defaultLogger();
    if (logger.isLoggable(LOG_INFO)) {
        logger.write(LOG_INFO, message ? message : "", kLogitFile, kLogitLine, "logit");
    }
}

FunctionTracer::FunctionTracer(const Logger& logger, const char* file, unsigned line,
                               std::string function, std::string text)
    : logger_(logger), enabled_(logger.minimumLevel() <= LOG_TRACE),
      file_(file ? file : ""), line_(line), function_(std::move(function)),
      text_(std::move(text)) {
    if (enabled_) {
        logger_.write(LOG_TRACE, "Entering " + text_, file_.c_str(), line_, function_.c_str());
    }
}

FunctionTracer::~FunctionTracer() {
    if (enabled_) {
        logger_.write(LOG_TRACE,
                      "Exiting " + text_ + " (entered at " + sourceBaseName(file_) + ":" +
                          std::to_string(line_) + ")",
                      file_.c_str(), 0, function_.c_str());
    }
}

void reportCaughtException(const SourceLocation& location, const std::exception& e) {
    Logger::defaultLogger().write(LOG_ERROR,
                                  std::string("Exception with message '") + e.what() + "' caught",
                                  location.file, location.line, location.function.c_str());
}

void reportCaughtException(const SourceLocation& location) {
    Logger::defaultLogger().write(LOG_ERROR, "Unknown exception caught", location.file,
                                  location.line, location.function.c_str());
}
