// Pieces shared by every results table: moving to a character column, aligned titles,
// the number, integer and "Unknown" fields, heading blocks with their "=" underline and
// the significance codes of the post-test tables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/results_report.h"
#include "core/types.h"

namespace zelkon {

/// Titles of columns and rows are cut to this many characters.
inline constexpr std::size_t MaxTableTitle = 80;
/// Written in place of a missing minimum, maximum or median.
inline constexpr std::string_view UnknownText = "Unknown";

/// The four significance codes of the post-test tables.
inline constexpr std::string_view CodeP001 = "*** P<0.001";
inline constexpr std::string_view CodeP01 = "**  P<0.01";
inline constexpr std::string_view CodeP05 = "*   P<0.05";
inline constexpr std::string_view CodeNotSignificant = "ns  P>0.05";
/// Width in which the significance codes are right-aligned.
inline constexpr int SignificanceCodeWidth = 11;

/// A word of a heading line: centred in `width` characters at character column
/// `position` (1-based; 0 means no padding).  Width 0 writes the text as it is.
struct HeadingWord {
    int position;
    std::string_view text;
    int width;
};

/// A run of "=" or "-" characters of the given length at a character column
/// (0 means no padding).
struct ColumnRun {
    int position;
    int length;
};

/// Pads the current line to character column `position`; 0 leaves the column alone.  When
/// the text before already reaches the column and ends in a character other than a blank,
/// the field written next is kept one blank apart from it (unless it begins with one), so
/// that no two fields of a row run together.
void MoveToColumn(ResultsReport& report, int position);

/// The text right-aligned (blanks before) or left-aligned (blanks after) in `width`
/// characters; a longer text is returned whole.
std::string RightAlignedText(std::string_view text, int width);
std::string LeftAlignedText(std::string_view text, int width);

/// A title cut to 80 characters, right- or left-aligned in `width` characters.
void WriteTitleRight(ResultsReport& report, std::string_view title, int width);
void WriteTitleLeft(ResultsReport& report, std::string_view title, int width);

/// x with five significant digits (four below 10), right-aligned in `width`; a missing
/// value writes blanks.
void WriteNumberField(ResultsReport& report, Extended x, int width);
/// i right-aligned in `width`.
void WriteIntegerField(ResultsReport& report, std::int64_t i, int width);
/// "Unknown" right-aligned in `width` for a missing value, otherwise the number field.
void WriteValueOrUnknown(ResultsReport& report, Extended x, int width);

/// Opens a heading block (first emphasis on).
void BeginHeading(ResultsReport& report);
/// One heading line of centred words, then the line end.
void WriteHeadingLine(ResultsReport& report, const std::vector<HeadingWord>& words);
/// The "=" underline that closes a heading block; the emphasis is switched off before
/// the line ends, so every stored line carries balanced switches.
void EndHeading(ResultsReport& report, const std::vector<ColumnRun>& underline);
/// A line of "-" runs.
void WriteDashLine(ResultsReport& report, const std::vector<ColumnRun>& runs);

/// The code of a post-test P value (or significance category): "*** P<0.001" when
/// P <= 0.001, "**  P<0.01" when P <= 0.01, "*   P<0.05" when P <= 0.05, else "ns  P>0.05".
std::string_view SignificanceCode(Extended p);
/// The three-level code of the comparisons with a control (no "***" level).
std::string_view ControlSignificanceCode(Extended p);

}  // namespace zelkon
