// Tests of the error-code messages and the error-message writer.  The expected lines are
// typed in from the message table of the program's documentation.
#include "core/error_messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace zelkon {
namespace {

std::vector<std::string> LinesOf(std::int32_t code) {
    std::vector<std::string> lines;
    for (std::string_view line : ErrorMessageLines(code)) lines.emplace_back(line);
    return lines;
}

TEST(ErrorMessages, SampleMessagesWordForWord) {
    EXPECT_EQ(LinesOf(2), (std::vector<std::string>{
                              "Divide by zero.  A computation has divided a number by zero",
                              "which is illegal.  This may be caused by unusual data or an",
                              "unanticipated circumstance."}));
    EXPECT_EQ(LinesOf(5), (std::vector<std::string>{
                              "Invalid floating point operation.  This unanticipated error",
                              "may arise from a number of possibilities.  Please notify",
                              "Kestrane of the problem along with the data set so that the",
                              "problem can be reproduced and corrected."}));
    // One blank after "zero." here, two elsewhere.
    EXPECT_EQ(LinesOf(13), (std::vector<std::string>{
                               "Standard deviations are all zero. ANOVA requires at least one",
                               "column's standard deviation to be nonzero."}));
    EXPECT_EQ(LinesOf(14),
              (std::vector<std::string>{"ANOVA is impossible.  All group means are identical."}));
    EXPECT_EQ(LinesOf(31), (std::vector<std::string>{
                               "Negative integers are not allowed in chi square analysis.  All",
                               "numbers should be converted to positive integers."}));
    EXPECT_EQ(LinesOf(40), (std::vector<std::string>{"It is not possible to analyze your data "
                                                     "because one column's SD is zero."}));
    EXPECT_EQ(LinesOf(44), (std::vector<std::string>{
                               "Paired t test must use raw data in order to determine the",
                               "pairs' differences."}));
    EXPECT_EQ(LinesOf(50), (std::vector<std::string>{
                               "It is not possible to analyze your data because there is only "
                               "a single",
                               "pair."}));
}

// The number of lines of every code of the table; codes not listed have no message.
TEST(ErrorMessages, EveryCodeHasItsLineCount) {
    struct Count {
        std::int32_t code;
        std::size_t lines;
    };
    const Count counts[] = {
        {2, 3},  {3, 3},  {4, 3},  {5, 4},  {10, 3}, {11, 2}, {12, 2}, {13, 2}, {14, 1},
        {15, 2}, {30, 1}, {31, 2}, {32, 3}, {33, 3}, {34, 2}, {35, 2}, {36, 1}, {37, 1},
        {38, 1}, {39, 1}, {40, 1}, {41, 1}, {42, 2}, {43, 1}, {44, 2}, {45, 1}, {46, 1},
        {47, 1}, {48, 2}, {49, 2}, {50, 2},
    };
    std::vector<std::size_t> expected(60, 0);
    for (const Count& c : counts) expected[static_cast<std::size_t>(c.code)] = c.lines;
    for (std::int32_t code = -5; code < 60; ++code) {
        const std::size_t want = code < 0 ? 0 : expected[static_cast<std::size_t>(code)];
        EXPECT_EQ(ErrorMessageLines(code).size(), want) << "code " << code;
    }
    EXPECT_TRUE(ErrorMessageLines(1000000).empty());
}

// The writer puts each line through WriteLine, which cuts text at 80 characters.
TEST(ErrorMessages, NoLineIsCutByTheReport) {
    for (std::int32_t code = 0; code <= 50; ++code) {
        for (std::string_view line : ErrorMessageLines(code)) {
            EXPECT_LE(line.size(), ResultsReport::MaxTextArgument) << "code " << code;
            EXPECT_FALSE(line.empty());
        }
    }
}

TEST(ErrorMessages, RunMessages) {
    EXPECT_EQ(NoDataMessage, "Until you enter data, you won't see any results!");
    EXPECT_EQ(NoColumnSelectedMessage, "Columns must be selected to perform test.");
    EXPECT_EQ(NoColumnPairSelectedMessage, "At least one column pair must be selected.");
}

TEST(WriteErrorMessage, ReplacesWhatTheAnalysisWrote) {
    ResultsReport report;
    report.WriteLine("One-way Analysis of Variance (ANOVA)");
    report.ToggleEmphasis2();
    report.Write("half a line");
    WriteErrorMessage(report, 14);
    EXPECT_EQ(report.Text(), "\r\nANOVA is impossible.  All group means are identical.\r\n\r\n");

    // The run then finishes the report: the closing and the padding follow.
    report.FinishReport();
    const std::vector<std::string> lines = test::PlainLines(report);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[1], "ANOVA is impossible.  All group means are identical.");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], std::string(23, ' ') + "*     *     *");
}

TEST(WriteErrorMessage, MultiLineMessage) {
    ResultsReport report;
    WriteErrorMessage(report, 48);
    EXPECT_EQ(report.Text(),
              "\r\nBoth B and C values must be entered in the spreadsheet to perform\r\n"
              "paired test.\r\n\r\n");
    EXPECT_EQ(report.LineCount(), 4);
}

TEST(WriteErrorMessage, CodesWithoutMessageGiveTwoEmptyLines) {
    for (std::int32_t code : {1, 6, 9, 16, 29, 51, 99}) {
        ResultsReport report;
        report.WriteLine("analysis text");
        WriteErrorMessage(report, code);
        EXPECT_EQ(report.Text(), "\r\n\r\n") << "code " << code;
    }
}

TEST(WriteErrorMessage, ZeroOrNegativeWritesNothing) {
    for (std::int32_t code : {0, -1, -50}) {
        ResultsReport report;
        report.Write("kept");
        WriteErrorMessage(report, code);
        EXPECT_EQ(report.Text(), "kept") << "code " << code;
    }
}

}  // namespace
}  // namespace zelkon
