// The report of the multiple regression and of the correlation matrix.
#include "analyses/regression/multiple_regression_report.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "stats/wording.h"

namespace zelkon {

namespace {

constexpr int TitleWidth = 65;
constexpr int FiveDigits = -5;
// Before the 4th, 7th, ... term of the equation the line breaks.
constexpr int TermsPerLine = 3;
constexpr std::string_view EquationIndent = "     ";
constexpr int MatrixBlockColumns = 5;
constexpr Extended ModerateVif = 4.0L;
constexpr Extended HighVif = 10.0L;

void SetTabs(ResultsReport& report, std::initializer_list<int> stops) {
    report.ClearTabs();
    for (int s : stops) report.AddTab(s);
}

/// A section heading, underlined, as a whole line.
void Heading(ResultsReport& report, std::string_view text) {
    report.ToggleEmphasis2();
    report.Write(text);
    report.ToggleEmphasis2();
    report.NewLine();
}

/// A table header row in bold: the words separated by tab stops.
void HeaderRow(ResultsReport& report, std::initializer_list<std::string_view> words) {
    report.ToggleEmphasis1();
    bool first = true;
    for (std::string_view w : words) {
        if (!first) report.NextTab();
        report.Write(w);
        first = false;
    }
    report.ToggleEmphasis1();
    report.NewLine();
}

void TabNumber(ResultsReport& report, Extended x, int digits) {
    report.NextTab();
    WriteNumber(report, x, digits);
}

void WriteEquation(ResultsReport& report, const MultipleRegressionAnalysis& a) {
    report.Write(" [" + a.yName + "] = ");
    WriteNumber(report, a.coefficients[0], FiveDigits);
    for (int j = 1; j <= a.k; ++j) {
        if (j % TermsPerLine == 0) {  // term j + 1 is the 4th, 7th, ...
            report.NewLine();
            report.Write(EquationIndent);
        }
        const Extended b = a.coefficients[static_cast<std::size_t>(j)];
        report.Write(b < 0.0L ? " - " : " + ");
        WriteNumber(report, std::fabs(b), FiveDigits);
        report.Write("*[" + a.xNames[static_cast<std::size_t>(j - 1)] + "]");
    }
    report.NewLine();
}

void WriteCoefficientTable(ResultsReport& report, const MultipleRegressionAnalysis& a) {
    SetTabs(report, {20, 32, 42, 50, 54});
    HeaderRow(report, {"Variable", "Coefficient", "SE", "95% Confidence Interval"});
    for (int i = 0; i <= a.k; ++i) {
        const auto ii = static_cast<std::size_t>(i);
        if (i == 0) {
            report.Write(a.k == 1 ? "Intercept  " : "(constant)  ");
        } else {
            report.Write(a.k == 1 ? std::string("Slope    ") : a.xNames[ii - 1] + "  ");
        }
        TabNumber(report, a.coefficients[ii], FiveDigits);
        TabNumber(report, a.standardErrors[ii], FiveDigits);
        TabNumber(report, a.lower[ii], FiveDigits);
        report.NextTab();
        report.Write("to");
        TabNumber(report, a.upper[ii], FiveDigits);
        report.NewLine();
    }
}

/// A label and its value in one cell of the fit table; a label without a closing blank is
/// separated from its value by one.
void FitCell(ResultsReport& report, std::string_view label, Extended value, int digits) {
    report.Write(label);
    if (label.empty() || label.back() != ' ') report.Write(" ");
    WriteNumber(report, value, digits);
}

void WriteFit(ResultsReport& report, const MultipleRegressionAnalysis& a) {
    Heading(report, "How good is the fit?");
    report.NewLine();
    report.Write("R squared = ");
    WriteNumber(report, a.rSquared * 100.0L, 2);
    report.WriteLine("%.");
    report.WriteLine("This is the percent of the variance in " + a.yName +
                     " explained by the model.");
    if (a.perfect) {
        report.WriteLine("The model fits the data perfectly.");
        return;
    }
    report.NewLine();
    WritePValueSentence(report, 0, true, a.p);
    report.WriteLine("The P value answers this question:");
    report.WriteLine("  If there were no linear relationship among the variables, what is ");
    report.WriteLine("  the chance that R squared would be that high (or higher) by chance?");
    if (a.p > 0.05L) {
        report.NewLine();
        report.WriteLine("Since P is high, the rest of the results will be of little interest.");
    }
    report.NewLine();
    // Two cells to a line, the second at the first tab stop (or at the second when the
    // first cell runs past it).
    SetTabs(report, {25, 49});
    FitCell(report, "Sum-of-squares ", a.ssResidual, FiveDigits);
    report.NextTab();
    FitCell(report, "SD of residuals ", a.sdResidual, FiveDigits);
    report.NewLine();
    FitCell(report, "R squared", a.rSquared, 4);
    report.NextTab();
    FitCell(report, "Adjusted R squared", a.adjustedRSquared, 4);
    report.NewLine();
    FitCell(report, a.k == 1 ? "r" : "Multiple R ", a.multipleR, 4);
    report.NextTab();
    FitCell(report, "F ", a.f, 4);
    report.NewLine();
}

void WriteContributions(ResultsReport& report, const MultipleRegressionAnalysis& a) {
    report.NewLine();
    report.NewLine();
    Heading(report, "Which variable(s) make a significant contribution?");
    SetTabs(report, {20, 32, 44, 56});
    HeaderRow(report, {"Variable", "t ratio", "P value", "Significant?"});
    for (int i = 0; i <= a.k; ++i) {
        const auto ii = static_cast<std::size_t>(i);
        report.Write(i == 0 ? std::string("(constant)") : a.xNames[ii - 1]);
        report.NextTab();
        if (IsMissingValue(a.tRatios[ii])) {
            report.Write("infinite");
        } else {
            WriteNumber(report, a.tRatios[ii], FiveDigits);
        }
        report.NextTab();
        const Extended p = a.tPValues[ii];
        if (p <= 0.0001L) {
            report.Write("< 0.0001");
        } else {
            report.Write("  ");
            WriteNumber(report, p, 4);
        }
        report.NextTab();
        report.Write(p <= 0.05L ? "  Yes" : "  No");
        report.NewLine();
    }
    report.NewLine();
    report.WriteLine("Each P value compares the full model with a simpler model omiting");
    report.WriteLine("one variable. It tests the effect of one variable, after accounting");
    report.WriteLine("for the effects of the others.");
}

void WriteMulticollinearity(ResultsReport& report, const MultipleRegressionAnalysis& a) {
    report.NewLine();
    report.NewLine();
    Heading(report, "Is multicollinearity a problem?");
    SetTabs(report, {20, 37, 47});
    HeaderRow(report, {"Variable", "VIF", "R2 with other X"});
    for (int j = 0; j < a.k; ++j) {
        const auto jj = static_cast<std::size_t>(j);
        report.Write(a.xNames[jj]);
        TabNumber(report, a.vif[jj], 2);
        TabNumber(report, a.r2WithOtherX[jj], 4);
        report.NewLine();
    }
    report.NewLine();
    report.WriteLine("Each R squared quantifies how well that X variable is predicted from");
    report.WriteLine("the other X variables (ignoring Y). VIF is calculated from R squared.");
    report.NewLine();
    const Extended v = a.largestVif;
    if (v < ModerateVif) {
        report.WriteLine("All R squared values are low (<0.75). The X variables are independent ");
        report.WriteLine("of each other. Multicollinearity is not a problem.");
    } else if (v > ModerateVif && v < HighVif) {
        report.WriteLine(
            "Some R squared values are high (>.75). Multicollinearity may be a problem.");
    } else if (v > HighVif) {
        report.WriteLine(
            "Some R squared values are quite high (>.90). Multicollinearity is a problem.");
    }
    if (v > ModerateVif) {
        report.WriteLine("This means that the X variables provide redundant information, ");
        report.WriteLine("making the confidence intervals very wide (by a factor of VIF).");
        report.WriteLine("Consider removing one or more X variables from the model,");
        report.WriteLine("or obtaining data over a wider range of X values.");
    }
    report.NewLine();
    report.NewLine();
    report.ToggleEmphasis2();
    report.Write("Correlation Matrix");
    report.ToggleEmphasis2();
}

/// A correlation to four decimals, with a blank in place of the minus sign.
void WriteCorrelation(ResultsReport& report, Extended r) {
    const std::string text = FormatNumber(r, 4);
    if (text.empty() || text.front() != '-') report.Write(" ");
    report.Write(text);
}

void WriteSummary(ResultsReport& report, const MultipleRegressionAnalysis& a) {
    report.NewLine();
    report.NewLine();
    Heading(report, "Summary of your data");
    report.NewLine();
    report.Write("Number of rows (subjects) analyzed: ");
    report.WriteInteger(a.n);
    report.NewLine();
    report.Write("Number of rows with missing data, excluded from calculations: ");
    report.WriteInteger(a.excludedRows);
    report.NewLine();
    if (a.regressionMode) {
        report.Write("Number of degrees of freedom (#subjects - #variables - 1): ");
        report.WriteInteger(a.df);
        report.NewLine();
    }
}

}  // namespace

void WriteCorrelationMatrix(ResultsReport& report, const MultipleRegressionAnalysis& a) {
    SetTabs(report, {17, 26, 35, 44, 53, 62});
    int blocks = a.k / MatrixBlockColumns + 1;
    // A correlation matrix whose columns fill the blocks exactly has no column left for a
    // last block, which would repeat only the row names.
    if (!a.regressionMode && a.k % MatrixBlockColumns == 0) --blocks;
    for (int block = 0; block < blocks; ++block) {
        const int first = block * MatrixBlockColumns;
        const int last = std::min(a.k, first + MatrixBlockColumns);
        // In regression mode the last block holds fewer than five X variables and the Y
        // column.
        const bool withY = a.regressionMode && block == blocks - 1;
        report.NewLine();
        report.NewLine();
        for (int j = first; j < last; ++j) {
            report.NextTab();
            report.Write(std::string(" ") + ColumnLetter(a.xColumns[static_cast<std::size_t>(j)]) +
                         ":");
        }
        if (withY) {
            report.NextTab();
            report.Write(std::string("|  ") + ColumnLetter(a.yColumn) + ": (Y)");
        }
        for (int i = 0; i < a.k; ++i) {
            const auto ii = static_cast<std::size_t>(i);
            report.NewLine();
            report.Write(a.xNames[ii]);
            for (int j = first; j < last; ++j) {
                report.NextTab();
                WriteCorrelation(report, a.correlations[ii][static_cast<std::size_t>(j)]);
            }
            if (withY) {
                report.NextTab();
                report.Write("| ");
                WriteCorrelation(report, a.correlationsWithY[ii]);
            }
        }
    }
    report.NewLine();
    report.NewLine();
    report.WriteLine("Each correlation coefficient (r) is calculated independently, ");
    report.WriteLine("without considering the other variables.");
    if (a.excludedRows > 0) {
        report.WriteLine("(Except that rows are excluded when any variables are missing.)");
    }
}

void WriteMultipleRegressionReport(ResultsReport& report, const MultipleRegressionAnalysis& a) {
    if (a.refusal != MultipleRegressionRefusal::None) {
        report.NewLine();
        report.WriteLine(a.refusal == MultipleRegressionRefusal::ConstantColumn
                             ? ConstantColumnMessage(a.constantColumn)
                             : std::string(RefusalMessage(a.refusal)));
        report.NewLine();
        return;
    }
    if (!a.regressionMode) {
        report.Write(ResultsReport::Centre("Correlation Matrix Results", TitleWidth));
        WriteCorrelationMatrix(report, a);
        WriteSummary(report, a);
        report.ClearTabs();
        return;
    }
    report.WriteLine(ResultsReport::Centre("Multiple Regression Results", TitleWidth));
    report.NewLine();
    Heading(report, "What equation fits the data the best?");
    report.NewLine();
    WriteEquation(report, a);
    WriteCoefficientTable(report, a);
    WriteFit(report, a);
    if (a.k > 1) {
        WriteContributions(report, a);
        WriteMulticollinearity(report, a);
        WriteCorrelationMatrix(report, a);
    }
    WriteSummary(report, a);
    report.ClearTabs();
}

}  // namespace zelkon
