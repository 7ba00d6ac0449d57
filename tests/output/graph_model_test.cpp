// The graph model of every data format and switch: the example data files and small tables
// typed in here, against bar heights, error values, band and line values from R and by hand.
#include "output/graph_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "document/data_file.h"

namespace zelkon {
namespace {

// Tolerance for values computed in extended precision and compared with R's doubles.
constexpr double Rel = 1e-9;

void ExpectNear(double actual, double expected, double rel = Rel) {
    EXPECT_NEAR(actual, expected, std::fabs(expected) * rel + 1e-15) << "expected " << expected;
}

std::string Example(const char* name) {
    return std::string(ZELKON_SOURCE_DIR) + "/examples/" + name;
}

void Load(Document& doc, const char* name) {
    const std::string path = Example(name);
    ASSERT_EQ(LoadDataFile(doc, path, DetectDataFormat(path)), 0) << path;
    doc.SetNeedsRecalculation(true);
}

std::vector<std::string> TickLabels(const GraphAxis& axis) {
    std::vector<std::string> labels;
    for (const AxisTick& t : axis.ticks) labels.push_back(t.label);
    return labels;
}

// Column data ---------------------------------------------------------------------------

TEST(ColumnGraph, RawDataMeansWithSDAndSEM) {
    Document doc;
    Load(doc, "blood_pressure_raw.ZLD");
    GraphModel m = DrawGraph(doc);
    EXPECT_EQ(m.kind, GraphKind::ColumnBars);
    EXPECT_EQ(m.title, "Systolic blood pressure (mmHg) after eight weeks");
    EXPECT_EQ(m.subtitle, "Mean and Standard Deviation");
    EXPECT_EQ(m.bottomAxis.title, "Column");
    EXPECT_EQ(m.leftAxis.format, "###,###,###,###,##0.###");
    EXPECT_TRUE(m.switches.showErrorButtons);
    EXPECT_TRUE(m.switches.errorIsSD);
    EXPECT_FALSE(m.switches.showColumnsOrRows);
    EXPECT_FALSE(m.switches.showColumnLists);
    EXPECT_FALSE(m.switches.showAnalyzedDataOnly);
    EXPECT_TRUE(m.legend.empty());
    ASSERT_EQ(m.barSeries.size(), 1u);
    const auto& bars = m.barSeries[0].bars;
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(m.barSeries[0].color, GraphRed);
    EXPECT_EQ(m.barSeries[0].widthFraction, 0.5);
    // R: x <- c(128,135,122,141,130,126,138,133,129,136); mean(x); sd(x); sd(x)/sqrt(10)
    //    y <- c(121,127,118,130,124,115,129,122,120,126)
    EXPECT_EQ(bars[0].position, 0);
    EXPECT_EQ(bars[0].label, "A");
    ExpectNear(bars[0].value, 131.8);
    EXPECT_TRUE(bars[0].hasError);
    ExpectNear(bars[0].error, 5.8461763382383340);
    EXPECT_EQ(bars[1].position, 1);
    EXPECT_EQ(bars[1].label, "B");
    ExpectNear(bars[1].value, 123.2);
    ExpectNear(bars[1].error, 4.8716869083853629);
    // Two bars: the wide margins.
    EXPECT_EQ(m.margins, FewBarsMargins);
    // Value axis from 0 past 131.8 + 5.85 in steps of 20 (by hand: 10 would need 14 ticks).
    EXPECT_EQ(m.leftAxis.scale.minimum, 0);
    EXPECT_EQ(m.leftAxis.scale.maximum, 140);
    EXPECT_EQ(TickLabels(m.leftAxis),
              (std::vector<std::string>{"0", "20", "40", "60", "80", "100", "120", "140"}));
    // The bottom axis names the bars in slots of width 1.
    EXPECT_TRUE(m.bottomAxis.categories);
    EXPECT_EQ(m.bottomAxis.scale.minimum, -0.5);
    EXPECT_EQ(m.bottomAxis.scale.maximum, 1.5);
    EXPECT_EQ(TickLabels(m.bottomAxis), (std::vector<std::string>{"A", "B"}));

    // The SEM button.
    ChooseGraphError(doc, false);
    EXPECT_TRUE(doc.Modified());
    EXPECT_FALSE(doc.Data().ErrorIsSD());
    m = DrawGraph(doc);
    EXPECT_EQ(m.subtitle, "Mean and Standard Error");
    EXPECT_FALSE(m.switches.errorIsSD);
    ExpectNear(m.barSeries[0].bars[0].error, 1.8487232831816061);
    ExpectNear(m.barSeries[0].bars[1].error, 1.5405626677721791);
}

TEST(ColumnGraph, AveragedDataWithSDThenSEM) {
    Document doc;
    Load(doc, "mouse_weights_mean_sd_n.ZLD");
    GraphModel m = DrawGraph(doc);
    EXPECT_EQ(m.subtitle, "Mean and Standard Deviation");
    ASSERT_EQ(m.barSeries[0].bars.size(), 3u);
    const double means[] = {24.6, 29.8, 22.1};
    const double sds[] = {2.1, 3.4, 1.9};
    for (int i = 0; i < 3; ++i) {
        ExpectNear(m.barSeries[0].bars[i].value, means[i]);
        ExpectNear(m.barSeries[0].bars[i].error, sds[i]);
    }
    ChooseGraphError(doc, false);
    m = DrawGraph(doc);
    // R: c(2.1, 3.4, 1.9) / sqrt(c(12, 11, 12)); the file keeps the SEMs to 8 decimals, so
    // the relative tolerance is 1e-7.
    const double sems[] = {0.60621778264910708, 1.02513857156439636, 0.54848275573014449};
    for (int i = 0; i < 3; ++i) ExpectNear(m.barSeries[0].bars[i].error, sems[i], 1e-7);
}

TEST(ColumnGraph, AveragedDataTypedAsSEM) {
    Document doc;
    Load(doc, "cholesterol_mean_sem_n.ZLD");
    const GraphModel m = DrawGraph(doc);
    EXPECT_EQ(m.subtitle, "Mean and Standard Error");
    ASSERT_EQ(m.barSeries[0].bars.size(), 2u);
    ExpectNear(m.barSeries[0].bars[0].value, 6.12);
    ExpectNear(m.barSeries[0].bars[0].error, 0.21);
    ExpectNear(m.barSeries[0].bars[1].error, 0.19);
}

TEST(ColumnGraph, NegativeSDDrawnPositive) {
    Document doc;
    doc.Data().SetFormat(DataFormat::MeanSDN);
    ColumnRecord& r = doc.Table().Record(0);
    r.n = 5;
    r.mean = 10;
    r.sd = -2;
    r.sem = -0.8944;
    const GraphModel m = BuildGraphModel(doc);
    ASSERT_EQ(m.barSeries[0].bars.size(), 1u);
    EXPECT_EQ(m.barSeries[0].bars[0].error, 2.0);
    // The error bar reaches 12, so the axis does too (0 to 12 in steps of 2).
    EXPECT_EQ(m.leftAxis.scale.maximum, 12);
}

// A raw table with the given columns holding the values 1, 2, 3 plus the column index.
void FillColumns(Document& doc, std::initializer_list<int> columns) {
    doc.Data().SetFormat(DataFormat::Raw);
    for (int c : columns) {
        for (int r = 0; r < 3; ++r) doc.Table().SetValue(r, c, r + 1 + c);
    }
}

TEST(ColumnGraph, ZeroCountAndUnselectedColumnsSkippedAndMargins) {
    Document doc;
    FillColumns(doc, {0, 2, 4, 6});
    GraphModel m = DrawGraph(doc);
    // Columns B, D and F have no values: four bars at their own positions, wide margins.
    ASSERT_EQ(m.barSeries[0].bars.size(), 4u);
    EXPECT_EQ(m.barSeries[0].bars[1].position, 2);
    EXPECT_EQ(m.barSeries[0].bars[1].label, "C");
    EXPECT_EQ(m.barSeries[0].bars[3].position, 6);
    ExpectNear(m.barSeries[0].bars[3].value, 8);  // mean of 7, 8, 9
    EXPECT_EQ(m.barSeries[0].bars[3].error, 1.0);  // SD of 7, 8, 9
    EXPECT_EQ(m.margins, FewBarsMargins);
    EXPECT_EQ(m.margins.left, 150);
    EXPECT_EQ(m.margins.right, 150);

    // A fifth bar: the narrow margins.
    Document five;
    FillColumns(five, {0, 2, 4, 6, 7});
    m = DrawGraph(five);
    EXPECT_EQ(m.barSeries[0].bars.size(), 5u);
    EXPECT_EQ(m.margins.left, 50);
    EXPECT_EQ(m.margins.right, 80);

    // A column not selected for analysis is not drawn.
    five.Choices().allColumns = 0;
    five.Table().SetSelected(2, false);
    m = BuildGraphModel(five);
    ASSERT_EQ(m.barSeries[0].bars.size(), 4u);
    EXPECT_EQ(m.barSeries[0].bars[1].label, "E");
    EXPECT_EQ(m.margins, FewBarsMargins);
}

TEST(ColumnGraph, NoDataDrawsAnEmptyGraph) {
    Document doc;
    const GraphModel m = DrawGraph(doc);
    EXPECT_TRUE(m.barSeries[0].bars.empty());
    EXPECT_TRUE(m.bottomAxis.ticks.empty());
    EXPECT_EQ(m.leftAxis.scale.minimum, 0);
    EXPECT_EQ(m.leftAxis.scale.maximum, 1);
}

TEST(ColumnGraph, NegativeMeansReachBelowZero) {
    Document doc;
    ColumnRecord& r = doc.Table().Record(1);
    doc.Data().SetFormat(DataFormat::MeanSDN);
    r.n = 4;
    r.mean = -7;
    r.sd = 2;
    const GraphModel m = BuildGraphModel(doc);
    // -7 - 2 = -9 and 0: steps of 2 from -10 to 0.
    EXPECT_EQ(m.leftAxis.scale.minimum, -10);
    EXPECT_EQ(m.leftAxis.scale.maximum, 0);
}

// Two-by-two table ---------------------------------------------------------------------

TEST(TwoByTwoGraph, ColumnTotalsStackTheSecondRowUnderTheFirst) {
    Document doc;
    Load(doc, "wound_infection_2x2.ZLD");
    const TwoByTwoRecord& r = doc.Data().TwoByTwo();
    ASSERT_EQ(r.a, 4);
    ASSERT_EQ(r.b, 46);
    ASSERT_EQ(r.c, 13);
    ASSERT_EQ(r.d, 37);
    GraphModel m = DrawGraph(doc);
    EXPECT_EQ(m.kind, GraphKind::TwoByTwoBars);
    EXPECT_EQ(m.subtitle, "Column Totals");
    EXPECT_EQ(m.bottomAxis.title, "Columns");
    EXPECT_EQ(m.leftAxis.format, "###,###,###");
    EXPECT_FALSE(m.switches.showErrorButtons);
    EXPECT_TRUE(m.switches.showColumnsOrRows);
    EXPECT_FALSE(m.switches.byRows);
    EXPECT_EQ(m.margins, FewBarsMargins);
    ASSERT_EQ(m.barSeries.size(), 2u);
    const GraphBarSeries& red = m.barSeries[0];
    const GraphBarSeries& blue = m.barSeries[1];
    EXPECT_EQ(red.color, GraphRed);
    EXPECT_EQ(blue.color, GraphBlue);
    ASSERT_EQ(red.bars.size(), 2u);
    ASSERT_EQ(blue.bars.size(), 2u);
    // Red: C and D, labelled with the column labels; blue: A and B on top.
    EXPECT_EQ(red.bars[0].value, 13);
    EXPECT_EQ(red.bars[0].label, "Infection");
    EXPECT_EQ(red.bars[1].value, 37);
    EXPECT_EQ(red.bars[1].label, "No infection");
    EXPECT_EQ(blue.bars[0].value, 4);
    EXPECT_EQ(blue.bars[0].base, 13);
    EXPECT_EQ(blue.bars[1].value, 46);
    EXPECT_EQ(blue.bars[1].base, 37);
    EXPECT_EQ(blue.bars[0].position, red.bars[0].position);
    ASSERT_EQ(m.legend.size(), 2u);
    EXPECT_EQ(m.legend[0].color, GraphRed);
    EXPECT_EQ(m.legend[0].text, "Placebo");
    EXPECT_EQ(m.legend[1].color, GraphBlue);
    EXPECT_EQ(m.legend[1].text, "Antibiotic");
    // Totals 17 and 83: whole steps of 20 up to 100.
    EXPECT_EQ(TickLabels(m.leftAxis),
              (std::vector<std::string>{"0", "20", "40", "60", "80", "100"}));
    EXPECT_EQ(TickLabels(m.bottomAxis), (std::vector<std::string>{"Infection", "No infection"}));

    ChooseGraphRows(doc, true);
    m = DrawGraph(doc);
    EXPECT_EQ(m.subtitle, "Row Totals");
    EXPECT_EQ(m.bottomAxis.title, "Rows");
    EXPECT_TRUE(m.switches.byRows);
    // Red: A and C, labelled with the row labels; blue: B and D.
    EXPECT_EQ(m.barSeries[0].bars[0].value, 4);
    EXPECT_EQ(m.barSeries[0].bars[0].label, "Antibiotic");
    EXPECT_EQ(m.barSeries[0].bars[1].value, 13);
    EXPECT_EQ(m.barSeries[0].bars[1].label, "Placebo");
    EXPECT_EQ(m.barSeries[1].bars[0].value, 46);
    EXPECT_EQ(m.barSeries[1].bars[0].base, 4);
    EXPECT_EQ(m.barSeries[1].bars[1].value, 37);
    EXPECT_EQ(m.barSeries[1].bars[1].base, 13);
    EXPECT_EQ(m.legend[0].text, "Infection");
    EXPECT_EQ(m.legend[1].text, "No infection");
}

TEST(TwoByTwoGraph, EmptyLabelsAndEmptyTable) {
    Document doc;
    doc.Data().SetFormat(DataFormat::TwoByTwo);
    TwoByTwoRecord& r = doc.Data().TwoByTwo();
    GraphModel m = BuildGraphModel(doc);
    EXPECT_TRUE(m.barSeries.empty());
    EXPECT_TRUE(m.legend.empty());
    r.a = 1;
    r.b = 2;
    r.c = 3;  // D left empty: a part of height 0
    m = BuildGraphModel(doc);
    EXPECT_EQ(m.barSeries[0].bars[0].label, "Column A");
    EXPECT_EQ(m.barSeries[0].bars[1].label, "Column B");
    EXPECT_EQ(m.barSeries[0].bars[1].value, 0);
    EXPECT_EQ(m.legend[0].text, "Row 2");
    EXPECT_EQ(m.legend[1].text, "Row 1");
    // Totals 4 and 2 in whole steps.
    EXPECT_EQ(TickLabels(m.leftAxis), (std::vector<std::string>{"0", "1", "2", "3", "4"}));
    ChooseGraphRows(doc, true);
    m = BuildGraphModel(doc);
    EXPECT_EQ(m.barSeries[0].bars[0].label, "Row 1");
    EXPECT_EQ(m.legend[0].text, "Column A");
    EXPECT_EQ(m.legend[1].text, "Column B");
}

// Larger contingency table ---------------------------------------------------------------

TEST(ContingencyGraph, ColumnAndRowTotals) {
    Document doc;
    Load(doc, "smoking_by_age_table.ZLD");
    GraphModel m = DrawGraph(doc);
    EXPECT_EQ(m.kind, GraphKind::ContingencyBars);
    EXPECT_EQ(m.subtitle, "Column Totals");
    EXPECT_EQ(m.bottomAxis.title, "Columns");
    EXPECT_TRUE(m.switches.showColumnsOrRows);
    ASSERT_EQ(m.barSeries.size(), 1u);
    const auto& bars = m.barSeries[0].bars;
    ASSERT_EQ(bars.size(), 3u);
    // 52 + 41 + 33, 12 + 25 + 38, 30 + 27 + 19.
    EXPECT_EQ(bars[0].value, 126);
    EXPECT_EQ(bars[1].value, 75);
    EXPECT_EQ(bars[2].value, 76);
    EXPECT_EQ(bars[2].label, "C");
    EXPECT_EQ(m.barSeries[0].color, GraphRed);
    EXPECT_EQ(m.margins, FewBarsMargins);
    EXPECT_EQ(m.leftAxis.format, "###,###,###,###,##0.###");

    ChooseGraphRows(doc, true);
    m = DrawGraph(doc);
    EXPECT_EQ(m.subtitle, "Row Totals");
    EXPECT_EQ(m.bottomAxis.title, "Rows");
    ASSERT_EQ(m.barSeries[0].bars.size(), 3u);
    // 52 + 12 + 30, 41 + 25 + 27, 33 + 38 + 19, labelled by row number.
    EXPECT_EQ(m.barSeries[0].bars[0].value, 94);
    EXPECT_EQ(m.barSeries[0].bars[0].label, "1");
    EXPECT_EQ(m.barSeries[0].bars[1].value, 93);
    EXPECT_EQ(m.barSeries[0].bars[2].value, 90);
    EXPECT_EQ(m.barSeries[0].bars[2].label, "3");
}

TEST(ContingencyGraph, ZeroSumColumnHasNoBarAndExcludedCountsAreLeftOut) {
    Document doc;
    doc.Data().SetFormat(DataFormat::LargerTable);
    DataTable& t = doc.Table();
    const double counts[3][5] = {{5, 2, 0, 1, 4}, {3, 2, 0, 1, 4}, {1, 1, 0, 1, 4}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 5; ++c) t.SetValue(r, c, counts[r][c]);
    }
    t.SetExcluded(0, 0, true);  // column A counts 3 + 1 only
    GraphModel m = DrawGraph(doc);
    const auto& bars = m.barSeries[0].bars;
    ASSERT_EQ(bars.size(), 4u);
    EXPECT_EQ(bars[0].value, 4);
    EXPECT_EQ(bars[1].label, "B");
    EXPECT_EQ(bars[2].label, "D");  // no bar for C
    EXPECT_EQ(bars[2].position, 3);
    EXPECT_EQ(m.margins, FewBarsMargins);
    t.SetValue(4, 5, 2);  // a sixth column: five bars
    m = DrawGraph(doc);
    EXPECT_EQ(m.barSeries[0].bars.size(), 5u);
    EXPECT_EQ(m.margins, ManyBarsMargins);
}

// X and Y data ---------------------------------------------------------------------------

TEST(XYGraph, StandardCurvePointsLineAndBand) {
    Document doc;
    Load(doc, "protein_standard_curve_xy.ZLD");
    const GraphModel m = DrawGraph(doc);
    EXPECT_EQ(m.kind, GraphKind::XYRegression);
    EXPECT_EQ(m.bottomAxis.title, "Protein");
    EXPECT_EQ(m.leftAxis.title, "A595");
    EXPECT_EQ(m.subtitle, "A595 vs. Protein");
    // 7 rows with X, two replicates each; the unknowns without X are not drawn.
    ASSERT_EQ(m.points.size(), 14u);
    EXPECT_EQ(m.pointColor, GraphBlue);
    EXPECT_EQ(m.points[0].x, 0);
    ExpectNear(m.points[1].y, 0.005);
    ExpectNear(m.points[13].x, 400);
    // R: x <- rep(c(0,25,50,100,200,300,400), each=2)
    //    y <- c(.002,.005,.061,.058,.118,.124,.241,.236,.468,.475,.702,.695,.931,.944)
    //    f <- lm(y ~ x); p <- predict(f, data.frame(x=c(0,4,400)), se.fit=TRUE)
    //    p$fit; 2.179 * p$se.fit      (2.179 is the 95% critical t of 12 df)
    ASSERT_TRUE(m.regressionLine.has_value());
    const GraphLine& line = *m.regressionLine;
    EXPECT_EQ(line.style, GraphLineStyle::Solid);
    ASSERT_EQ(line.points.size(), 2u);
    EXPECT_EQ(line.points[0].x, 0);
    ExpectNear(line.points[0].y, 0.0035197283311773609);
    EXPECT_EQ(line.points[1].x, 400);
    ExpectNear(line.points[1].y, 0.9357474126778781987);
    ASSERT_EQ(m.confidenceLines.size(), 2u);
    const GraphLine& lower = m.confidenceLines[0];
    const GraphLine& upper = m.confidenceLines[1];
    EXPECT_EQ(lower.style, GraphLineStyle::Dotted);
    ASSERT_EQ(lower.points.size(), 101u);
    ASSERT_EQ(upper.points.size(), 101u);
    ExpectNear(lower.points[0].y, 0.0035197283311773609 - 0.0038664593799887167);
    EXPECT_EQ(upper.points[1].x, 4);
    ExpectNear(upper.points[1].y, 0.0128420051746443702 + 0.0038119414017376185);
    // The band reaches the largest X.
    EXPECT_EQ(upper.points[100].x, 400);
    ExpectNear(upper.points[100].y, 0.9357474126778781987 + 0.0052699315967175090);
    ExpectNear(lower.points[100].y, 0.9357474126778781987 - 0.0052699315967175090);
    ASSERT_EQ(m.legend.size(), 2u);
    EXPECT_EQ(m.legend[0].sample, LegendSample::SolidLine);
    EXPECT_EQ(m.legend[0].text, "Linear Regression");
    EXPECT_EQ(m.legend[1].sample, LegendSample::DottedLine);
    EXPECT_EQ(m.legend[1].text, "95% Confidence Interval");
    // X from 0 to 400 in steps of 50.  Y covers the points (0.002 to 0.944); the band's dip
    // to -0.00035 is within the 3% overhang that is clipped, so the axis starts at 0 and not a
    // whole step of 0.2 below it.
    EXPECT_EQ(m.bottomAxis.scale.step, 50);
    EXPECT_EQ(m.bottomAxis.scale.maximum, 400);
    EXPECT_EQ(m.leftAxis.scale.minimum, 0);
    EXPECT_DOUBLE_EQ(m.leftAxis.scale.maximum, 1.0);
    EXPECT_EQ(TickLabels(m.leftAxis),
              (std::vector<std::string>{"0", "0.2", "0.4", "0.6", "0.8", "1"}));
    EXPECT_EQ(TickLabels(m.bottomAxis).at(1), "50");
    EXPECT_FALSE(m.switches.showErrorButtons);
    EXPECT_FALSE(m.switches.showColumnLists);
}

// Fills X in column A and Y in column B.
void FillXY(Document& doc, const std::vector<double>& x, const std::vector<double>& y) {
    doc.Data().SetFormat(DataFormat::XY);
    for (std::size_t i = 0; i < x.size(); ++i) {
        doc.Table().SetValue(static_cast<int>(i), 0, x[i]);
        doc.Table().SetValue(static_cast<int>(i), 1, y[i]);
    }
}

TEST(XYGraph, PerfectFitHasNoBand) {
    Document doc;
    FillXY(doc, {1, 2, 3}, {2, 4, 6});
    const GraphModel m = DrawGraph(doc);
    ASSERT_TRUE(m.regressionLine.has_value());
    EXPECT_EQ(m.regressionLine->points[0].y, 2);
    EXPECT_EQ(m.regressionLine->points[1].y, 6);
    EXPECT_TRUE(m.confidenceLines.empty());
    ASSERT_EQ(m.legend.size(), 1u);
    EXPECT_EQ(m.legend[0].text, "Linear Regression");
    // Untitled columns: the axes read X and Y.
    EXPECT_EQ(m.bottomAxis.title, "X");
    EXPECT_EQ(m.leftAxis.title, "Y");
}

TEST(XYGraph, ForcedFitLimitLinesThroughThePoint) {
    Document doc;
    FillXY(doc, {1, 2, 3, 4, 5}, {2.1, 3.9, 6.2, 7.8, 10.1});
    doc.Choices().xy.forceThroughPoint = 1;
    doc.Choices().xy.ForceX = 1;
    doc.Choices().xy.ForceY = 2;
    const GraphModel m = DrawGraph(doc);
    ASSERT_TRUE(m.regressionLine.has_value());
    ASSERT_EQ(m.confidenceLines.size(), 2u);
    // R: x <- 1:5 - 1; y <- c(2.1,3.9,6.2,7.8,10.1) - 2; f <- lm(y ~ x - 1)
    //    b <- coef(f); se <- summary(f)$coef[2]; b; b - 2.776*se; b + 2.776*se
    //    (2.776 is the 95% critical t of 4 df)
    const double slope = 2.0033333333333330;
    const double lowerSlope = 1.9194132009322089;
    const double upperSlope = 2.0872534657344572;
    ExpectNear(m.regressionLine->points[1].y, 2 + 4 * slope);
    for (const GraphLine& limit : m.confidenceLines) {
        ASSERT_EQ(limit.points.size(), 2u);
        EXPECT_EQ(limit.style, GraphLineStyle::Dotted);
        // Both lines pass through (1, 2), the smallest X here.
        EXPECT_EQ(limit.points[0].x, 1);
        ExpectNear(limit.points[0].y, 2);
        EXPECT_EQ(limit.points[1].x, 5);
    }
    ExpectNear(m.confidenceLines[0].points[1].y, 2 + 4 * lowerSlope);
    ExpectNear(m.confidenceLines[1].points[1].y, 2 + 4 * upperSlope);
    ASSERT_EQ(m.legend.size(), 2u);
    EXPECT_EQ(m.legend[1].text, "95% Confidence Interval");
}

TEST(XYGraph, ForcedPointOutsideTheDataStaysOnBothLines) {
    Document doc;
    FillXY(doc, {1, 2, 3, 4, 5}, {2.1, 3.9, 6.2, 7.8, 10.1});
    doc.Choices().xy.forceThroughPoint = 1;
    doc.Choices().xy.ForceX = -2;
    doc.Choices().xy.ForceY = -4;
    const GraphModel m = DrawGraph(doc);
    ASSERT_EQ(m.confidenceLines.size(), 2u);
    for (const GraphLine& limit : m.confidenceLines) {
        // The line through its two ends, extended to X = -2, meets Y = -4.
        const GraphPoint& p = limit.points[0];
        const GraphPoint& q = limit.points[1];
        const double atPoint = p.y + (q.y - p.y) / (q.x - p.x) * (-2 - p.x);
        ExpectNear(atPoint, -4, 1e-12);
    }
}

TEST(XYGraph, AWideBandWidensTheAxis) {
    Document doc;
    FillXY(doc, {1, 2, 3, 4}, {1, 3, 2, 4});
    const GraphModel m = DrawGraph(doc);
    ASSERT_EQ(m.confidenceLines.size(), 2u);
    // R: f <- lm(c(1,3,2,4) ~ c(1,2,3,4)); fit 0.5 + 0.8 x, sigma 0.9486833;
    //    at x = 1 the band is 1.3 -/+ 4.303 * 0.9486833 * sqrt(1/4 + 2.25/5) = 1.3 -/+ 3.4154004
    //    (4.303 is the 95% critical t of 2 df), far beyond the points' 1 to 4.
    ExpectNear(m.confidenceLines[0].points[0].y, 1.3 - 3.415400367, 1e-9);
    EXPECT_LE(m.leftAxis.scale.minimum, m.confidenceLines[0].points[0].y);
    EXPECT_GE(m.leftAxis.scale.maximum, m.confidenceLines[1].points[100].y);
}

TEST(XYGraph, BandEndsExactlyAtTheLargestX) {
    Document doc;
    // X steps that do not add up exactly in binary.
    FillXY(doc, {0.1, 0.3, 0.4, 0.7}, {1.0, 1.9, 2.6, 3.9});
    const GraphModel m = DrawGraph(doc);
    ASSERT_EQ(m.confidenceLines.size(), 2u);
    EXPECT_EQ(m.confidenceLines[1].points.back().x, m.points.back().x);
    EXPECT_EQ(m.confidenceLines[0].points.front().x, m.points.front().x);
}

TEST(XYGraph, ExcludedValuesAndTheFiveThousandLimit) {
    Document doc;
    doc.Data().SetFormat(DataFormat::XY);
    DataTable& t = doc.Table();
    // 1000 rows of X = row with 6 replicates: 6000 Y values.
    for (int r = 0; r < 1000; ++r) {
        t.SetValue(r, 0, r);
        for (int c = 1; c <= 6; ++c) t.SetValue(r, c, r + c);
    }
    t.SetExcluded(0, 1, true);  // an excluded Y: not drawn, but counted
    t.SetExcluded(1, 0, true);  // an excluded X: the row is left out
    const GraphModel m = DrawGraph(doc);
    // Row 1's six values are not counted; the 5000th counted value is then row 834,
    // column C (833 counted rows of 6 = 4998, plus 2): 5000 counted, 4999 drawn.
    EXPECT_EQ(m.points.size(), 4999u);
    EXPECT_EQ(m.points.back().x, 834);
    EXPECT_EQ(m.points.back().y, 836);
    // Under the graph: of the 999 rows with X, 6 values each, one excluded (5993), 4999 drawn.
    EXPECT_EQ(m.note, "Plotted 4999 of 5993 values.");
    // The line spans every point of the fit, also those not drawn.
    ASSERT_TRUE(m.regressionLine.has_value());
    EXPECT_EQ(m.regressionLine->points[0].x, 0);
    EXPECT_EQ(m.regressionLine->points[1].x, 999);
}

TEST(XYGraph, CorrelationOnlyDrawsPoints) {
    Document doc;
    FillXY(doc, {1, 2, 3, 4}, {1.5, 1.9, 3.5, 3.9});
    doc.Choices().xy.regression = 0;
    doc.Choices().xy.correlationKind = CorrelationKind::Pearson;
    const GraphModel m = DrawGraph(doc);
    EXPECT_EQ(m.points.size(), 4u);
    EXPECT_FALSE(m.regressionLine.has_value());
    EXPECT_TRUE(m.confidenceLines.empty());
    EXPECT_TRUE(m.legend.empty());
    EXPECT_EQ(m.note, "");  // every value drawn
}

// Multiple regression ----------------------------------------------------------------------

TEST(MultipleRegressionGraph, ListsAndPointsOfTheChosenColumns) {
    Document doc;
    Load(doc, "blood_pressure_multiple_regression.ZLD");
    GraphModel m = DrawGraph(doc);
    EXPECT_EQ(m.kind, GraphKind::MultipleRegression);
    const GraphSwitches& s = m.switches;
    EXPECT_TRUE(s.showColumnLists);
    EXPECT_TRUE(s.showAnalyzedDataOnly);
    EXPECT_FALSE(s.analyzedDataOnly);
    EXPECT_FALSE(s.showErrorButtons);
    EXPECT_FALSE(s.showColumnsOrRows);
    EXPECT_EQ(s.xList.items, (std::vector<std::string>{"A: SBP", "B: Age", "C: Weight"}));
    EXPECT_EQ(s.yList.items,
              (std::vector<std::string>{"A: SBP", "B: Age", "C: Weight", "Residuals"}));
    // The file chose Age for X and SBP for Y.
    EXPECT_EQ(s.xList.selected, 1);
    EXPECT_EQ(s.yList.selected, 0);
    EXPECT_EQ(m.bottomAxis.title, "B: Age");
    EXPECT_EQ(m.leftAxis.title, "A: SBP");
    EXPECT_EQ(m.subtitle, "A: SBP vs. B: Age");
    ASSERT_EQ(m.points.size(), 12u);
    EXPECT_EQ(m.points[0].x, 52);
    EXPECT_EQ(m.points[0].y, 132);
    EXPECT_EQ(m.pointColor, GraphBlue);
    EXPECT_FALSE(m.regressionLine.has_value());

    // Residuals against age.
    // R: sbp <- c(132,143,153,162,154,168,137,149,159,128,166,142)
    //    age <- c(52,59,67,73,64,74,54,61,65,46,72,56)
    //    wt <- c(173,184,194,211,196,220,188,188,207,167,217,176)
    //    residuals(lm(sbp ~ age + wt))
    ChooseGraphYColumn(doc, '*');
    EXPECT_TRUE(doc.Modified());
    m = DrawGraph(doc);
    EXPECT_EQ(m.leftAxis.title, "Residuals");
    EXPECT_EQ(m.subtitle, "Residuals vs. B: Age");
    ASSERT_EQ(m.points.size(), 12u);
    ExpectNear(m.points[0].y, -2.43978920550714928, 1e-9);
    ExpectNear(m.points[8].y, 2.99945905386777278, 1e-9);
    ExpectNear(m.points[11].y, 2.91359403446930498, 1e-9);
}

TEST(MultipleRegressionGraph, AnalyzedDataOnlyKeepsTheRowsOfTheLastFit) {
    Document doc;
    Load(doc, "blood_pressure_multiple_regression.ZLD");
    doc.Table().SetExcluded(2, 2, true);  // row 3's weight: the fit uses 11 rows
    doc.MarkModified();
    GraphModel m = DrawGraph(doc);
    // Age and SBP of row 3 are both present: still drawn.
    EXPECT_EQ(m.points.size(), 12u);
    ChooseAnalyzedDataOnly(doc, true);
    m = DrawGraph(doc);
    EXPECT_TRUE(m.switches.analyzedDataOnly);
    ASSERT_EQ(m.points.size(), 11u);
    EXPECT_EQ(m.points[2].x, 73);  // row 4
    // Residuals of the fit without row 3.
    // R: residuals(lm(sbp[-3] ~ age[-3] + wt[-3]))[1:3]
    ChooseGraphYColumn(doc, '*');
    m = DrawGraph(doc);
    ASSERT_EQ(m.points.size(), 11u);
    ExpectNear(m.points[0].y, -2.6052383466586608, 1e-9);
    ExpectNear(m.points[2].y, -3.2354859644491438, 1e-9);
}

TEST(MultipleRegressionGraph, UntitledColumnsAndAListWithoutItsColumn) {
    Document doc;
    doc.Data().SetFormat(DataFormat::MultipleRegression);
    DataTable& t = doc.Table();
    for (int r = 0; r < 6; ++r) {
        t.SetValue(r, 1, r);
        t.SetValue(r, 3, r * r);
    }
    // A correlation matrix of no chosen columns: every column with data is offered, each
    // untitled.
    doc.Choices().multipleRegression.kind = MultipleRegressionKind::CorrelationMatrix;
    doc.Graph().xColumn = 'A';  // not offered: the first entry is shown
    doc.Graph().yColumn = 'B';  // offered, but the same column as X
    const GraphModel m = BuildGraphModel(doc);
    EXPECT_EQ(m.switches.xList.items, (std::vector<std::string>{"Column B", "Column D"}));
    EXPECT_EQ(m.switches.xList.selected, 0);
    EXPECT_EQ(m.switches.yList.selected, 0);
    EXPECT_EQ(m.points.size(), 6u);
    EXPECT_EQ(GraphColumnItem(t, 25), "Column Z");
    t.Record(25).title = "Height";
    EXPECT_EQ(GraphColumnItem(t, 25), "Z: Height");
}

TEST(MultipleRegressionGraph, ResidualsWithoutAFitDrawNothing) {
    Document doc;
    doc.Data().SetFormat(DataFormat::MultipleRegression);
    for (int r = 0; r < 6; ++r) {
        doc.Table().SetValue(r, 0, r);
        doc.Table().SetValue(r, 1, 2 * r + (r % 2));
    }
    doc.Graph().yColumn = '*';
    const GraphModel m = BuildGraphModel(doc);  // no run: no fit
    EXPECT_EQ(m.leftAxis.title, "Residuals");
    EXPECT_TRUE(m.points.empty());
}

// Switches and the message -------------------------------------------------------------------

TEST(GraphSwitches, SavedChoicesMarkTheDocumentChanged) {
    Document doc;
    doc.SetModified(false);
    ChooseGraphRows(doc, true);  // lives with the open document only
    EXPECT_TRUE(doc.Graph().byRows);
    EXPECT_FALSE(doc.Modified());
    ChooseGraphError(doc, true);  // already SD
    EXPECT_FALSE(doc.Modified());
    ChooseAnalyzedDataOnly(doc, true);
    EXPECT_TRUE(doc.Modified());
    doc.SetModified(false);
    ChooseGraphXColumn(doc, 'C');
    EXPECT_EQ(doc.Graph().xColumn, 'C');
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(GraphCustomizeMessage.rfind("It is not possible to customize Zelkon's graphs.", 0), 0u);
}

}  // namespace
}  // namespace zelkon
