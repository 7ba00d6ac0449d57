// The larger contingency table: chi-square for independence against R's chisq.test, the
// trend test against prop.trend.test (with the table's row and column numbers as scores), the
// validity warning at its thresholds, the block rules and error codes, and the report
// against lines built by hand, alone and through the whole contingency run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <string>
#include <vector>

#include "analyses/contingency/contingency_codes.h"
#include "analyses/contingency/contingency_report.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::PlainLines;
using Rows = std::vector<std::vector<Extended>>;

// Statistics in closed form: relative 1e-12; P values from the chi-square distribution
// (continued fractions stopping at 3e-7): relative 1e-5.
constexpr double Exact = 1e-12;
constexpr double PTolerance = 1e-5;

void ExpectRel(Extended actual, double expected, double tolerance) {
    EXPECT_NEAR(static_cast<double>(actual), expected, std::fabs(expected) * tolerance);
}

// Fills the table from `firstRow` down, from column `firstColumn` on; MissingValue leaves a
// cell empty and an empty vector leaves a row empty.
void Fill(DataTable& table, const Rows& rows, int firstRow = 0, int firstColumn = 0) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = 0; j < rows[i].size(); ++j) {
            if (IsMissingValue(rows[i][j])) continue;
            table.SetValue(firstRow + static_cast<int>(i), firstColumn + static_cast<int>(j),
                           rows[i][j]);
        }
    }
}

ContingencyResult Compute(const Rows& rows, int firstRow = 0, int firstColumn = 0) {
    DataTable table;
    Fill(table, rows, firstRow, firstColumn);
    return ComputeContingency(table);
}

const Rows L1 = {{12, 5, 9}, {7, 14, 6}, {3, 8, 15}};
const Rows L2 = {{15, 12, 9, 4}, {10, 13, 16, 21}};
const Rows L3 = {{5, 20}, {9, 16}, {13, 12}, {18, 7}};

TEST(ContingencyIndependence, AgreesWithChisqTest) {
    // Rscript: chisq.test(matrix(c(12,5,9, 7,14,6, 3,8,15), 3, byrow=TRUE)):
    // X-squared 14.4070970867267, df 4, p 0.00610295784006232.
    const ContingencyResult r1 = Compute(L1);
    EXPECT_EQ(r1.errorCode, 0);
    EXPECT_EQ(r1.rows, 3);
    EXPECT_EQ(r1.columns, 3);
    EXPECT_EQ(r1.df, 4);
    EXPECT_EQ(r1.grandTotal, 79.0L);
    ExpectRel(r1.chiSquare, 14.4070970867267, Exact);
    ExpectRel(r1.p, 0.00610295784006232, PTolerance);
    EXPECT_FALSE(r1.warning);
    EXPECT_EQ(r1.trend.kind, TrendKind::None);

    // A two-by-two table in this format: no Yates correction and no trend.
    // Rscript: chisq.test(matrix(c(10,20,30,40), 2, byrow=TRUE), correct=FALSE):
    // 0.793650793650794, p 0.372998483613487.
    const ContingencyResult r2 = Compute({{10, 20}, {30, 40}});
    ExpectRel(r2.chiSquare, 0.793650793650794, Exact);
    ExpectRel(r2.p, 0.372998483613487, PTolerance);
    EXPECT_EQ(r2.df, 1);
    EXPECT_EQ(r2.trend.kind, TrendKind::None);
}

TEST(ContingencyTrend, TwoRowsOrderTheColumns) {
    // Rscript: m <- matrix(c(15,12,9,4, 10,13,16,21), 2, byrow=TRUE); chisq.test(m):
    // 11, df 3, p 0.0117258755784214; prop.trend.test(m[1,], colSums(m)):
    // 10.8, p 0.00101500094711306.
    const ContingencyResult r = Compute(L2);
    ExpectRel(r.chiSquare, 11.0, Exact);
    EXPECT_EQ(r.df, 3);
    ExpectRel(r.p, 0.0117258755784214, PTolerance);
    EXPECT_EQ(r.trend.kind, TrendKind::OrderedColumns);
    ExpectRel(r.trend.chiSquare, 10.8, Exact);
    ExpectRel(r.trend.p, 0.00101500094711306, PTolerance);
}

TEST(ContingencyTrend, TwoColumnsOrderTheRowsScoredByTableRowNumber) {
    // Rscript: m <- matrix(c(5,20, 9,16, 13,12, 18,7), 4, byrow=TRUE); chisq.test(m):
    // 14.989898989899, df 3, p 0.00182530135209177; prop.trend.test(m[,1], rowSums(m)):
    // 14.9414141414141, p 0.000110901583310975.
    const ContingencyResult r = Compute(L3);
    ExpectRel(r.chiSquare, 14.989898989899, Exact);
    ExpectRel(r.p, 0.00182530135209177, PTolerance);
    EXPECT_EQ(r.trend.kind, TrendKind::OrderedRows);
    ExpectRel(r.trend.chiSquare, 14.9414141414141, Exact);
    ExpectRel(r.trend.p, 0.000110901583310975, PTolerance);

    // Starting in the third table row scores the rows 3 to 6: only the spacing matters
    // (prop.trend.test(..., score=c(3,4,5,6)) gives the same 14.9414141414141).
    const ContingencyResult shifted = Compute(L3, 2);
    ExpectRel(shifted.trend.chiSquare, 14.9414141414141, Exact);
    EXPECT_EQ(shifted.rowLines.front().number, 3);

    // An empty row between rows 2 and 3 is skipped by the block and keeps its number out of
    // the scores 1, 2, 4, 5: prop.trend.test(..., score=c(1,2,4,5)) = 14.5454545454545,
    // p 0.000136818331627393; the independence test is unchanged.
    const ContingencyResult gap = Compute({{5, 20}, {9, 16}, {}, {13, 12}, {18, 7}});
    EXPECT_EQ(gap.errorCode, 0);
    EXPECT_EQ(gap.rows, 4);
    ExpectRel(gap.chiSquare, 14.989898989899, Exact);
    ExpectRel(gap.trend.chiSquare, 14.5454545454545, Exact);
    ExpectRel(gap.trend.p, 0.000136818331627393, PTolerance);
    ASSERT_EQ(gap.rowLines.size(), 4u);
    EXPECT_EQ(gap.rowLines[2].number, 4);
}

TEST(ContingencyWarning, Thresholds) {
    // Expected values from R's chisq.test()$expected.
    // One expected value exactly 1.0, the others 5.5 and above (1 of 9 at most 5): warned.
    const ContingencyResult one = Compute({{1, 5, 6}, {5, 30, 31}, {6, 31, 29}});
    EXPECT_TRUE(one.expectedAtMostOne);
    EXPECT_EQ(one.expectedAtMostFive, 1);
    EXPECT_TRUE(one.warning);
    // Smallest expected 1.075862, 1 of 9 at most 5: no warning.
    const ContingencyResult above = Compute({{1, 6, 6}, {5, 30, 31}, {6, 31, 29}});
    EXPECT_FALSE(above.expectedAtMostOne);
    EXPECT_EQ(above.expectedAtMostFive, 1);
    EXPECT_FALSE(above.warning);
    // 2 x 5 with two expected values of exactly 5 (20% of 10): warned.
    const ContingencyResult fifth = Compute({{3, 17, 12, 8, 10}, {7, 13, 8, 12, 10}});
    EXPECT_EQ(fifth.expectedAtMostFive, 2);
    EXPECT_TRUE(fifth.warning);
    // 2 x 5 with one expected value of 4.8 (10%), none at most 1: no warning.
    const ContingencyResult tenth = Compute({{4, 10, 8, 10, 8}, {8, 20, 12, 10, 10}});
    EXPECT_EQ(tenth.expectedAtMostFive, 1);
    EXPECT_FALSE(tenth.warning);
    // Rscript: chisq.test(matrix(c(4,10,8,10,8, 8,20,12,10,10), 2, byrow=TRUE)): 1.75925925925926,
    // p 0.779927059048136; prop.trend.test(c(4,10,8,10,8), c(12,30,20,20,18)): 1.27088726759238,
    // p 0.259600295091218.
    ExpectRel(tenth.chiSquare, 1.75925925925926, Exact);
    ExpectRel(tenth.trend.chiSquare, 1.27088726759238, Exact);
    ExpectRel(tenth.trend.p, 0.259600295091218, PTolerance);
}

TEST(ContingencyBlockRules, ErrorCodes) {
    DataTable empty;
    EXPECT_EQ(ComputeContingency(empty).errorCode, CodeNoContingencyData);
    // A gap inside a data row, and a value outside the columns of the first row.
    EXPECT_EQ(Compute({{1, 2, 3}, {4, MissingValue, 6}}).errorCode, CodeBlockGap);
    EXPECT_EQ(Compute({{1, 2}, {4, 5, 6}}).errorCode, CodeBlockGap);
    EXPECT_EQ(Compute({{1, 2.5}, {4, 5}}).errorCode, CodeFractionCount);
    EXPECT_EQ(Compute({{1, 2}, {-4, 5}}).errorCode, CodeNegativeCount);
    EXPECT_EQ(Compute({{0, 2}, {0, 5}}).errorCode, CodeZeroColumn);
    EXPECT_EQ(Compute({{1, 2}, {0, 0}, {3, 4}}).errorCode, CodeZeroRow);
    // A column of the set may lie apart from the others: A and C in use, B empty throughout.
    const ContingencyResult apart = Compute({{10, MissingValue, 20}, {30, MissingValue, 40}});
    EXPECT_EQ(apart.errorCode, 0);
    EXPECT_EQ(apart.columns, 2);
    ExpectRel(apart.chiSquare, 0.793650793650794, Exact);
    ASSERT_EQ(apart.columnLines.size(), 2u);
    EXPECT_EQ(apart.columnLines[1].number, 3);
}

TEST(ContingencyBlockRules, SingleRowHasNothingToTest) {
    // One row: every expected value equals its count, chi-square 0 with 0 degrees of freedom,
    // P 1 and no arithmetic fault.
    std::feclearexcept(FE_ALL_EXCEPT);
    const ContingencyResult r = Compute({{10, 20, 30}});
    EXPECT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.df, 0);
    EXPECT_EQ(r.chiSquare, 0.0L);
    EXPECT_EQ(r.p, 1.0L);
    EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW));
}

std::string Sp(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}
std::string Right(const std::string& s, int width) {
    return s.size() >= static_cast<std::size_t>(width) ? s
                                                       : Sp(width - static_cast<int>(s.size())) + s;
}
std::string Centred(const std::string& s) {
    const int free = 65 - static_cast<int>(s.size());
    return Sp(free / 2) + s + Sp(free - free / 2);
}
// A summary line: title right-aligned in 15 at 1, total in 10 at 18, percentage in 7 with
// two decimals at 30 and "%".
std::string SummaryLine(const std::string& title, const std::string& total,
                        const std::string& pct) {
    return Right(title, 15) + Sp(2) + Right(total, 10) + Sp(2) + Right(pct, 7) + "%";
}
std::vector<std::string> SummaryTable(const std::string& margin,
                                      const std::vector<std::string>& lines,
                                      const std::string& total) {
    const std::string heading = margin == "Row" ? Sp(6) + "Row" + Sp(6) : Sp(4) + "Column" + Sp(5);
    std::vector<std::string> out = {
        heading + Sp(2) + "  Total   " + Sp(2) + " Percent  ",
        std::string(15, '=') + Sp(2) + std::string(10, '=') + Sp(2) + std::string(8, '=')};
    out.insert(out.end(), lines.begin(), lines.end());
    out.push_back(std::string(15, '-') + Sp(2) + std::string(10, '-') + Sp(2) +
                  std::string(8, '-'));
    out.push_back(SummaryLine("Total", total, "100.00"));
    out.push_back("");
    return out;
}

std::vector<std::string> Concat(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST(ContingencyReport, TwoRowsWithTrend) {
    // L2 with titled columns.  Values as in TwoRowsOrderTheColumns: chi-square 11 (written
    // "11.000"), P 0.0117258755784214, trend 10.8 with P 0.00101500094711306.
    DataTable table;
    Fill(table, L2);
    const char* titles[] = {"None", "Low", "Medium", "High"};
    for (int c = 0; c < 4; ++c) table.Record(c).title = titles[c];
    ResultsReport report;
    AnalysisOutput out{report, 0, 0, {}};
    RunContingencyAnalysis(table, out);
    EXPECT_EQ(out.errorCode, 0);
    EXPECT_EQ(out.helpTopic, 612);
    const std::vector<std::string> expected = Concat({
        {
            Centred("Chi-squared Test for Independence"),
            "",
            "Chi-square: 11.000",
            "Degrees of Freedom: 3",
            "",
            "Table size: 2 rows, 4 columns.",
            "The P value is 0.0117. ",
            "The row and column variables are significantly associated.",
            "",
            "",
            Centred("Chi-Squared Test for Trend."),
            "Note: This analysis is useful only if the categories defining the",
            "columns are arranged in a natural order (i.e. age groups, dose",
            "or time), with equal spacing between columns.",
            "",
            "Chi-squared for trend = 10.800 (1 degree of freedom)",
            "The P value is 0.0010. ",
            "There is a significant linear trend among the ordered categories",
            "defining the columns and the proportion of subjects in the top row.",
            "",
            Centred("Summary of Data"),
            "",
        },
        // N = 100: rows 40 and 60; columns 25 each.
        SummaryTable("Row", {SummaryLine("1", "40", "40.00"), SummaryLine("2", "60", "60.00")},
                     "100"),
        SummaryTable("Column",
                     {SummaryLine("None", "25", "25.00"), SummaryLine("Low", "25", "25.00"),
                      SummaryLine("Medium", "25", "25.00"), SummaryLine("High", "25", "25.00")},
                     "100"),
    });
    EXPECT_EQ(PlainLines(report), expected);
    EXPECT_NE(out.resultJson.find("\"trend\""), std::string::npos);
}

TEST(ContingencyReport, WarningAndRowTrendTexts) {
    // The 3 x 3 table with an expected value of exactly 1: Rscript chisq.test():
    // 0.272727272727273, df 4, p 0.991506014624345.
    DataTable table;
    Fill(table, {{1, 5, 6}, {5, 30, 31}, {6, 31, 29}});
    ResultsReport report;
    WriteContingencyReport(report, ComputeContingency(table));
    const std::vector<std::string> lines = PlainLines(report);
    const std::vector<std::string> head = {
        Centred("Chi-squared Test for Independence"),
        "",
        "Chi-square: 0.2727",
        "Degrees of Freedom: 4",
        "",
        "Table size: 3 rows, 3 columns.",
        "The P value is 0.9915. ",
        "The row and column variables are not significantly associated.",
        "",
        "  Chi-square calculations are only valid when all expected",
        "values are greater than 1.0 and at least 20% of the expected",
        "values are greater than 5.  These conditions have not been",
        "met, and thus the chi-square calculations are not valid.  To",
        "avoid this problem, combine two or more rows or columns.",
        "",
        Centred("Summary of Data"),
    };
    ASSERT_GE(lines.size(), head.size());
    EXPECT_EQ(
        std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(head.size())),
        head);

    // Two columns: the trend over the rows, with its own texts; P = 0.05 exactly is not
    // significant in either sentence (the tests are P < 0.05).
    ContingencyResult r = Compute(L3);
    r.p = 0.05L;
    r.trend.p = 0.05L;
    ResultsReport rows;
    WriteContingencyReport(rows, r);
    const std::vector<std::string> text = PlainLines(rows);
    EXPECT_EQ(text[6], "The P value is 0.0500. ");
    EXPECT_EQ(text[7], "The row and column variables are not significantly associated.");
    EXPECT_EQ(text[12], "rows are arranged in a natural order (i.e. age groups, dose");
    EXPECT_EQ(text[13], "or time), with equal spacing between rows.");
    EXPECT_EQ(text[15], "Chi-squared for trend = 14.941 (1 degree of freedom)");
    EXPECT_EQ(text[17], "There is not a significant linear trend among the ordered categories");
    EXPECT_EQ(text[18], "defining the rows and the proportion of subjects in the left column.");
}

TEST(ContingencyRun, UntitledColumnsShowTheirLetterAndErrorsTheirMessage) {
    Document doc;
    doc.Data().SetFormat(DataFormat::LargerTable);
    Fill(doc.Table(), {{10, 20}, {30, 40}}, 0, 1);  // columns B and C
    AnalysisEntryPoints entries;
    entries.contingency = RunContingencyAnalysis;
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 0);
    EXPECT_EQ(doc.ResultsHelpTopic(), 612);
    const std::vector<std::string> lines = PlainLines(doc.Report());
    // Rscript: chisq.test(matrix(c(10,20,30,40), 2, byrow=TRUE), correct=FALSE):
    // 0.793650793650794, p 0.372998483613487.
    EXPECT_EQ(lines[2], "Chi-square: 0.7937");
    EXPECT_EQ(lines[6], "The P value is 0.3730. ");
    // N = 100: columns 40 and 60.
    const std::vector<std::string> columns = {SummaryLine("B", "40", "40.00"),
                                              SummaryLine("C", "60", "60.00")};
    EXPECT_NE(std::search(lines.begin(), lines.end(), columns.begin(), columns.end()), lines.end());
    EXPECT_TRUE(doc.Table().Record(1).title.empty());  // the temporary title is gone again

    doc.Table().SetValue(1, 2, MissingValue);  // a gap in the second row
    doc.SetNeedsRecalculation(true);
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 34);
    const std::vector<std::string> message = PlainLines(doc.Report());
    EXPECT_EQ(message[1], "Values are missing.  Chi-square analysis requires a rectangular");
    EXPECT_EQ(message[2], "data set.  Missing values cannot be dealt with appropriately.");
}

}  // namespace
}  // namespace zelkon
