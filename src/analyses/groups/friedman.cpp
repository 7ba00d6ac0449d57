// The Friedman test: computation, report, JSON and entry.
#include "analyses/groups/friedman.h"

#include "analyses/groups/anova_report.h"
#include "analyses/groups/multi_column_block.h"
#include "analyses/groups/multi_column_data.h"
#include "analyses/groups/post_test.h"
#include "analyses/groups/rank_multi_report.h"
#include "core/calc_status.h"
#include "core/json_writer.h"
#include "report/rank_tables.h"
#include "stats/pvalue.h"
#include "stats/wording.h"

namespace zelkon {

FriedmanResult ComputeFriedman(const MultiColumnRequest& request) {
    FriedmanResult result;
    const DataTable& table = request.table;
    const std::vector<AnalysedColumn> columns = CollectAnalysedColumns(table);
    const CompleteBlock block = CheckCompleteBlock(table);
    if (!block.complete) {
        result.errorCode = ErrorIncompleteBlock;
        return result;
    }
    result.headingReached = true;
    result.rows = block.rows;
    result.columns = block.columns;

    // Each row's values ranked within the row.
    std::vector<RankRecord> records(columns.size());
    std::vector<RankedValue> row;
    for (int r = block.firstRow; r <= block.lastRow; ++r) {
        row.clear();
        for (std::size_t k = 0; k < columns.size(); ++k) {
            if (k >= block.inBlock.size() || !block.inBlock[k]) continue;
            const Extended v = table.AnalysisValue(r, static_cast<int>(k));
            if (!IsMissingValue(v)) row.push_back({v, static_cast<std::int32_t>(k), 0});
        }
        if (row.empty()) continue;
        result.tieSum += RankValueList(row).cubes;
        AddRanks(row, records);
        result.cells += static_cast<std::int32_t>(row.size());
    }
    for (std::size_t k = 0; k < columns.size(); ++k) {
        if (k < block.inBlock.size() && block.inBlock[k])
            result.summary.push_back(columns[k].record);
        const RankRecord& rec = records[k];
        if (rec.count == 0) continue;
        RankGroup g;
        g.title = columns[k].record.title;
        g.dataColumn = columns[k].dataColumn;
        g.n = rec.count;
        g.rankSum = rec.rankSum;
        g.meanRank = rec.rankSum / rec.count;
        g.mean = columns[k].record.mean;
        result.q += g.rankSum * g.rankSum;
        result.groups.push_back(g);
    }
    if (result.rows < 2 || result.columns < 2) {
        result.errorCode = ErrorNotEnoughData;
        return result;
    }

    const Extended r = result.rows;
    const Extended c = result.columns;
    result.df = result.columns - 1;
    result.fr = (12 * result.q - 3 * r * r * c * (c + 1) * (c + 1)) /
                (r * c * (c + 1) + (r * c - result.tieSum) / (c - 1));
    result.approximateP = p_from_chi2(result.df, result.fr);
    if (!result.Ties()) {
        // Q0 is the sum of R_j^2 that the statistic stands for.
        const Extended q0 = (result.fr + 3 * r * (c + 1)) * r * c * (c + 1) / 12;
        BeginExactCalculation(result.approximateP);
        result.exact = FriedmanExactP(result.rows, result.columns, q0);
        EndExactCalculation();
        result.status = result.exact.status;
    } else {
        result.status = ExactStatusTies;
    }
    result.p = result.status == ExactStatusExact ? result.exact.p : result.approximateP;

    const bool wanted = request.postTestMode == PostTestMode::Always ||
                        (request.postTestMode == PostTestMode::IfSignificant && result.p <= 0.05L);
    result.postTestSkipped =
        request.postTestMode == PostTestMode::IfSignificant && result.p > 0.05L;
    result.postTestKind = request.postTestKind;
    if (wanted && request.postTestKind == 1) {
        DunnInput input;
        input.form = DunnForm::Friedman;
        input.pairFlags = &request.pairFlags;
        input.selectedPairs = request.selectedPairs;
        input.tieSum = result.tieSum;
        input.values = result.cells;
        input.rows = result.rows;
        result.errorCode = ComputeDunn(result.groups, input, result.dunn);
        result.postTestRan = result.errorCode == 0;
    } else if (wanted && request.postTestKind == 2) {
        // The control is named by its data column; the comparison wants its place among
        // the groups (the first group when it is not one of them).
        std::int32_t control = 0;
        for (std::size_t g = 0; g < result.groups.size(); ++g) {
            if (result.groups[g].dataColumn == request.controlColumn)
                control = static_cast<std::int32_t>(g);
        }
        result.errorCode =
            ComputeControlComparison(result.groups, control, result.rows, result.control);
        result.postTestRan = result.errorCode == 0;
    }
    return result;
}

void WriteFriedmanHeading(ResultsReport& report) {
    WriteCentredHeading(report, "Friedman Test (Nonparametric Repeated Measures ANOVA)");
    report.NewLine();
}

void WriteFriedmanBody(ResultsReport& report, const FriedmanResult& result) {
    WriteRankVerdict(
        report, result.p, result.status,
        result.status == ExactStatusExact && result.exact.arrangements < FewRankArrangements,
        FriedmanTiesReason);
    report.NewLine();
    WriteUnderlinedLine(report, "Calculation detail");
    report.NewLine();
    WriteFriedmanRankHeading(report);
    for (const RankGroup& g : result.groups) WriteFriedmanRankRow(report, g.title, g.rankSum);
    report.NewLine();
    report.Write("Number of Rows = ");
    report.WriteInteger(result.rows);
    report.NewLine();
    report.Write("Number of Columns = ");
    report.WriteInteger(result.columns);
    report.NewLine();
    report.NewLine();
    report.Write("Friedman Statistic Fr = ");
    WriteNumber(report, result.fr, -5);
    if (result.Ties()) report.Write(" (corrected for ties)");
    report.NewLine();
    report.NewLine();
    if (result.postTestRan && result.postTestKind == 1)
        WriteDunn(report, result.groups, result.dunn);
    if (result.postTestRan && result.postTestKind == 2) {
        WriteControlComparison(report, result.groups, result.control);
    }
    report.NewLine();
    if (result.postTestSkipped) WriteRankPostTestsNotCalculated(report);
    WriteRankSummaryOfData(report, result.summary);
}

std::string FriedmanJson(const FriedmanResult& result) {
    JsonWriter json;
    json.BeginObject();
    json.Field("test", "Friedman");
    json.Field("rows", result.rows);
    json.Field("columns", result.columns);
    json.Field("cells", result.cells);
    json.Key("groups").BeginArray();
    for (const RankGroup& g : result.groups) {
        json.BeginObject();
        json.Field("title", g.title);
        json.Field("column", g.dataColumn);
        json.Field("rankSum", g.rankSum);
        json.EndObject();
    }
    json.EndArray();
    json.Field("tieSum", result.tieSum);
    json.Field("ties", result.Ties());
    json.Field("q", result.q);
    json.Field("fr", result.fr);
    json.Field("df", result.df);
    json.Field("approximateP", result.approximateP);
    json.Field("status", result.status);
    json.Field("pSource", ExactStatusText(result.status, "a row holds ties"));
    json.Field("arrangements", result.exact.arrangements);
    json.Key("visited").Integer(result.exact.visited);
    json.Key("extreme").Integer(result.exact.extreme);
    json.Field("exactMethod", FriedmanMethodText(result.exact.method));
    json.Field("p", result.p);
    json.Field("postTestSkippedPAbove05", result.postTestSkipped);
    json.Key("postTest");
    if (result.postTestRan && result.postTestKind == 1) {
        WriteDunnJson(json, result.groups, result.dunn);
    } else if (result.postTestRan && result.postTestKind == 2) {
        WriteControlComparisonJson(json, result.groups, result.control);
    } else {
        json.Null();
    }
    json.EndObject();
    return json.Text();
}

void FriedmanTest(const MultiColumnRequest& request, AnalysisOutput& out) {
    const FriedmanResult result = ComputeFriedman(request);
    if (result.headingReached) {
        WriteFriedmanHeading(out.report);
        out.helpTopic = FriedmanHelpTopic;
    }
    if (result.errorCode != 0) {
        out.errorCode = result.errorCode;
        return;
    }
    WriteFriedmanBody(out.report, result);
    out.resultJson = FriedmanJson(result);
}

}  // namespace zelkon
