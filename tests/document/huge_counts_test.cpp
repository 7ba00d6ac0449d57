// The largest counts the program accepts: averaged N typed up to 2^31 - 1, two-by-two cells
// and contingency counts near 2^31.  Every file of tests/data/huge_n/ either gives the right
// result or the Overflow message (error 4), never a wrong degrees of freedom, "Divide by zero"
// or the unanticipated-error text.  The expected values come from R (the calls beside them).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "core/fp_guard.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

/// The number after the last of a chain of keys, each looked for after the one before it
/// (NaN when a key is absent).
long double JsonNumber(const std::string& json, const std::vector<const char*>& keys) {
    std::size_t at = 0;
    for (const char* key : keys) {
        const std::string pattern = std::string("\"") + key + "\":";
        at = json.find(pattern, at);
        if (at == std::string::npos) return std::nanl("");
        at += pattern.size();
    }
    return std::strtold(json.c_str() + at, nullptr);
}

struct Expected {
    std::vector<const char*> keys;
    long double value;
    long double relativeTolerance;
};

struct Case {
    const char* file;
    std::int32_t errorCode;
    std::vector<Expected> values;
};

// The distribution module's P values agree with R's to about 1e-7 relative; the statistics
// themselves to the last digits.
constexpr long double Stat = 1e-12L;
constexpr long double P = 1e-6L;

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        // N <- 2147483647; t <- 0.0001/(2/sqrt(N)); 2*pt(-t, N-1)
        {"one_sample_largest_n.ZLD", 0,
         {{{"df"}, 2147483646, 0}, {{"t"}, 2.3170475000526L, Stat}, {{"pTwoTailed"}, 0.0205011444955582L, P}}},
        // n <- 1e9; t <- 0.0002/(2*sqrt(2/n)); 2*pt(-t, 2*n-2)
        {"unpaired_billion.ZLD", 0,
         {{{"df"}, 1999999998, 0}, {{"t"}, 2.23606797749979L, Stat}, {{"pTwoTailed"}, 0.0253473187873056L, P}}},
        // v1 <- 4/1e9; v2 <- 9/1.1e9; (v1+v2)^2/(v1^2/(1e9-1)+v2^2/(1.1e9-1)); 0.0003/sqrt(v1+v2)
        {"welch_billions.ZLD", 0,
         {{{"welchDf"}, 1930828183.08342L, Stat},
          {{"df"}, 1930828183, 0},
          {{"t"}, 2.71809854521365L, Stat},
          {{"pTwoTailed"}, 0.00656582801580864L, P}}},
        // n <- 715827882; m <- c(10, 10.00006474, 9.99993526); F <- n*sum((m-mean(m))^2)/2
        // pf(F, 2, 3*n-3, lower.tail=FALSE)
        {"anova_largest_total.ZLD", 0,
         {{{"nTotal"}, 2147483646, 0},
          {{"dfResidual"}, 2147483643, 0},
          {{"f"}, 3.0002262089216L, 1e-9L},
          {{"p"}, 0.0497758075711761L, P}}},
        {"anova_total_overflow.ZLD", ErrorOverflow, {}},
        {"unpaired_df_overflow.ZLD", ErrorOverflow, {}},
        {"welch_df_overflow.ZLD", ErrorOverflow, {}},
        // chisq.test(matrix(c(2147483647,2147300000,2147400000,2147483000), 2), correct=FALSE)
        // the relative risk (a/(a+b))/(c/(c+d)) with exp(log(rr) -/+ 1.9604492187 * se)
        {"two_by_two_near_2_31.ZLD", 0,
         {{{"chiSquare", "chiSquare"}, 8.27753233982753L, 1e-10L},
          {{"chiSquare", "pTwoTailed"}, 0.00401386421677666L, P},
          {{"relativeRisk", "value"}, 1.00006208844591L, Stat},
          {{"relativeRisk", "lower"}, 1.0000197806657152L, 1e-13L},
          {{"relativeRisk", "upper"}, 1.0001043980160162L, 1e-13L}}},
        // chisq.test(matrix(c(2147483647,2e9,1.9e9, 1.2e9,2147483000,2.6e9, 3e9,2.7e9,2147483646), 3))
        {"contingency_billions.ZLD", 0,
         {{{"chiSquare"}, 667687381.167806L, 1e-12L}, {{"df"}, 4, 0}}},
    };
    return cases;
}

TEST(HugeCounts, RightResultsOrTheOverflowMessage) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.file);
        std::ostringstream err;
        std::unique_ptr<Document> doc =
            cli::OpenDataFile(std::string(ZELKON_SOURCE_DIR "/tests/data/huge_n/") + c.file, err);
        ASSERT_NE(doc, nullptr) << err.str();
        Calculate(*doc);
        EXPECT_EQ(doc->ErrorCode(), c.errorCode);
        const std::vector<std::string> lines = test::PlainLines(doc->Report());
        const std::string report = [&] {
            std::string all;
            for (const std::string& line : lines) all += line + "\n";
            return all;
        }();
        EXPECT_EQ(report.find("Divide by zero"), std::string::npos);
        EXPECT_EQ(report.find("Invalid floating point"), std::string::npos);
        EXPECT_EQ(report.find("more than 100 columns"), std::string::npos);
        if (c.errorCode == ErrorOverflow) {
            EXPECT_NE(report.find("Overflow.  A computation has produced a number too large for"),
                      std::string::npos);
        }
        for (const Expected& e : c.values) {
            const long double got = JsonNumber(doc->ResultJson(), e.keys);
            SCOPED_TRACE(e.keys.back());
            if (e.relativeTolerance == 0) {
                EXPECT_EQ(got, e.value);
            } else {
                EXPECT_NEAR(got, e.value, e.relativeTolerance * std::fabs(e.value));
            }
        }
    }
}

}  // namespace
}  // namespace zelkon
