#pragma once

#include <exception>
#include <string>

#include "LogText.h"
#include "SourceLocation.h"

enum LogLevel {
    LOG_TRACE = 0,
    LOG_INFO = 1,
    LOG_WARNING = 2,
    LOG_ERROR = 3,
};

// "TRACE", "INFO", "WARNING", "ERROR" or "UNKNOWN".
const char* logLevelLabel(int level);

struct LogTime {
    unsigned year, month, day, hour, minute, second, millisecond;
};

// One record: a bracketed header line and a tab-indented "LEVEL: message"
// line, both ended by "\n" (stored as CR LF by the Windows writer).
std::string formatLogRecord(const LogTime& time, const std::string& processName,
                            unsigned pid, unsigned tid, const char* file,
                            unsigned line, const char* function, int level,
                            const std::string& message);

// Appends records to one file, opened and closed per record. Never raises
// for file problems: a record that cannot be written within ten attempts
// is dropped.
class Logger {
public:
    explicit Logger(std::string filePath, int minimumLevel = LOG_TRACE);

    // The process-wide logger writing to "cxtimer.log" in the user's
    // temporary folder.
    static Logger& defaultLogger();

    bool isLoggable(int level) const { return level >= minimumLevel_; }
    int minimumLevel() const { return minimumLevel_; }
    const std::string& filePath() const { return filePath_; }

    void write(int level, const std::string& message, const char* file,
               unsigned line, const char* function) const;

private:
    std::string filePath_;
    int minimumLevel_;
};

// Joins the temporary folder and "cxtimer.log" as the default log path.
std::string makeLogFilePath(const std::string& tempDir, const std::string& fileName);

// Base name of the running executable, "Unknown" when it cannot be found.
const std::string& logProcessName();

// Plain progress line at INFO under the function name "logit".
void logit(const char* message);

// Writes "Entering <text>" on construction and "Exiting <text> (entered at
// <file>:<line>)" with line 0 on destruction, both at TRACE.
class FunctionTracer {
public:
    FunctionTracer(const Logger& logger, const char* file, unsigned line,
                   std::string function, std::string text);
    ~FunctionTracer();
    FunctionTracer(const FunctionTracer&) = delete;
    FunctionTracer& operator=(const FunctionTracer&) = delete;

private:
    const Logger& logger_;
    bool enabled_;
    std::string file_;
    unsigned line_;
    std::string function_;
    std::string text_;
};

void reportCaughtException(const SourceLocation& location, const std::exception& e);
void reportCaughtException(const SourceLocation& location);

#define LOG_AT_NAMED(level, name, expr)                                          \
    do {                                                                         \
        const Logger& cxLogger_ = Logger::defaultLogger();                       \
        if (cxLogger_.isLoggable(level)) {                                       \
            LogText cxStream_;                                                   \
            cxStream_ << expr;                                                   \
            cxLogger_.write((level), cxStream_.str(), __FILE__, __LINE__,        \
                            std::string(name).c_str());                          \
        }                                                                        \
    } while (0)

#define LOG_AT(level, expr) \
    LOG_AT_NAMED(level, qualifiedFunctionName(__PRETTY_FUNCTION__), expr)

#define LOG_TRACE(expr) LOG_AT(LOG_TRACE, expr)
#define LOG_INFO(expr) LOG_AT(LOG_INFO, expr)
#define LOG_WARNING(expr) LOG_AT(LOG_WARNING, expr)
#define LOG_ERROR(expr) LOG_AT(LOG_ERROR, expr)

#define LOG_TRACE_FUNCTION()                                                    \
    FunctionTracer cxFunctionTracer_(Logger::defaultLogger(), __FILE__, __LINE__, \
                                     qualifiedFunctionName(__PRETTY_FUNCTION__), \
                                     qualifiedFunctionName(__PRETTY_FUNCTION__))

#define REPORT_CAUGHT(e) reportCaughtException(SOURCE_LOCATION(), (e))
#define REPORT_UNKNOWN_CAUGHT() reportCaughtException(SOURCE_LOCATION())
