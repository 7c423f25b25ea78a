#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "Log.h"
#include "TestSupport.h"

namespace {

std::string freshLogPath(const char* name) {
    const std::string path = makeLogFilePath(testsupport::tempDir(), name);
    std::remove(path.c_str());
    return path;
}

struct ParsedRecord {
    std::string file;
    unsigned line;
    std::string function;
    std::string level;
    std::string message;
};

// Parses a whole log back into records; fails the test on any line that is
// not part of a well-formed record.
std::vector<ParsedRecord> parseLog(const std::string& text, const std::string& eol) {
    static const std::regex header(
        R"(\[(\d{4})/(\d{2})/(\d{2}) (\d{2}):(\d{2}):(\d{2})\.(\d{3}), ([^ ]+) \(PID: (\d+), TID: (\d+)\), ([^:]*):(\d+) \((.*)\)\])");
    std::vector<ParsedRecord> records;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t headerEnd = text.find(eol, pos);
        EXPECT_NE(headerEnd, std::string::npos);
        if (headerEnd == std::string::npos) break;
        const size_t bodyEnd = text.find(eol, headerEnd + eol.size());
        EXPECT_NE(bodyEnd, std::string::npos);
        if (bodyEnd == std::string::npos) break;
        std::smatch h;
        const std::string headerText = text.substr(pos, headerEnd - pos);
        const std::string bodyText = text.substr(headerEnd + eol.size(), bodyEnd - headerEnd - eol.size());
        EXPECT_TRUE(std::regex_match(headerText, h, header)) << headerText;
        // The body is split by hand: libstdc++'s regex recurses once per
        // character and overflows the stack on long messages.
        const size_t colon = bodyText.find(": ");
        const std::string level = bodyText.substr(1, colon == std::string::npos ? 0 : colon - 1);
        const bool bodyOk = bodyText.rfind('\t', 0) == 0 && colon != std::string::npos &&
                            std::string("|TRACE|INFO|WARNING|ERROR|UNKNOWN|").find("|" + level + "|") != std::string::npos;
        EXPECT_TRUE(bodyOk) << bodyText;
        if (h.empty() || !bodyOk) break;
        records.push_back({h[11], static_cast<unsigned>(std::stoul(h[12])), h[13], level, bodyText.substr(colon + 2)});
        pos = bodyEnd + eol.size();
    }
    return records;
}

#ifdef _WIN32
const char* const kEol = "\r\n";
#else
const char* const kEol = "\n";
#endif

} // namespace

TEST(Log, RecordsParseBackWithTheirFields) {
    const std::string path = freshLogPath("records.log");
    Logger logger(path);
    logger.write(LOG_TRACE, "first", "some\\dir/mixed\\Module.cpp", 12, "Ns::Class::method");
    logger.write(LOG_ERROR, "second", "plain.cpp", 7, "f");
    logger.write(17, "odd level", "x.cpp", 1, "g");
    const std::vector<ParsedRecord> records = parseLog(testsupport::readFile(path), kEol);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].file, "Module.cpp");
    EXPECT_EQ(records[0].line, 12u);
    EXPECT_EQ(records[0].function, "Ns::Class::method");
    EXPECT_EQ(records[0].level, "TRACE");
    EXPECT_EQ(records[0].message, "first");
    EXPECT_EQ(records[1].file, "plain.cpp");
    EXPECT_EQ(records[1].level, "ERROR");
    EXPECT_EQ(records[2].level, "UNKNOWN");
}

TEST(Log, EmptyPathWritesNothingAndLongMessagesStayWhole) {
    Logger silent("");
    silent.write(LOG_INFO, "nowhere", "a.cpp", 1, "f");
    const std::string path = freshLogPath("long.log");
    const std::string big(6000, 'm');
    Logger(path).write(LOG_INFO, big, "a.cpp", 1, "f");
    const auto records = parseLog(testsupport::readFile(path), kEol);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].message, big);
}

TEST(Log, FunctionTracerWritesEntryAndExitWithLineZero) {
    const std::string path = freshLogPath("tracer.log");
    Logger logger(path);
    { FunctionTracer tracer(logger, "dir/Tracer.cpp", 42, "Area::work", "Area::work"); }
    const auto records = parseLog(testsupport::readFile(path), kEol);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].message, "Entering Area::work");
    EXPECT_EQ(records[0].line, 42u);
    EXPECT_EQ(records[1].message, "Exiting Area::work (entered at Tracer.cpp:42)");
    EXPECT_EQ(records[1].line, 0u);
}

TEST(Log, PathJoinRules) {
    EXPECT_EQ(makeLogFilePath("C:\\Temp\\\\/", "cxtimer.log"), "C:\\Temp\\cxtimer.log");
    EXPECT_EQ(makeLogFilePath("", "\\cxtimer.log"), "cxtimer.log");
    EXPECT_EQ(makeLogFilePath("C:\\Temp", ""), "C:\\Temp");
    EXPECT_EQ(makeLogFilePath("C:\\Temp", "/cxtimer.log"), "C:\\Temp\\cxtimer.log");
}

TEST(Log, DefaultLoggerWritesToOwnTempFolderAndReportsCaughtExceptions) {
    const Logger& logger = Logger::defaultLogger();
    EXPECT_EQ(logger.filePath(), makeLogFilePath(testsupport::tempDir(), "cxtimer.log"));
    const std::string before = testsupport::readFile(logger.filePath());
    reportCaughtException(SOURCE_LOCATION_NAMED("WinMain"), std::runtime_error("boom"));
    logit("Wrapper begin...");
    const auto records = parseLog(testsupport::readFile(logger.filePath()).substr(before.size()), kEol);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].level, "ERROR");
    EXPECT_EQ(records[0].function, "WinMain");
    EXPECT_EQ(records[0].message, "Exception with message 'boom' caught");
    EXPECT_EQ(records[1].level, "INFO");
    EXPECT_EQ(records[1].function, "logit");
    EXPECT_EQ(records[1].file, "AllUtils");
    EXPECT_EQ(records[1].message, "Wrapper begin...");
}
