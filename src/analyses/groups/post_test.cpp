// The post tests after an analysis of variance: dispatch, shared sentences and JSON.
#include "analyses/groups/post_test.h"

#include "analyses/groups/post_test_bonferroni.h"
#include "analyses/groups/post_test_dunnett.h"
#include "analyses/groups/post_test_trend.h"
#include "analyses/groups/post_test_tukey.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

template <typename... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

std::int32_t ComputePostTest(const PostTestBasis& basis, const PostTestChoice& choice,
                             const TrendInput& trend, PostTestResult& result) {
    result = std::monostate{};
    std::int32_t code = 0;
    switch (choice.kind) {
        case PostTestKind::Bonferroni: {
            BonferroniResult r;
            code = ComputeBonferroni(basis, choice.pairFlags, choice.selectedPairs, r);
            if (code == 0) result = std::move(r);
            break;
        }
        case PostTestKind::Tukey: {
            RangeTestResult r;
            code = ComputeTukeyKramer(basis, r);
            if (code == 0) result = std::move(r);
            break;
        }
        case PostTestKind::NewmanKeuls: {
            RangeTestResult r;
            code = ComputeNewmanKeuls(basis, r);
            if (code == 0) result = std::move(r);
            break;
        }
        case PostTestKind::Dunnett: {
            // Only the two-sided table exists; the run always asks for it.
            DunnettResult r;
            code = ComputeDunnett(basis, choice.controlIndex, r);
            if (code == 0) result = std::move(r);
            break;
        }
        case PostTestKind::LinearTrend:
            result = ComputeLinearTrend(basis, trend);
            break;
        default:
            break;
    }
    return code;
}

void WritePostTest(ResultsReport& report, const PostTestBasis& basis,
                   const PostTestResult& result) {
    std::visit(Overloaded{[](const std::monostate&) {},
                          [&](const BonferroniResult& r) { WriteBonferroni(report, basis, r); },
                          [&](const RangeTestResult& r) { WriteRangeTest(report, basis, r); },
                          [&](const DunnettResult& r) { WriteDunnett(report, basis, r); },
                          [&](const LinearTrendResult& r) { WriteLinearTrend(report, basis, r); }},
               result);
}

void WriteUnderlinedLine(ResultsReport& report, std::string_view text) {
    report.ToggleEmphasis2();
    report.Write(text);
    report.ToggleEmphasis2();
    report.NewLine();
}

void WriteCriticalValueSentence(ResultsReport& report, std::string_view name, Extended value) {
    report.Write("If the value of ");
    report.Write(name);
    report.Write(" is greater than ");
    WriteNumber(report, value, -5);
    report.WriteLine(" then the P value is less");
    report.WriteLine("than 0.05.");
}

void WriteComparisonsJson(JsonWriter& json, const PostTestBasis& basis,
                          const std::vector<Comparison>& rows) {
    json.Key("comparisons").BeginArray();
    for (const Comparison& row : rows) {
        json.BeginObject();
        json.Field("first", basis.groups[static_cast<std::size_t>(row.first)].title);
        json.Field("second", basis.groups[static_cast<std::size_t>(row.second)].title);
        json.Field("difference", row.difference);
        json.Field("statistic", row.statistic);
        json.Field("p", row.p);
        json.Field("lower", row.lower);
        json.Field("upper", row.upper);
        json.EndObject();
    }
    json.EndArray();
}

void WritePostTestJson(JsonWriter& json, const PostTestBasis& basis, const PostTestResult& result) {
    std::visit(
        Overloaded{
            [&](const std::monostate&) { json.Null(); },
            [&](const BonferroniResult& r) {
                json.BeginObject();
                json.Field("test", "Bonferroni");
                json.Field("pairsCompared", r.comparisons);
                json.Field("criticalT", r.criticalT);
                json.Field("pMethod", "t distribution, times the number of pairs compared");
                WriteComparisonsJson(json, basis, r.rows);
                json.EndObject();
            },
            [&](const RangeTestResult& r) {
                json.BeginObject();
                json.Field("test", r.newmanKeuls ? "Student-Newman-Keuls" : "Tukey-Kramer");
                json.Field("tooManyMeans", r.tooManyMeans);
                json.Field("criticalQ", r.criticalQ);
                json.Field("pMethod", "significance category from the studentized range table");
                WriteComparisonsJson(json, basis, r.rows);
                json.EndObject();
            },
            [&](const DunnettResult& r) {
                json.BeginObject();
                json.Field("test", "Dunnett");
                json.Field("control",
                           basis.groups.empty()
                               ? std::string()
                               : basis.groups[static_cast<std::size_t>(r.control)].title);
                json.Field("tooFewDf", r.tooFewDf);
                json.Field("tooManyMeans", r.tooManyMeans);
                json.Field("critical05", r.critical05);
                json.Field("critical01", r.critical01);
                json.Field("pMethod", "significance category from the two-sided Dunnett table");
                WriteComparisonsJson(json, basis, r.rows);
                json.EndObject();
            },
            [&](const LinearTrendResult& r) {
                json.BeginObject();
                json.Field("test", "linear trend");
                json.Field("slope", r.slope);
                json.Field("rSquared", r.rSquared);
                json.Field("ssLinear", r.ssLinear);
                json.Field("fLinear", r.fLinear);
                json.Field("pLinear", r.pLinear);
                json.Field("dfNonlinear", r.dfNonlinear);
                json.Field("ssNonlinear", r.ssNonlinear);
                json.Field("msNonlinear", r.msNonlinear);
                json.Field("fNonlinear", r.fNonlinear);
                json.Field("pNonlinear", r.pNonlinear);
                json.EndObject();
            }},
        result);
}

}  // namespace zelkon
