// The fixed messages of the analysis error codes, the writer that puts a code's message in
// place of everything an analysis wrote, and the messages of the column run that replace
// the whole report.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/results_report.h"

namespace zelkon {

/// The column run's message when no column holds data (also used by the regression and
/// contingency runs).
inline constexpr std::string_view NoDataMessage =
    "Until you enter data, you won't see any results!";
/// The column run's message when no selected column holds data.
inline constexpr std::string_view NoColumnSelectedMessage =
    "Columns must be selected to perform test.";
/// The column run's message when pairs are to be selected and none is.
inline constexpr std::string_view NoColumnPairSelectedMessage =
    "At least one column pair must be selected.";

/// The lines of the message of an analysis error code (2 to 5, 10 to 15, 30 to 50); empty
/// for every other code.  Each line is shorter than the report's 80-character text limit.
std::span<const std::string_view> ErrorMessageLines(std::int32_t code);

/// For a positive code: resets the report (discarding what the analysis wrote), then writes
/// an empty line, the code's message lines and an empty line.  A code without a message
/// gives just the two empty lines; a code of 0 or less writes nothing.
void WriteErrorMessage(ResultsReport& report, std::int32_t code);

}  // namespace zelkon
