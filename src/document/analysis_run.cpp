#include "document/analysis_run.h"

#include <algorithm>
#include <vector>

#include "core/calc_status.h"
#include "core/error_messages.h"
#include "core/fp_guard.h"
#include "core/latin1.h"
#include "document/column_selection.h"
#include "document/summary_page.h"
#include "stats/column_stats.h"

namespace zelkon {

namespace {

/// Reset, and the data title with an empty line after it.  The help topic of an earlier
/// run goes too: the analysis about to run sets its own.
void StartReport(Document& doc) {
    ResultsReport& report = doc.Report();
    report.Reset();
    doc.SetResultsHelpTopic(NoResultsHelpTopic);
    if (!doc.Table().DataTitle().empty()) {
        report.WriteLine(doc.Table().DataTitle());
        report.NewLine();
    }
}

/// A message in place of the whole report: an empty line, the message, an empty line; no
/// analysis ran, so no help topic of one.
void WriteRunMessage(Document& doc, std::string_view message) {
    ResultsReport& report = doc.Report();
    report.Reset();
    doc.SetResultsHelpTopic(NoResultsHelpTopic);
    report.NewLine();
    report.WriteLine(message);
    report.NewLine();
    report.FinishReport();
    doc.SetResultJson("");
}

/// Calls an analysis under the fault guard and stores what it leaves behind: an error code
/// (an arithmetic fault the analysis did not report itself becomes its code) replaces the
/// report by the code's message.
template <typename Call>
void RunAnalysis(Document& doc, Call&& call) {
    AnalysisOutput output{doc.Report(), 0, 0, {}};
    {
        FpFaultGuard guard;
        call(output);
        if (output.errorCode == 0) output.errorCode = guard.FaultCode();
        FpFaultGuard::ClearFlags();
    }
    doc.SetErrorCode(output.errorCode);
    if (output.helpTopic != 0) doc.SetResultsHelpTopic(output.helpTopic);
    if (output.errorCode > 0) {
        WriteErrorMessage(doc.Report(), output.errorCode);
        output.resultJson.clear();
    }
    doc.SetResultJson(std::move(output.resultJson));
}

void FinishRun(Document& doc) {
    doc.Report().FinishReport();
    doc.SetNeedsRecalculation(false);
}

bool LastUsedOrDataColumnPairsClear(const DataTable& table, const ColumnAnalysisChoices& c) {
    int lastData = -1;
    for (int col = 0; col < DataColumns; ++col) {
        if (table.Record(col).n > 0) lastData = col;
    }
    const int n = std::max(lastData, table.LastColumn()) + 1;
    const int flags = std::min(n * (n + 1) / 2, PairFlagCount);
    for (int k = 0; k < flags; ++k) {
        if (c.pairFlags[static_cast<std::size_t>(k)] != 0) return false;
    }
    return true;
}

void ColumnRun(Document& doc, const AnalysisEntryPoints& entries) {
    DataTable& table = doc.Table();
    AnalysisChoices& choices = doc.Choices();
    ColumnAnalysisChoices& cc = choices.columns;

    // 1. Every column with data takes part when "All columns" is chosen for three or more.
    if (cc.columnCountClass != 1 && cc.columnCountClass != 2 && choices.allColumns != 0) {
        SelectColumnsWithData(table);
    }

    // 2. Untitled columns get a temporary title; the analysis sees only the selected
    //    columns with data.
    std::array<std::int32_t, DataColumns> savedN{};
    std::array<bool, DataColumns> untitled{};
    for (int c = 0; c < DataColumns; ++c) {
        ColumnRecord& record = table.Record(c);
        savedN[static_cast<std::size_t>(c)] = record.n;
        if (TrimBlanks(record.title).empty()) {
            untitled[static_cast<std::size_t>(c)] = true;
            record.title = std::string("Column ") + ColumnLetter(c);
        }
        if (!table.Selected(c)) record.n = 0;
    }
    for (int c = 0; c < DataColumns; ++c) {
        if (table.Record(c).n <= 0) table.SetSelected(c, false);
    }
    auto restore = [&] {
        for (int c = 0; c < DataColumns; ++c) {
            ColumnRecord& record = table.Record(c);
            if (untitled[static_cast<std::size_t>(c)]) record.title.clear();
            record.n = savedN[static_cast<std::size_t>(c)];
        }
    };

    // 3. The control column is a selected column with data.
    EnsureControlColumn(table, cc);

    // 4-5. The run's messages replace the whole report.
    bool anyData = false;
    for (int c = 0; c < DataColumns; ++c) anyData = anyData || savedN[static_cast<std::size_t>(c)] > 0;
    std::string_view message;
    if (!anyData) {
        message = NoDataMessage;
    } else if (CountSelectedDataColumns(table) == 0) {
        message = NoColumnSelectedMessage;
    } else if (cc.pairMode == PairMode::SelectedPairs && cc.postTestKind == PostTestKind::Bonferroni &&
               LastUsedOrDataColumnPairsClear(table, cc)) {
        message = NoColumnPairSelectedMessage;
    }
    if (!message.empty()) {
        WriteRunMessage(doc, message);
        doc.SetNeedsRecalculation(false);
        restore();
        return;
    }

    // 6. The analysis.
    table.SetAnalysisMode(true);
    if (!doc.NeedsRecalculation() && !doc.Report().IsEmpty()) {
        restore();
        return;
    }
    CalcStatus& status = GlobalCalcStatus();
    status.BeginCalculation();
    const int savedLastColumn = table.LastColumn();
    const std::vector<int> columns = SelectedDataColumns(table);
    if (!columns.empty() && columns.back() > savedLastColumn) table.SetLastColumn(columns.back());
    StartReport(doc);

    auto columnArgument = [&](int c) { return HasRawColumnData(table, c) ? c : -1; };
    switch (cc.columnCountClass == 1 || cc.columnCountClass == 2 ? cc.columnCountClass : 3) {
        case 1: {
            const int column = columns.front();
            cc.oneColumnColumn = column;
            if (entries.oneColumn != nullptr) {
                const OneColumnRequest request{table,
                                               columnArgument(column),
                                               table.Record(column),
                                               cc.oneColumnNonparametric != 0,
                                               cc.oneColumnTwoSided != 0,
                                               cc.hypotheticalValue};
                RunAnalysis(doc, [&](AnalysisOutput& out) { entries.oneColumn(request, out); });
            }
            break;
        }
        case 2: {
            cc.firstColumn = columns[0];
            cc.secondColumn = columns.size() > 1 ? columns[1] : columns[0];
            if (entries.twoColumn != nullptr) {
                const TwoColumnRequest request{table,
                                               columnArgument(cc.firstColumn),
                                               columnArgument(cc.secondColumn),
                                               table.Record(cc.firstColumn),
                                               table.Record(cc.secondColumn),
                                               cc.twoColumnNonparametric != 0,
                                               cc.twoColumnTwoSided != 0,
                                               cc.equalSDs,
                                               cc.unpaired != 0};
                RunAnalysis(doc, [&](AnalysisOutput& out) { entries.twoColumn(request, out); });
            }
            break;
        }
        default: {
            const PostTestParameters post = DerivePostTestParameters(table, cc);
            if (entries.multiColumn != nullptr) {
                const MultiColumnRequest request{table,
                                                 cc.multiColumnNonparametric != 0,
                                                 cc.unmatched != 0,
                                                 post.pairFlags,
                                                 post.selectedPairs,
                                                 true,
                                                 cc.controlColumn,
                                                 cc.postTestMode,
                                                 post.kind};
                RunAnalysis(doc, [&](AnalysisOutput& out) { entries.multiColumn(request, out); });
            }
            break;
        }
    }
    FinishRun(doc);
    table.SetLastColumn(savedLastColumn);
    status.EndCalculation();
    restore();
}

/// Empties the N of every column record (the X-and-Y and contingency formats keep no
/// column summaries).  Returns false, after writing the no-data message, for an empty table.
bool PrepareTableRun(Document& doc) {
    for (int c = 0; c < DataColumns; ++c) doc.Table().Record(c).n = 0;
    if (!doc.Table().HasData()) {
        WriteRunMessage(doc, NoDataMessage);
        doc.SetNeedsRecalculation(false);
        return false;
    }
    return true;
}

void RegressionRun(Document& doc, const AnalysisEntryPoints& entries) {
    if (!PrepareTableRun(doc) || !doc.NeedsRecalculation()) return;
    CalcStatus& status = GlobalCalcStatus();
    status.BeginCalculation();
    StartReport(doc);
    DataTable& table = doc.Table();
    table.SetAnalysisMode(false);
    const XYChoices& xy = doc.Choices().xy;
    bool lineValid = false;
    doc.SetResultJson("");
    if (xy.regression != 0 && entries.regression != nullptr) {
        const RegressionRequest request{table, xy, doc.RegressionLine()};
        RunAnalysis(doc, [&](AnalysisOutput& out) { lineValid = entries.regression(request, out); });
    }
    if (!lineValid) doc.RegressionLine() = RegressionLineResult{};
    const TableEntry correlation = xy.correlationKind == CorrelationKind::Pearson    ? entries.pearson
                                   : xy.correlationKind == CorrelationKind::Spearman ? entries.spearman
                                                                                      : nullptr;
    if (correlation != nullptr) {
        RunAnalysis(doc, [&](AnalysisOutput& out) { correlation(table, out); });
    }
    FinishRun(doc);
    status.EndCalculation();
}

void ContingencyRun(Document& doc, const AnalysisEntryPoints& entries) {
    if (!PrepareTableRun(doc) || !doc.NeedsRecalculation()) return;
    CalcStatus& status = GlobalCalcStatus();
    status.BeginCalculation();
    StartReport(doc);
    DataTable& table = doc.Table();
    doc.SetResultJson("");
    // Untitled columns are titled with their bare letter while the analysis runs.
    std::array<bool, DataColumns> untitled{};
    for (int c = 0; c < DataColumns; ++c) {
        if (table.Record(c).title.empty()) {
            untitled[static_cast<std::size_t>(c)] = true;
            table.Record(c).title = std::string(1, ColumnLetter(c));
        }
    }
    if (entries.contingency != nullptr) {
        RunAnalysis(doc, [&](AnalysisOutput& out) { entries.contingency(table, out); });
    }
    for (int c = 0; c < DataColumns; ++c) {
        if (untitled[static_cast<std::size_t>(c)]) table.Record(c).title.clear();
    }
    FinishRun(doc);
    status.EndCalculation();
}

void TwoByTwoRun(Document& doc, const AnalysisEntryPoints& entries) {
    StartReport(doc);
    doc.SetResultJson("");
    const TwoByTwoRecord& r = doc.Data().TwoByTwo();
    const TwoByTwoChoices& t = doc.Choices().twoByTwo;
    if (entries.twoByTwo != nullptr) {
        const TwoByTwoRequest request{r.a, r.b, r.c, r.d,
                                      r.Column1Label(), r.Column2Label(), r.Row1Label(),
                                      r.Row2Label(),
                                      t.test == TwoByTwoTest::ChiSquare,
                                      t.yates != 0,
                                      t.twoSided != 0,
                                      t.relativeRisk != 0,
                                      t.oddsRatio != 0,
                                      t.relativeRisk2 != 0,
                                      t.sensitivity != 0,
                                      t.test == TwoByTwoTest::Fisher,
                                      t.test == TwoByTwoTest::McNemar};
        RunAnalysis(doc, [&](AnalysisOutput& out) { entries.twoByTwo(request, out); });
    }
    FinishRun(doc);
    GlobalCalcStatus().EndCalculation();
}

void MultipleRegressionRun(Document& doc, const AnalysisEntryPoints& entries) {
    StartReport(doc);
    doc.SetResultJson("");
    if (entries.multipleRegression != nullptr) {
        const MultipleRegressionRequest request{doc.Table(), doc.Choices().multipleRegression,
                                                doc.MultipleRegression()};
        RunAnalysis(doc, [&](AnalysisOutput& out) { entries.multipleRegression(request, out); });
    }
    FinishRun(doc);
}

}  // namespace

PostTestParameters DerivePostTestParameters(const DataTable& table,
                                            const ColumnAnalysisChoices& cc) {
    PostTestParameters p;
    p.kind = cc.postTestKind;
    p.pairFlags = cc.pairFlags;
    if (cc.multiColumnNonparametric == 0) {
        if (cc.pairMode == PairMode::AllPairs) {
            p.selectedPairs = false;
        } else if (cc.pairMode == PairMode::SelectedPairs) {
            p.selectedPairs = true;
            p.kind = PostTestKind::Bonferroni;
        } else {
            p.kind = PostTestKind::Dunnett;
        }
        return p;
    }
    if (cc.pairMode == PairMode::AgainstControl) {
        if (cc.unmatched != 0) {
            // Dunn's test of every column against the control: the pairs that hold the
            // control column, on a copy so that the user's own pair selection is kept.
            p.kind = PostTestKind::Tukey;
            p.selectedPairs = true;
            p.pairFlags.fill(0);
            const std::vector<int> columns = SelectedDataColumns(table);
            const int m = static_cast<int>(columns.size());
            for (int i = 0; i < m; ++i) {
                for (int j = i + 1; j < m; ++j) {
                    if (columns[static_cast<std::size_t>(i)] == cc.controlColumn ||
                        columns[static_cast<std::size_t>(j)] == cc.controlColumn) {
                        const int k = PairIndex(i, j, m);
                        if (k >= 0 && k < PairFlagCount) p.pairFlags[static_cast<std::size_t>(k)] = 1;
                    }
                }
            }
        } else {
            p.kind = PostTestKind::Dunnett;
        }
    } else {
        p.kind = PostTestKind::Tukey;
        p.selectedPairs = cc.pairMode == PairMode::SelectedPairs;
    }
    return p;
}

void Calculate(Document& doc, const AnalysisEntryPoints& entries) {
    SetUpChooseTest(doc.Format(), doc.Table(), doc.Choices(),
                    [&doc] { UpdateColumnSummaries(doc.Table()); });
    switch (doc.Format()) {
        case DataFormat::XY:
            RegressionRun(doc, entries);
            break;
        case DataFormat::Raw:
        case DataFormat::MeanSDN:
        case DataFormat::MeanSEMN:
            // As on the statistics page: typed summaries without a mean or without any
            // error are not data, and raw columns are summarised afresh.
            PrepareColumnStatistics(doc);
            ColumnRun(doc, entries);
            break;
        case DataFormat::TwoByTwo:
            TwoByTwoRun(doc, entries);
            break;
        case DataFormat::LargerTable:
            ContingencyRun(doc, entries);
            break;
        case DataFormat::MultipleRegression:
            MultipleRegressionRun(doc, entries);
            break;
    }
    doc.SetNeedsRecalculation(false);
}

bool ShowResults(Document& doc, const AnalysisEntryPoints& entries) {
    if (!doc.NeedsRecalculation()) return false;
    Calculate(doc, entries);
    return true;
}

}  // namespace zelkon
