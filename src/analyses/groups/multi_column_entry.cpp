// The multi-column entry routine and the two ANOVA analyses it dispatches to.
#include "analyses/groups/multi_column_entry.h"

#include "analyses/groups/anova_report.h"
#include "analyses/groups/multi_column_data.h"
#include "core/fp_guard.h"

namespace zelkon {

namespace {

PostTestRequest MakePostTestRequest(const MultiColumnRequest& request,
                                    const std::vector<AnalysedColumn>& columns) {
    PostTestRequest post;
    post.mode = request.postTestMode;
    post.choice.kind = request.postTestKind;
    post.choice.pairFlags = &request.pairFlags;
    post.choice.selectedPairs = request.selectedPairs;
    post.choice.postTestWanted = request.postTestWanted;
    // The request names the control by its data column; the post test by its place among
    // the groups (the analysed columns, all of which have data).
    post.choice.controlIndex = AnalysedIndexOf(columns, request.controlColumn);
    return post;
}

void RunNonparametric(NonparametricTest test, std::string_view unavailable,
                      const MultiColumnRequest& request, AnalysisOutput& out) {
    if (test != nullptr) {
        test(request, out);
        return;
    }
    out.report.NewLine();
    out.report.WriteLine(unavailable);
}

}  // namespace

void OneWayAnovaAnalysis(const MultiColumnRequest& request, AnalysisOutput& out) {
    const std::vector<AnalysedColumn> columns = CollectAnalysedColumns(request.table);
    OneWayAnovaResult result;
    const std::int32_t code =
        ComputeOneWayAnova(columns, MakePostTestRequest(request, columns), result);
    const bool headingReached = code == 0 || code == ErrorAllSDsZero ||
                                (code == ErrorOutOfMemory && !result.columns.empty());
    if (headingReached) {
        WriteOneWayHeading(out.report);
        out.helpTopic = OneWayAnovaHelpTopic;
    }
    if (code != 0) {
        out.errorCode = code;
        return;
    }
    WriteOneWayBody(out.report, result);
    out.resultJson = OneWayAnovaJson(result);
}

void RepeatedMeasuresAnalysis(const MultiColumnRequest& request, AnalysisOutput& out) {
    const std::vector<AnalysedColumn> columns = CollectAnalysedColumns(request.table);
    RepeatedMeasuresResult result;
    const std::int32_t code = ComputeRepeatedMeasuresAnova(
        request.table, columns, MakePostTestRequest(request, columns), result);
    const bool headingReached = code == 0 || code == ErrorAllSDsZero ||
                                (code == ErrorOutOfMemory && !result.columns.empty());
    if (headingReached) {
        WriteRepeatedMeasuresHeading(out.report);
        out.helpTopic = RepeatedMeasuresHelpTopic;
    }
    if (code != 0) {
        out.errorCode = code;
        return;
    }
    WriteRepeatedMeasuresBody(out.report, result);
    out.resultJson = RepeatedMeasuresJson(result);
}

void MultiColumnComparison(const MultiColumnRequest& request, AnalysisOutput& out) {
    MultiColumnComparison(request, out, DefaultNonparametricTests());
}

void MultiColumnComparison(const MultiColumnRequest& request, AnalysisOutput& out,
                           const NonparametricTests& nonparametric) {
    DataTable& table = request.table;
    out.errorCode = 0;
    out.helpTopic = MultiColumnHelpTopic(request.nonparametric, request.unmatched);
    // Arithmetic faults end the analysis with their code (the run guards as well; this
    // keeps a direct call honest too).
    const FpFaultGuard guard;

    table.ResetColumnMap();
    RefreshAnalysedSummaries(table);
    table.BuildColumnMap();
    const std::vector<AnalysedColumn> columns = CollectAnalysedColumns(table);

    if ((request.nonparametric || !request.unmatched) && AnyAveragedColumn(columns)) {
        out.errorCode = ErrorAveragedData;
    } else if (request.nonparametric) {
        if (request.unmatched) {
            RunNonparametric(nonparametric.kruskalWallis, KruskalWallisUnavailableText, request,
                             out);
        } else {
            RunNonparametric(nonparametric.friedman, FriedmanUnavailableText, request, out);
        }
    } else if (request.unmatched) {
        OneWayAnovaAnalysis(request, out);
    } else {
        RepeatedMeasuresAnalysis(request, out);
    }
    if (out.errorCode == 0) out.errorCode = guard.FaultCode();
    if (out.errorCode != 0) out.resultJson.clear();
    table.ResetColumnMap();
}

}  // namespace zelkon
