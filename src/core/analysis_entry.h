// The entry points through which the analysis run calls the analyses.  Each analysis area
// provides a function of one of these types; the run holds them in `AnalysisEntryPoints`,
// so the analyses never reach back into the run and tests can put recorders in their place.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/analysis_choices.h"
#include "core/column_record.h"
#include "core/data_table.h"
#include "core/help_topics.h"
#include "core/results_report.h"
#include "core/types.h"

namespace zelkon {

/// What every analysis writes besides the report: an error code (0 none; the run replaces
/// the report by the code's message), the help topic of the results page (core/help_topics.h;
/// set before the data are checked), and the result
/// struct of the analysis as JSON at full precision (for `zelkon-cli report --json`).
struct AnalysisOutput {
    ResultsReport& report;
    std::int32_t errorCode = 0;
    std::int32_t helpTopic = 0;
    std::string resultJson;
};

/// One column against a hypothetical value.  `column` is -1 for an averaged column.
struct OneColumnRequest {
    DataTable& table;
    int column;
    const ColumnRecord& record;
    bool nonparametric;
    bool twoSided;
    Extended hypotheticalValue;
};

/// Two columns compared.  A column is -1 when it holds averaged data.
struct TwoColumnRequest {
    DataTable& table;
    int firstColumn;
    int secondColumn;
    const ColumnRecord& firstRecord;
    const ColumnRecord& secondRecord;
    bool nonparametric;
    bool twoSided;
    bool equalSDs;
    bool unpaired;
};

/// Three or more columns, with the post-test parameters the run derived.
struct MultiColumnRequest {
    DataTable& table;
    bool nonparametric;
    bool unmatched;
    const std::array<std::uint8_t, PairFlagCount>& pairFlags;
    bool selectedPairs;
    bool postTestWanted;
    std::int32_t controlColumn;
    std::uint8_t postTestMode;
    std::uint8_t postTestKind;
};

/// What the graph draws of the last linear regression.  `valid` is false when no regression
/// ran or it did not succeed (the stored line is then missing).  Means are in the units of
/// the data (also for a line forced through a point); `sxx` is the sum of squared
/// deviations of X about its mean; `n` counts the points.
struct RegressionLineResult {
    bool valid = false;
    Extended slope = MissingValue;
    Extended intercept = MissingValue;
    Extended slopeLower = MissingValue;
    Extended slopeUpper = MissingValue;
    Extended residualSD = MissingValue;
    Extended meanX = MissingValue;
    Extended meanY = MissingValue;
    Extended sxx = MissingValue;
    Extended rSquared = MissingValue;  ///< exactly 1 for a perfect line (drawn without band)
    std::int32_t n = 0;
    bool forced = false;
    Extended forceX = MissingValue;
    Extended forceY = MissingValue;
};

/// The X-and-Y linear regression.
struct RegressionRequest {
    DataTable& table;
    const XYChoices& choices;
    RegressionLineResult& line;
};

/// The two-by-two table.  `paired` selects McNemar's test.
struct TwoByTwoRequest {
    Extended a, b, c, d;
    std::string column1, column2, row1, row2;
    bool chiSquare;
    bool yates;
    bool twoSided;
    bool relativeRisk;
    bool oddsRatio;
    bool relativeRisk2;
    bool sensitivity;
    bool fisher;
    bool paired;
};

/// The results of the last multiple regression the graph draws: the rows the last analysis
/// used (also for a correlation matrix) and, after a fit (`valid`), the dependent column and
/// the coefficients.  The fitted value of a row is coefficients[0] plus, over the columns c
/// with inModel[c] set, coefficients[c + 1] times the row's value in column c.
struct MultipleRegressionResult {
    bool valid = false;
    std::int32_t yColumn = -1;
    std::array<Extended, DataColumns + 1> coefficients{};  ///< intercept first, then by column
    std::array<std::uint8_t, DataColumns> inModel{};       ///< 1 for an X column of the fit
    std::array<std::uint8_t, DataRows> analysedRows{};     ///< 1 for each row used
};

struct MultipleRegressionRequest {
    DataTable& table;
    const MultipleRegressionChoices& choices;
    MultipleRegressionResult& result;
};

using OneColumnEntry = void (*)(const OneColumnRequest&, AnalysisOutput&);
using TwoColumnEntry = void (*)(const TwoColumnRequest&, AnalysisOutput&);
using MultiColumnEntry = void (*)(const MultiColumnRequest&, AnalysisOutput&);
using RegressionEntry = bool (*)(const RegressionRequest&, AnalysisOutput&);
using TableEntry = void (*)(DataTable&, AnalysisOutput&);
using TwoByTwoEntry = void (*)(const TwoByTwoRequest&, AnalysisOutput&);
using MultipleRegressionEntry = void (*)(const MultipleRegressionRequest&, AnalysisOutput&);

/// The analyses the run can call.  An analysis that does not exist yet is left empty: the
/// run then writes only the report's framing.
struct AnalysisEntryPoints {
    OneColumnEntry oneColumn = nullptr;
    TwoColumnEntry twoColumn = nullptr;
    MultiColumnEntry multiColumn = nullptr;
    RegressionEntry regression = nullptr;
    TableEntry pearson = nullptr;
    TableEntry spearman = nullptr;
    TableEntry contingency = nullptr;
    TwoByTwoEntry twoByTwo = nullptr;
    MultipleRegressionEntry multipleRegression = nullptr;
};

}  // namespace zelkon
