// The Kruskal-Wallis test: computation, report, JSON and entry.
#include "analyses/groups/kruskal_wallis.h"

#include <algorithm>

#include "analyses/groups/anova_report.h"
#include "analyses/groups/multi_column_data.h"
#include "analyses/groups/post_test.h"
#include "analyses/groups/rank_multi_report.h"
#include "core/json_writer.h"
#include "report/rank_tables.h"
#include "stats/pvalue.h"
#include "stats/wording.h"

namespace zelkon {

KruskalWallisResult ComputeKruskalWallis(const MultiColumnRequest& request) {
    KruskalWallisResult result;
    const DataTable& table = request.table;
    const std::vector<AnalysedColumn> columns = CollectAnalysedColumns(table);

    // Every present value of every analysed column in one list.
    std::vector<RankedValue> values;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        for (int row = 0; row <= table.LastRow(); ++row) {
            const Extended v = table.AnalysisValue(row, static_cast<int>(k));
            if (!IsMissingValue(v)) values.push_back({v, static_cast<std::int32_t>(k), 0});
        }
    }
    result.values = static_cast<std::int32_t>(values.size());
    for (const AnalysedColumn& c : columns) result.summary.push_back(c.record);
    if (values.empty()) {
        result.errorCode = ErrorNotEnoughData;
        return result;
    }
    result.ties = RankValueList(values);
    std::vector<RankRecord> records(columns.size());
    AddRanks(values, records);
    const Extended n = result.values;
    // Without ties the factor is 1 (also for a single value, where N^3 - N is 0).
    if (result.ties.cubesLessRuns > 0)
        result.tieFactor = 1 - result.ties.cubesLessRuns / (n * n * n - n);

    std::vector<std::int32_t> sizes;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const RankRecord& r = records[k];
        if (r.count == 0) continue;
        RankGroup g;
        g.title = columns[k].record.title;
        g.dataColumn = columns[k].dataColumn;
        g.n = r.count;
        g.rankSum = r.rankSum;
        g.meanRank = r.rankSum / r.count;
        g.mean = columns[k].record.mean;
        result.s += g.n * g.meanRank * g.meanRank;
        sizes.push_back(g.n);
        result.groups.push_back(g);
    }
    result.df = static_cast<std::int32_t>(result.groups.size()) - 1;
    result.kw = (12 / (n * (n + 1)) * result.s - 3 * (n + 1)) / result.tieFactor;
    result.approximateP = p_from_chi2(result.df, result.kw);

    if (result.ties.cubesLessRuns == 0) {
        // S0 is the sum of R_j^2 / n_j that the statistic stands for.
        const Extended s0 = (result.kw + 3 * (n + 1)) * n * (n + 1) / 12;
        result.exact = KruskalWallisExactP(sizes, s0);
        result.status = result.exact.status;
    } else {
        result.status = ExactStatusTies;
    }
    result.p = result.status == ExactStatusExact ? result.exact.p : result.approximateP;

    const bool wanted = request.postTestMode == PostTestMode::Always ||
                        (request.postTestMode == PostTestMode::IfSignificant && result.p <= 0.05L);
    result.postTestSkipped =
        request.postTestMode == PostTestMode::IfSignificant && result.p > 0.05L;
    if (wanted && request.postTestKind == 1) {
        DunnInput input;
        input.form = DunnForm::KruskalWallis;
        input.pairFlags = &request.pairFlags;
        input.selectedPairs = request.selectedPairs;
        input.tieSum = result.ties.cubesLessRuns;
        input.values = result.values;
        for (const RankGroup& g : result.groups) input.rows = std::max(input.rows, g.n);
        result.errorCode = ComputeDunn(result.groups, input, result.dunn);
        result.postTestRan = result.errorCode == 0;
    }
    return result;
}

void WriteKruskalWallisHeading(ResultsReport& report) {
    WriteCentredHeading(report, "Kruskal-Wallis Test (Nonparametric ANOVA)");
    report.NewLine();
}

void WriteKruskalWallisBody(ResultsReport& report, const KruskalWallisResult& result) {
    WriteRankVerdict(
        report, result.p, result.status,
        result.status == ExactStatusExact && result.exact.arrangements < FewRankArrangements,
        KruskalWallisTiesReason);
    report.NewLine();
    WriteUnderlinedLine(report, "Calculation detail");
    report.NewLine();
    WriteKruskalWallisRankHeading(report);
    for (const RankGroup& g : result.groups) {
        WriteKruskalWallisRankRow(report, g.title, g.n, g.n * g.meanRank, g.meanRank);
    }
    report.NewLine();
    report.Write("Kruskal-Wallis Statistic KW = ");
    WriteNumber(report, result.kw, -5);
    if (result.ties.cubesLessRuns > 0) report.Write(" (corrected for ties)");
    report.NewLine();
    if (result.postTestRan) WriteDunn(report, result.groups, result.dunn);
    report.NewLine();
    if (result.postTestSkipped) WriteRankPostTestsNotCalculated(report);
    WriteRankSummaryOfData(report, result.summary);
}

std::string KruskalWallisJson(const KruskalWallisResult& result) {
    JsonWriter json;
    json.BeginObject();
    json.Field("test", "Kruskal-Wallis");
    json.Field("values", result.values);
    json.Key("groups").BeginArray();
    for (const RankGroup& g : result.groups) {
        json.BeginObject();
        json.Field("title", g.title);
        json.Field("column", g.dataColumn);
        json.Field("n", g.n);
        json.Field("rankSum", g.rankSum);
        json.Field("meanRank", g.meanRank);
        json.EndObject();
    }
    json.EndArray();
    json.Field("tieSum", result.ties.cubesLessRuns);
    json.Field("tieFactor", result.tieFactor);
    json.Field("kw", result.kw);
    json.Field("df", result.df);
    json.Field("approximateP", result.approximateP);
    json.Field("status", result.status);
    json.Field("pSource", ExactStatusText(result.status, "the data hold ties"));
    json.Field("arrangements", result.exact.arrangements);
    json.Key("visited").Integer(result.exact.visited);
    json.Key("extreme").Integer(result.exact.extreme);
    json.Field("exactMethod", KruskalWallisMethodText(result.exact.method));
    json.Field("p", result.p);
    json.Field("postTestSkippedPAbove05", result.postTestSkipped);
    json.Key("postTest");
    if (result.postTestRan) {
        WriteDunnJson(json, result.groups, result.dunn);
    } else {
        json.Null();
    }
    json.EndObject();
    return json.Text();
}

void KruskalWallisTest(const MultiColumnRequest& request, AnalysisOutput& out) {
    WriteKruskalWallisHeading(out.report);
    out.helpTopic = KruskalWallisHelpTopic;
    const KruskalWallisResult result = ComputeKruskalWallis(request);
    if (result.errorCode != 0) {
        out.errorCode = result.errorCode;
        return;
    }
    WriteKruskalWallisBody(out.report, result);
    out.resultJson = KruskalWallisJson(result);
}

}  // namespace zelkon
