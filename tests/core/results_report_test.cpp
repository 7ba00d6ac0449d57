#include "core/results_report.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace zelkon {
namespace {

TEST(ResultsReport, WritesLinesWithCrLf) {
    ResultsReport r;
    r.Write("ab");
    r.WriteLine("c");
    EXPECT_EQ(r.Text(), "abc\r\n");
    EXPECT_EQ(r.Column(), 1);
    EXPECT_EQ(r.LineCount(), 1);
}

}  // namespace
}  // namespace zelkon
