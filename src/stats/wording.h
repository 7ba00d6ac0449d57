// Number and P value wording: how numbers become report text, the P value sentence and
// the word that grades a P value.
#pragma once

#include <string>
#include <string_view>

#include "core/results_report.h"
#include "core/types.h"

namespace zelkon {

/// The text of x for the digits argument d (d >= 0: d decimals; d < 0: |d| significant
/// digits), right-aligned in the field width the digits rule gives.  Missing gives blanks.
std::string FormatNumber(Extended x, int d);
/// The same, right-aligned in the given width (a longer text stays whole).
std::string FormatNumberWidth(Extended x, int width, int d);

void WriteNumber(ResultsReport& report, Extended x, int d);
void WriteNumberWidth(ResultsReport& report, Extended x, int width, int d);

/// "The two-tailed P value is 0.0123, considered significant." as one whole line.
void WritePValueSentence(ResultsReport& report, int tails, bool verdict, Extended p);
/// The same line in the "sided" form of the contingency tables.
void WriteSidedPValueSentence(ResultsReport& report, int tails, bool verdict, Extended p);
/// The grading word ("extremely ", "very ", "", "not quite ", "not ").
std::string_view SignificanceWord(Extended p);
void WriteSignificanceWord(ResultsReport& report, Extended p);

}  // namespace zelkon
