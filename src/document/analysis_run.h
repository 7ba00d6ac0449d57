// The analysis run: `Calculate()` brings the choices up to date, dispatches by data format
// to the run for columns, X and Y, two-by-two, larger table or multiple regression, frames
// the report and turns an analysis error code into its message.
#pragma once

#include "core/analysis_entry.h"
#include "document/document.h"

namespace zelkon {

/// The analyses this program provides.
const AnalysisEntryPoints& DefaultAnalysisEntryPoints();

/// Runs the chosen analysis of the document into its report (step 5).  Uses the
/// program-wide calculation status for the framing of the run.
void Calculate(Document& document,
               const AnalysisEntryPoints& entries = DefaultAnalysisEntryPoints());

/// Showing step 5: runs `Calculate` only while the document needs recalculation.  Returns
/// true when it ran.
bool ShowResults(Document& document,
                 const AnalysisEntryPoints& entries = DefaultAnalysisEntryPoints());

/// The post-test parameters handed to the multi-column analysis, derived from the choices.
struct PostTestParameters {
    std::uint8_t kind = 0;
    bool selectedPairs = false;
    std::array<std::uint8_t, PairFlagCount> pairFlags{};
};
PostTestParameters DerivePostTestParameters(const DataTable& table,
                                            const ColumnAnalysisChoices& choices);

}  // namespace zelkon
