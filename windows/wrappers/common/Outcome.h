#pragma once

#include <functional>
#include <string>

// The last record of every run, one line that fleet tools read instead of
// the whole log:
// "Outcome: exit=<code> reason=<word> product=<code or -> version=<carried
// version> lang=<LANGID> transform=<yes|no> removed=<n> agent=<result>
// restart=<none|required> ui=<how the run met its user, - before it is
// known> ms=<duration>". Filled as the run learns things; written once, when the
// owner's scope ends, or by write() on a path that ends the process without
// unwinding.
class Outcome {
public:
    enum class Reason {
        INSTALLED,
        NEWER_PRESENT,
        SAME_STATIC,
        IN_PROGRESS,
        CONFIG_ERROR,
        EXTRACTION_FAILED,
        PACKAGE_FAILED,
        CANCELLED,
        TEST_SWITCH,
        VALIDATE,
        HELP,
        UNINSTALLED,
        EXTRACTED,
    };
    // Milliseconds from any fixed point.
    typedef std::function<unsigned long long()> Clock;

    // The run's duration is counted from here.
    explicit Outcome(std::string carriedVersion, Clock clock = steadyMilliseconds);
    ~Outcome();
    Outcome(const Outcome&) = delete;
    Outcome& operator=(const Outcome&) = delete;

    // Why the run ends; the first reason given stands. Without one, exit
    // code 0 reads "installed" and any other "package-failed".
    void because(Reason reason);
    // The user left the wizard.
    void cancelled() { because(Reason::CANCELLED); }

    void exitCode(int code) { exitCode_ = code; }
    void productCode(const std::string& code) { productCode_ = code; }
    void language(unsigned langId) { langId_ = langId; }
    void transform(bool applied) { transform_ = applied; }
    void removed(unsigned count) { removed_ = count; }
    void agentResult(int result) { agentResult_ = result; }
    void restartRequired(bool required) { restartRequired_ = required; }
    void ui(const std::string& word) { ui_ = word; }
    // The reason given, else the one the exit code decides.
    Reason reason() const;

    static const char* word(Reason reason);
    // The record's text as it stands now.
    std::string line() const;
    // Logs the record at INFO; later calls do nothing.
    void write();

    static unsigned long long steadyMilliseconds();

private:
    std::string version_;
    Clock clock_;
    unsigned long long start_;
    bool hasReason_ = false;
    Reason reason_ = Reason::INSTALLED;
    int exitCode_ = 1;
    std::string productCode_;
    unsigned langId_ = 1033;
    bool transform_ = false;
    unsigned removed_ = 0;
    int agentResult_ = -99;
    bool restartRequired_ = false;
    std::string ui_ = "-";
    bool written_ = false;
};
