// The message lines of the analysis error codes and the error-message writer.
#include "core/error_messages.h"

namespace zelkon {

namespace {

constexpr std::string_view kMessage2[] = {
    "Divide by zero.  A computation has divided a number by zero",
    "which is illegal.  This may be caused by unusual data or an",
    "unanticipated circumstance.",
};
constexpr std::string_view kMessage3[] = {
    "Underflow.  A computation has produced a number too small for",
    "the computer.  This may be caused by the data.  Try changing",
    "units if appropriate.",
};
constexpr std::string_view kMessage4[] = {
    "Overflow.  A computation has produced a number too large for",
    "the computer.  This may be caused by the data.  Try changing",
    "units if appropriate.",
};
constexpr std::string_view kMessage5[] = {
    "Invalid floating point operation.  This unanticipated error",
    "may arise from a number of possibilities.  Please notify",
    "Kestrane of the problem along with the data set so that the",
    "problem can be reproduced and corrected.",
};
constexpr std::string_view kMessage10[] = {
    "Out of memory.  Some calculations performed on large data sets",
    "require additional memory.  Try to free some memory or reduce",
    "the size of the data.",
};
constexpr std::string_view kMessage11[] = {
    "Not enough data.  ANOVA requires at least two columns and at",
    "least two rows in each column.",
};
constexpr std::string_view kMessage12[] = {
    "Only one value was found in a column.  ANOVA requires at least",
    "two per column.",
};
constexpr std::string_view kMessage13[] = {
    "Standard deviations are all zero. ANOVA requires at least one",
    "column's standard deviation to be nonzero.",
};
constexpr std::string_view kMessage14[] = {
    "ANOVA is impossible.  All group means are identical.",
};
constexpr std::string_view kMessage15[] = {
    "Data are missing.  This test requires a complete rectangular",
    "matrix.  Missing values cannot be dealt with appropriately.",
};
constexpr std::string_view kMessage30[] = {
    "Fractions are not allowed in chi-square analysis.",
};
constexpr std::string_view kMessage31[] = {
    "Negative integers are not allowed in chi square analysis.  All",
    "numbers should be converted to positive integers.",
};
constexpr std::string_view kMessage32[] = {
    "One row is filled with zeros.  In this situation, chi-square",
    "analysis is impossible.  At least one of these values must be",
    "positive.",
};
constexpr std::string_view kMessage33[] = {
    "One column is filled with zeros.  In this situation,",
    "chi-square analysis is impossible.  At least one of these",
    "values must be positive.",
};
constexpr std::string_view kMessage34[] = {
    "Values are missing.  Chi-square analysis requires a rectangular",
    "data set.  Missing values cannot be dealt with appropriately.",
};
constexpr std::string_view kMessage35[] = {
    "Nonlinear regression did not converge.  Try fitting fewer",
    "variables and supplying better starting values.",
};
constexpr std::string_view kMessage36[] = {
    "Linear regression requires at least three points.",
};
constexpr std::string_view kMessage37[] = {
    "Points have only one x-value.  The slope is infinite.",
};
constexpr std::string_view kMessage38[] = {
    "Points have only one y-value.  The slope is zero.",
};
constexpr std::string_view kMessage39[] = {
    "Linear correlation requires at least three points.",
};
constexpr std::string_view kMessage40[] = {
    "It is not possible to analyze your data because one column's SD is zero.",
};
constexpr std::string_view kMessage41[] = {
    "Paired t test requires at least two distinct paired differences.",
};
constexpr std::string_view kMessage42[] = {
    "Nonparametric tests require raw data exclusively.  No",
    "averaged data can be used.",
};
constexpr std::string_view kMessage43[] = {
    "This ANOVA test cannot use averaged data.  All data must be raw.",
};
constexpr std::string_view kMessage44[] = {
    "Paired t test must use raw data in order to determine the",
    "pairs' differences.",
};
constexpr std::string_view kMessage45[] = {
    "All four values must be entered in the spreadsheet to perform test.",
};
constexpr std::string_view kMessage46[] = {
    "No data in the contingency table.",
};
constexpr std::string_view kMessage47[] = {
    "No data to perform correlation test.",
};
constexpr std::string_view kMessage48[] = {
    "Both B and C values must be entered in the spreadsheet to perform",
    "paired test.",
};
constexpr std::string_view kMessage49[] = {
    "It is not possible to analyze your data because one column contains a",
    "single value.",
};
constexpr std::string_view kMessage50[] = {
    "It is not possible to analyze your data because there is only a single",
    "pair.",
};

}  // namespace

std::span<const std::string_view> ErrorMessageLines(std::int32_t code) {
    switch (code) {
        case 2: return kMessage2;
        case 3: return kMessage3;
        case 4: return kMessage4;
        case 5: return kMessage5;
        case 10: return kMessage10;
        case 11: return kMessage11;
        case 12: return kMessage12;
        case 13: return kMessage13;
        case 14: return kMessage14;
        case 15: return kMessage15;
        case 30: return kMessage30;
        case 31: return kMessage31;
        case 32: return kMessage32;
        case 33: return kMessage33;
        case 34: return kMessage34;
        case 35: return kMessage35;
        case 36: return kMessage36;
        case 37: return kMessage37;
        case 38: return kMessage38;
        case 39: return kMessage39;
        case 40: return kMessage40;
        case 41: return kMessage41;
        case 42: return kMessage42;
        case 43: return kMessage43;
        case 44: return kMessage44;
        case 45: return kMessage45;
        case 46: return kMessage46;
        case 47: return kMessage47;
        case 48: return kMessage48;
        case 49: return kMessage49;
        case 50: return kMessage50;
        default: return {};
    }
}

void WriteErrorMessage(ResultsReport& report, std::int32_t code) {
    if (code <= 0) return;
    report.Reset();
    report.NewLine();
    for (std::string_view line : ErrorMessageLines(code)) report.WriteLine(line);
    report.NewLine();
}

}  // namespace zelkon
