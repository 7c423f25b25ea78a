#include <gmock/gmock.h>

#include <vector>

#include "FileTestSupport.h"
#include "Outcome.h"

using ::testing::HasSubstr;
using Reason = Outcome::Reason;

TEST(Outcome, LineCarriesEveryFactAndTheDuration) {
    unsigned long long now = 1000;
    Outcome outcome("1.8.0_451-b10", [&now] { return now; });
    outcome.exitCode(1603);
    outcome.productCode("{AB}");
    outcome.language(1041);
    outcome.transform(true);
    now = 3500;
    EXPECT_EQ(outcome.line(), "Outcome: exit=1603 reason=package-failed product={AB} "
                              "version=1.8.0_451-b10 lang=1041 transform=yes removed=0 agent=-99 "
                              "restart=none ui=- ms=2500");
    outcome.restartRequired(true);
    EXPECT_THAT(outcome.line(), HasSubstr(" agent=-99 restart=required ui=- ms="));
}

TEST(Outcome, FirstReasonStandsElseTheExitCodeDecides) {
    struct Case {
        std::vector<Reason> given;
        int exitCode;
        const char* word;
    } cases[] = {
        {{}, 0, "reason=installed "},
        {{}, 1603, "reason=package-failed "},
        {{Reason::EXTRACTION_FAILED, Reason::CONFIG_ERROR}, 1, "reason=extraction-failed "},
        {{Reason::CANCELLED}, 0, "reason=cancelled "},
    };
    for (const Case& c : cases) {
        Outcome outcome("v", [] { return 0ull; });
        for (const Reason r : c.given) outcome.because(r);
        outcome.exitCode(c.exitCode);
        EXPECT_THAT(outcome.line(), HasSubstr(c.word));
    }
}

TEST(Outcome, WrittenOnce) {
    const size_t start = testsupport::logText().size();
    {
        Outcome outcome("v", [] { return 0ull; });
        outcome.write();
    }
    const std::string logged = testsupport::logText().substr(start);
    ASSERT_THAT(logged, HasSubstr("INFO: Outcome: exit=1 reason=package-failed product=- "));
    EXPECT_EQ(logged.find("Outcome:"), logged.rfind("Outcome:"));
}
