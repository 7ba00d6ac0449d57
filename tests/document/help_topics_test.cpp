// The results help topic of every analysis, through the whole run: each analysis the
// choices can select leaves its own topic, also when it stops with an error message, a run
// message leaves none, and no topic of an earlier run survives.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "core/column_data_helpers.h"
#include "core/help_topics.h"
#include "document/analysis_run.h"
#include "document/document.h"

namespace zelkon {
namespace {

using Columns = std::vector<std::vector<double>>;
using Choose = void (*)(AnalysisChoices&);

struct Case {
    const char* name;
    DataFormat format;
    Columns columns;      // raw columns A, B, ... (for X and Y: X, then Y)
    int averaged;         // this many more columns typed as mean, SD and N
    Choose choose;
    std::int32_t topic;
    std::int32_t error;   // the error code the run ends with
};

// Three small groups, and one of each size that the error cases need.
const Columns ThreeGroups = {{23, 25, 28, 30, 31}, {29, 33, 34, 36, 38}, {35, 38, 40, 43, 45}};
const Columns TwoGroups = {{128, 135, 122, 141, 130}, {121, 127, 118, 130, 124}};
const Columns Line = {{1, 2, 3, 4, 5}, {2.1, 3.9, 6.2, 7.8, 10.1}};

void Defaults(AnalysisChoices&) {}
void Nonparametric1(AnalysisChoices& c) { c.columns.oneColumnNonparametric = 1; }
void Welch(AnalysisChoices& c) { c.columns.equalSDs = false; }
void Paired(AnalysisChoices& c) { c.columns.unpaired = 0; }
void MannWhitney(AnalysisChoices& c) { c.columns.twoColumnNonparametric = 1; }
void MatchedPairs(AnalysisChoices& c) { c.columns.twoColumnNonparametric = 1; c.columns.unpaired = 0; }
void Repeated(AnalysisChoices& c) { c.columns.unmatched = 0; }
void KruskalWallis(AnalysisChoices& c) { c.columns.multiColumnNonparametric = 1; }
void Friedman(AnalysisChoices& c) { c.columns.multiColumnNonparametric = 1; c.columns.unmatched = 0; }
void Pearson(AnalysisChoices& c) { c.xy.regression = 0; c.xy.correlationKind = CorrelationKind::Pearson; }
void Spearman(AnalysisChoices& c) { c.xy.regression = 0; c.xy.correlationKind = CorrelationKind::Spearman; }
void ChiSquare(AnalysisChoices& c) { c.twoByTwo.test = TwoByTwoTest::ChiSquare; }
void McNemar(AnalysisChoices& c) { c.twoByTwo.test = TwoByTwoTest::McNemar; }
void MultipleRegression(AnalysisChoices& c) {
    c.multipleRegression.dependentColumn = 0;
    c.multipleRegression.include[1] = c.multipleRegression.include[2] = 1;
}
void CorrelationMatrix(AnalysisChoices& c) {
    MultipleRegression(c);
    c.multipleRegression.kind = MultipleRegressionKind::CorrelationMatrix;
}

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"one-sample t", DataFormat::Raw, {{4.1, 5.2, 6.3, 5.5}}, 0, Defaults, OneSampleTHelpTopic, 0},
        {"one-sample t, averaged", DataFormat::MeanSDN, {}, 1, Defaults, OneSampleTHelpTopic, 0},
        {"signed rank", DataFormat::Raw, {{4.1, 5.2, 6.3, 5.5}}, 0, Nonparametric1, WilcoxonSignedRankHelpTopic, 0},
        {"unpaired t", DataFormat::Raw, TwoGroups, 0, Defaults, UnpairedTHelpTopic, 0},
        {"Welch", DataFormat::Raw, TwoGroups, 0, Welch, WelchTHelpTopic, 0},
        {"Welch, averaged", DataFormat::MeanSEMN, {}, 2, Welch, WelchTHelpTopic, 0},
        {"paired t", DataFormat::Raw, TwoGroups, 0, Paired, PairedTHelpTopic, 0},
        {"Mann-Whitney", DataFormat::Raw, TwoGroups, 0, MannWhitney, MannWhitneyHelpTopic, 0},
        // Code 42: the rank test needs raw data; the help still explains the rank test.
        {"Mann-Whitney, averaged", DataFormat::MeanSDN, {}, 2, MannWhitney, MannWhitneyHelpTopic, 42},
        {"matched pairs", DataFormat::Raw, TwoGroups, 0, MatchedPairs, WilcoxonMatchedPairsHelpTopic, 0},
        {"one-way ANOVA", DataFormat::Raw, ThreeGroups, 0, Defaults, OneWayAnovaHelpTopic, 0},
        {"one-way ANOVA, averaged", DataFormat::MeanSDN, {}, 3, Defaults, OneWayAnovaHelpTopic, 0},
        // Code 12: one value in a column, found before the report's heading.
        {"one-way ANOVA, one value", DataFormat::Raw, {{1, 2, 3}, {4}, {5, 6, 8}}, 0, Defaults, OneWayAnovaHelpTopic, 12},
        {"repeated measures", DataFormat::Raw, ThreeGroups, 0, Repeated, RepeatedMeasuresHelpTopic, 0},
        {"Kruskal-Wallis", DataFormat::Raw, ThreeGroups, 0, KruskalWallis, KruskalWallisHelpTopic, 0},
        // Averaged data in three or more columns run the ordinary ANOVA, the one test their
        // page offers, whatever a file chose before.
        {"Kruskal-Wallis, averaged", DataFormat::MeanSDN, {}, 3, KruskalWallis, OneWayAnovaHelpTopic, 0},
        {"Friedman", DataFormat::Raw, ThreeGroups, 0, Friedman, FriedmanHelpTopic, 0},
        // Code 15: a gap in a row of matched data.
        {"Friedman, a gap", DataFormat::Raw, {{1, 2, 3}, {2, 3}, {3, 1, 2}}, 0, Friedman, FriedmanHelpTopic, 15},
        {"linear regression", DataFormat::XY, Line, 0, Defaults, LinearRegressionHelpTopic, 0},
        // Code 36: fewer than three points.
        {"linear regression, two points", DataFormat::XY, {{1, 2}, {3, 5}}, 0, Defaults, LinearRegressionHelpTopic, 36},
        // Row 6 holds an X without Y: an unknown read from the standard curve.
        {"standard curve", DataFormat::XY, {{1, 2, 3, 4, 5, 2.5}, {2.1, 3.9, 6.2, 7.8, 10.1}}, 0, Defaults, StandardCurveHelpTopic, 0},
        {"Pearson", DataFormat::XY, Line, 0, Pearson, PearsonHelpTopic, 0},
        {"Pearson, two points", DataFormat::XY, {{1, 2}, {3, 5}}, 0, Pearson, PearsonHelpTopic, 39},
        {"Spearman", DataFormat::XY, Line, 0, Spearman, SpearmanHelpTopic, 0},
        {"Fisher", DataFormat::TwoByTwo, {}, 0, Defaults, TwoByTwoHelpTopic, 0},
        {"chi-square", DataFormat::TwoByTwo, {}, 0, ChiSquare, TwoByTwoHelpTopic, 0},
        {"McNemar", DataFormat::TwoByTwo, {}, 0, McNemar, TwoByTwoHelpTopic, 0},
        {"larger table", DataFormat::LargerTable, {{10, 20, 30}, {30, 25, 10}}, 0, Defaults, ContingencyHelpTopic, 0},
        // Code 30: a fraction in a table of counts.
        {"larger table, fraction", DataFormat::LargerTable, {{10.5, 20}, {30, 25}}, 0, Defaults, ContingencyHelpTopic, 30},
        {"multiple regression", DataFormat::MultipleRegression,
         {{10, 12, 15, 13, 18, 20, 19, 24}, {1, 2, 3, 3, 5, 6, 6, 8}, {5, 3, 6, 2, 7, 4, 8, 5}}, 0,
         MultipleRegression, MultipleRegressionHelpTopic, 0},
        {"correlation matrix", DataFormat::MultipleRegression,
         {{10, 12, 15, 13, 18, 20, 19, 24}, {1, 2, 3, 3, 5, 6, 6, 8}, {5, 3, 6, 2, 7, 4, 8, 5}}, 0,
         CorrelationMatrix, CorrelationMatrixHelpTopic, 0},
    };
    return cases;
}

void Prepare(Document& doc, const Case& c) {
    doc.Reset();
    doc.Data().SetFormat(c.format);
    for (std::size_t col = 0; col < c.columns.size(); ++col) {
        const std::vector<double>& values = c.columns[col];
        for (std::size_t row = 0; row < values.size(); ++row) {
            doc.Table().SetValue(static_cast<int>(row), static_cast<int>(col), values[row]);
        }
        doc.Table().SetNoRawData(static_cast<int>(col), false);
    }
    for (int k = 0; k < c.averaged; ++k) {
        test::AddAveragedColumn(doc.Table(), k);
        doc.Table().Record(k).mean = 5 + k;  // means differ, so an ANOVA can run
    }
    if (c.format == DataFormat::TwoByTwo) {
        TwoByTwoRecord& r = doc.Data().TwoByTwo();
        r.a = 10;
        r.b = 25;
        r.c = 8;
        r.d = 30;
    }
    c.choose(doc.Choices());
    doc.MarkModified();
}

TEST(ResultsHelpTopics, EveryAnalysisLeavesItsOwnTopic) {
    Document doc;
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        Prepare(doc, c);
        Calculate(doc);
        EXPECT_EQ(doc.ErrorCode(), c.error);
        EXPECT_EQ(doc.ResultsHelpTopic(), c.topic);
    }
}

TEST(ResultsHelpTopics, TheCasesReachEveryTopicAndEveryTopicIsDistinct) {
    std::set<std::int32_t> reached;
    for (const Case& c : Cases()) reached.insert(c.topic);
    const std::set<std::int32_t> all(ResultsHelpTopics.begin(), ResultsHelpTopics.end());
    EXPECT_EQ(reached, all);
    EXPECT_EQ(all.size(), ResultsHelpTopics.size());
    EXPECT_EQ(all.count(NoResultsHelpTopic), 0u);
}

TEST(ResultsHelpTopics, NoTopicOfAnEarlierRunSurvives) {
    Document doc;
    // An unpaired t test of averaged data, then the rank test asked for: the error message
    // of code 42 comes with the Mann-Whitney page, not the t test's.
    Prepare(doc, {"", DataFormat::MeanSDN, {}, 2, Defaults, 0, 0});
    Calculate(doc);
    ASSERT_EQ(doc.ResultsHelpTopic(), UnpairedTHelpTopic);
    doc.Choices().columns.twoColumnNonparametric = 1;
    doc.MarkModified();
    Calculate(doc);
    EXPECT_EQ(doc.ErrorCode(), 42);
    EXPECT_EQ(doc.ResultsHelpTopic(), MannWhitneyHelpTopic);

    // Showing the results again without a change keeps the topic.
    EXPECT_FALSE(ShowResults(doc));
    EXPECT_EQ(doc.ResultsHelpTopic(), MannWhitneyHelpTopic);

    // A run message: no analysis ran, so no topic (the general page).
    for (const DataFormat format : {DataFormat::Raw, DataFormat::XY, DataFormat::LargerTable}) {
        Prepare(doc, {"", format, Line, 0, Defaults, 0, 0});
        Calculate(doc);
        ASSERT_NE(doc.ResultsHelpTopic(), NoResultsHelpTopic);
        doc.Reset();
        doc.Data().SetFormat(format);
        doc.MarkModified();
        Calculate(doc);
        EXPECT_EQ(doc.ResultsHelpTopic(), NoResultsHelpTopic);
    }
}

}  // namespace
}  // namespace zelkon
