// The document window: the start page's families and formats, step availability and moving
// between steps, the minimal data grid and the two-by-two fields, the statistics page with
// typed averaged data, results computed only when needed, the results viewer's styles and
// menu, and the status panel and Cancel of a long exact calculation on an injected clock.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <QThread>
#include <QTimer>

#include "core/calc_status.h"
#include "document/document.h"
#include "stats/column_stats.h"
#include "ui/analysis_form.h"
#include "ui/data_grid.h"
#include "ui/graph_page.h"
#include "ui/results_page.h"
#include "ui/results_viewer.h"
#include "ui/spread_grid.h"
#include "ui/spread_grid_model.h"
#include "ui/start_page.h"
#include "ui/statistics_page.h"
#include "ui/two_by_two_entry_page.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

/// Chooses a data format as the user does: the goal first, then the format.
void ChooseFormat(TAnalysisForm& form, DataFormat format) {
    form.ShowStep(Step::Start);
    form.StartPage()->FamilyButton(FamilyOf(format))->click();
    form.StartPage()->FormatButton(format)->click();
}

// A counting analysis that writes a bold word.
int g_runs = 0;
void CountingOneColumn(const OneColumnRequest&, AnalysisOutput& out) {
    ++g_runs;
    out.report.ToggleEmphasis1();
    out.report.Write("Bold");
    out.report.ToggleEmphasis1();
    out.report.ToggleEmphasis2();
    out.report.Write(" under");
    out.report.ToggleEmphasis2();
    out.report.WriteLine(" plain");
}

// A long exact calculation on a clock the test drives.
class FakeClock final : public Clock {
public:
    std::int64_t NowMs() override { return now; }
    std::int64_t now = 0;
};
FakeClock g_clock;
TAnalysisForm* g_form = nullptr;
std::vector<int> g_answers;
bool g_panelAfterTimer = false;
QString g_panelMessage;
QString g_percentAtSeven;
QString g_secondsAtSeven;
QString g_approximateText;
bool g_stepBlocked = false;
bool g_nextBlocked = false;

void ExactOneColumn(const OneColumnRequest&, AnalysisOutput& out) {
    TResultsPage* page = g_form->ResultsPage();
    // The window system gets its turn for a while: the 250 ms status timer shows the panel.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 450) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    g_panelAfterTimer = !page->StatusPanel()->isHidden() && !page->CancelButton()->isHidden();
    g_panelMessage = page->StatusMessage()->text();
    g_stepBlocked = !g_form->ShowStep(Step::Start);
    g_nextBlocked = !g_form->NextStep();

    g_clock.now = 0;
    BeginExactCalculation(0.0432L);
    g_approximateText = page->ProgressValue(0)->text();
    for (int i = 1; i <= 100; ++i) {
        g_clock.now += 300;
        if (i == 12) QMetaObject::invokeMethod(page->CancelButton(), "click", Qt::QueuedConnection);
        const int answer = ReportProgress(i);
        g_answers.push_back(answer);
        if (i == 7) {
            g_percentAtSeven = page->ProgressValue(1)->text();
            g_secondsAtSeven = page->ProgressValue(2)->text();
        }
        if (answer != ProgressContinue) break;
    }
    EndExactCalculation();
    out.report.WriteLine(g_answers.back() == ProgressCancelled ? "approximate" : "exact");
}

}  // namespace

class AnalysisFormTest : public QObject {
    Q_OBJECT

private slots:
    void init() { services_ = &test::InstallTestServices(); }

    void familiesEnableTheirFormats() {
        TAnalysisForm form;
        TStartPage* start = form.StartPage();
        QVERIFY(start->FamilyButton(FormatFamily::CompareMeans)->isChecked());
        QVERIFY(start->FormatButton(DataFormat::Raw)->isChecked());
        QVERIFY(start->ExampleText().startsWith(QStringLiteral("Compare blood pressures of two or more groups, ")));

        start->FamilyButton(FormatFamily::Regression)->click();
        QCOMPARE(form.Doc().Format(), DataFormat::XY);  // the family checks its first format
        QVERIFY(start->FormatButton(DataFormat::XY)->isEnabled());
        QVERIFY(start->FormatButton(DataFormat::MultipleRegression)->isEnabled());
        QVERIFY(!start->FormatButton(DataFormat::Raw)->isEnabled());
        QVERIFY(!start->FormatButton(DataFormat::TwoByTwo)->isEnabled());
        QCOMPARE(start->TestListText(), QStringLiteral("    Linear regression\n    Interpolate unknown values\n"
                                                      "    Linear (Pearson) correlation\n"
                                                      "    Spearman nonparametric correlation\n"
                                                      "    Constrained linear regression"));
        QCOMPARE(start->ExampleText(), QStringLiteral("How does blood pressure vary with age? For multiple\n"
                                                     "regression, how does BP vary with age and weight? "));
        QVERIFY(form.Doc().Modified());

        start->FamilyButton(FormatFamily::Contingency)->click();
        QCOMPARE(form.Doc().Format(), DataFormat::TwoByTwo);
        start->FormatButton(DataFormat::LargerTable)->click();
        QCOMPARE(form.Doc().Format(), DataFormat::LargerTable);
        QCOMPARE(start->TestListText(),
                 QStringLiteral("    Chi-square test for independence\n    Chi-square test for trend"));

        start->FamilyButton(FormatFamily::CompareMeans)->click();
        start->FormatButton(DataFormat::MeanSEMN)->click();
        QCOMPARE(form.Doc().Format(), DataFormat::MeanSEMN);
        QVERIFY(!form.Doc().Data().ErrorIsSD());
        QVERIFY(start->TestListText().startsWith(QStringLiteral("1 group:\n    One sample t test\n2 groups:")));
        // The captions show one ampersand.
        QCOMPARE(start->FormatButton(DataFormat::MeanSDN)->text(), QStringLiteral("Averaged data. Mean, SD && N."));
    }

    void dataDisablesTheAveragedFormats() {
        TAnalysisForm form;
        ChooseFormat(form, DataFormat::MeanSDN);
        test::TypeColumn(form.Doc(), 0, {1, 2});
        form.ShowStep(Step::Start);
        // An averaged format of a table with data becomes raw data.
        QCOMPARE(form.Doc().Format(), DataFormat::Raw);
        QVERIFY(form.StartPage()->FormatButton(DataFormat::Raw)->isChecked());
        QVERIFY(!form.StartPage()->FormatButton(DataFormat::MeanSDN)->isEnabled());
        QVERIFY(!form.StartPage()->FormatButton(DataFormat::MeanSEMN)->isEnabled());
    }

    void stepsFollowTheFormat_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QList<int>>("forward");
        QTest::newRow("raw") << int(DataFormat::Raw) << QList<int>{2, 3, 4, 5, 6};
        QTest::newRow("xy") << int(DataFormat::XY) << QList<int>{2, 4, 5, 6};
        QTest::newRow("mean sd n") << int(DataFormat::MeanSDN) << QList<int>{3, 4, 5, 6};
        QTest::newRow("mean sem n") << int(DataFormat::MeanSEMN) << QList<int>{3, 4, 5, 6};
        QTest::newRow("two by two") << int(DataFormat::TwoByTwo) << QList<int>{2, 4, 5, 6};
        QTest::newRow("larger table") << int(DataFormat::LargerTable) << QList<int>{2, 5, 6};
        QTest::newRow("multiple regression") << int(DataFormat::MultipleRegression) << QList<int>{2, 3, 4, 5, 6};
    }

    void stepsFollowTheFormat() {
        QFETCH(int, format);
        QFETCH(QList<int>, forward);
        TAnalysisForm form;
        ChooseFormat(form, static_cast<DataFormat>(format));
        QList<int> seen;
        while (form.NextStep()) seen << int(form.CurrentStep());
        QCOMPARE(seen, forward);
        QCOMPARE(form.CurrentStep(), Step::Graph);
        QVERIFY(!form.NextStep());  // nothing after step 6
        QList<int> back;
        while (form.PreviousStep()) back << int(form.CurrentStep());
        QList<int> expected;
        for (auto it = forward.rbegin() + 1; it != forward.rend(); ++it) expected << *it;
        expected << 1;
        QCOMPARE(back, expected);
        for (int s = 1; s <= 6; ++s) {
            const bool offered = s == 1 || forward.contains(s);
            QCOMPARE(form.ShowStep(static_cast<Step>(s)), offered);
        }
    }

    void stepPagesShowTheirCaption() {
        TAnalysisForm form;
        form.ShowStep(Step::Graph);
        QCOMPARE(form.PageCaption()->text(), QStringLiteral("Graph"));
        QVERIFY(form.GraphPage()->Chart()->isVisibleTo(form.GraphPage()));
        form.ShowStep(Step::SummaryStats);
        QCOMPARE(form.PageCaption()->text(), QStringLiteral("Summary Stats"));
    }

    void shiftF10MovesToTheNextStep() {
        TAnalysisForm form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.StartPage()->FormatButton(DataFormat::Raw)->setFocus();
        QTest::keyClick(form.StartPage()->FormatButton(DataFormat::Raw), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(form.CurrentStep(), Step::DataTable);
        QTest::keyClick(form.DataGridPage()->Grid(), Qt::Key_F9, Qt::ShiftModifier);
        QCOMPARE(form.CurrentStep(), Step::Start);
    }

    void gridStoresTypedValuesAndTitles() {
        TAnalysisForm form;
        form.ShowStep(Step::DataTable);
        TSpreadGridModel* model = form.DataGridPage()->Model();
        QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Group A"));
        QVERIFY(model->setData(model->index(0, 0), QStringLiteral("12.5"), Qt::EditRole));
        QCOMPARE(form.Doc().Table().Value(0, 0), Extended(12.5L));
        QCOMPARE(model->data(model->index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("12.5"));
        QVERIFY(form.Doc().NeedsRecalculation());
        QVERIFY(model->setHeaderData(1, Qt::Horizontal, QStringLiteral("Control"), Qt::EditRole));
        QCOMPARE(form.Doc().Table().Record(1).title, std::string("Control"));
        // Text that is not a number empties the cell.
        QVERIFY(model->setData(model->index(0, 0), QStringLiteral("abc"), Qt::EditRole));
        QVERIFY(form.Doc().Table().IsMissing(0, 0));

        // A number typed as a title may go into the first row.
        services_->prompts.answers = {PromptAnswer::Yes};
        QVERIFY(model->setHeaderData(2, Qt::Horizontal, QStringLiteral("7"), Qt::EditRole));
        QCOMPARE(form.Doc().Table().Value(0, 2), Extended(7));
        QCOMPARE(form.Doc().Table().Record(2).title, std::string());

        // Raw values into a column of averaged data ask first; No keeps the column.
        ColumnRecord& d = form.Doc().Table().Record(3);
        d.n = 5;
        d.mean = 3;
        services_->prompts.Clear();
        services_->prompts.answers = {PromptAnswer::No};
        QVERIFY(!model->setData(model->index(0, 3), QStringLiteral("4"), Qt::EditRole));
        QVERIFY(form.Doc().Table().IsMissing(0, 3));
        QCOMPARE(services_->prompts.asked.size(), std::size_t{1});
        QCOMPARE(services_->prompts.asked[0], MixingQuestionText(3));

        ChooseFormat(form, DataFormat::XY);
        form.ShowStep(Step::DataTable);
        QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("X"));
        QCOMPARE(model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Y2"));
    }

    void twoByTwoFieldsStoreTheRecord() {
        TAnalysisForm form;
        ChooseFormat(form, DataFormat::TwoByTwo);
        form.ShowStep(Step::DataTable);
        QVERIFY(form.ShowsTwoByTwoPage());
        TTwoByTwoEntryPage* page = form.TwoByTwoPage();
        const char* counts[4] = {"10", "20", "30", "40"};
        for (int i = 0; i < 4; ++i) page->CountEdit(i)->setText(QString::fromLatin1(counts[i]));
        page->LabelEdit(0)->setText(QStringLiteral("Smokers"));
        page->TitleEdit()->setText(QStringLiteral("Study"));
        form.CommitPendingEdits();
        const TwoByTwoRecord& r = form.Doc().Data().TwoByTwo();
        QCOMPARE(r.a, Extended(10));
        QCOMPARE(r.d, Extended(40));
        QCOMPARE(r.column1Title, std::string("Smokers"));
        QCOMPARE(form.Doc().Table().DataTitle(), std::string("Study"));
        // Row totals 10+20 and 30+40, column totals 10+30 and 20+40, grand total 100.
        QCOMPARE(page->TotalText(0), QStringLiteral("30"));
        QCOMPARE(page->TotalText(1), QStringLiteral("70"));
        QCOMPARE(page->TotalText(2), QStringLiteral("40"));
        QCOMPARE(page->TotalText(3), QStringLiteral("60"));
        QCOMPARE(page->TotalText(4), QStringLiteral("100"));
        page->CountEdit(3)->setText(QString());
        form.CommitPendingEdits();
        QVERIFY(IsMissingValue(r.d));
        QCOMPARE(page->TotalText(4), QString());
        QCOMPARE(page->LabelEdit(0)->maxLength(), 15);
        QCOMPARE(page->CountEdit(0)->maxLength(), 10);
        QCOMPARE(page->TitleEdit()->maxLength(), 62);
    }

    void statisticsPageShowsTheColumnStatistics() {
        TAnalysisForm form;
        form.ShowStep(Step::DataTable);
        TSpreadGridModel* model = form.DataGridPage()->Model();
        const char* values[4] = {"1.5", "2.5", "3.5", "4.5"};
        for (int r = 0; r < 4; ++r) model->setData(model->index(r, 0), QString::fromLatin1(values[r]), Qt::EditRole);
        form.ShowStep(Step::SummaryStats);
        QTableWidget* grid = form.StatisticsPage()->Grid();
        auto cell = [&](StatisticsRow row) {
            return grid->item(TStatisticsPage::GridRowOf(row), 0)->text();
        };
        QCOMPARE(grid->verticalHeaderItem(TStatisticsPage::GridRowOf(StatisticsRow::Mean))->text(), QStringLiteral("Mean"));
        QCOMPARE(grid->verticalHeaderItem(TStatisticsPage::GridRowOf(StatisticsRow::Error))->text(),
                 QStringLiteral("Standard deviation (SD)"));
        // By hand: mean 3, SD sqrt(5/3) = 1.29, SEM 1.29 / 2 = 0.65, shown with one decimal.
        QCOMPARE(cell(StatisticsRow::Mean), QStringLiteral("3.0"));
        QCOMPARE(cell(StatisticsRow::Error), QStringLiteral("1.3"));
        QCOMPARE(cell(StatisticsRow::OtherError), QStringLiteral("0.6"));
        QCOMPARE(cell(StatisticsRow::N), QStringLiteral("4"));
        QCOMPARE(cell(StatisticsRow::Minimum), QStringLiteral("1.5"));
        QCOMPARE(cell(StatisticsRow::NormalityP), QStringLiteral("Too few values"));
        QCOMPARE(cell(StatisticsRow::Passed), QString());
        // Raw data are not typed here.
        QVERIFY(!(grid->item(TStatisticsPage::GridRowOf(StatisticsRow::Mean), 0)->flags() & Qt::ItemIsEditable));
    }

    void averagedDataAreTypedOnTheStatisticsPage() {
        TAnalysisForm form;
        ChooseFormat(form, DataFormat::MeanSEMN);
        QVERIFY(form.ShowStep(Step::SummaryStats));
        QTableWidget* grid = form.StatisticsPage()->Grid();
        QCOMPARE(grid->verticalHeaderItem(TStatisticsPage::GridRowOf(StatisticsRow::Error))->text(), QStringLiteral("SEM"));
        QCOMPARE(grid->verticalHeaderItem(TStatisticsPage::GridRowOf(StatisticsRow::OtherError))->text(), QStringLiteral("SD"));
        auto item = [&](StatisticsRow row, int column) { return grid->item(TStatisticsPage::GridRowOf(row), column); };
        QVERIFY(item(StatisticsRow::Mean, 1)->flags() & Qt::ItemIsEditable);
        QVERIFY(!(item(StatisticsRow::Median, 1)->flags() & Qt::ItemIsEditable));
        item(StatisticsRow::Mean, 1)->setText(QStringLiteral("10"));
        item(StatisticsRow::Error, 1)->setText(QStringLiteral("2"));
        item(StatisticsRow::N, 1)->setText(QStringLiteral("4"));
        const ColumnRecord& r = form.Doc().Table().Record(1);
        QCOMPARE(r.n, 4);
        QCOMPARE(r.sem, Extended(2));
        // SD = SEM * sqrt(N) = 4; limits 10 -/+ t * 2 with the critical-value table's t for
        // 3 df, 3.182 (R: qt(0.975, 3) = 3.182446, to three decimals), shown without decimals.
        QCOMPARE(r.sd, Extended(4));
        QVERIFY(std::fabs(static_cast<double>(r.lower95) - 3.636) < 1e-12);
        QVERIFY(std::fabs(static_cast<double>(r.upper95) - 16.364) < 1e-12);
        QCOMPARE(item(StatisticsRow::OtherError, 1)->text(), QStringLiteral("4"));
        QCOMPARE(item(StatisticsRow::Lower95, 1)->text(), QStringLiteral("4"));
        QCOMPARE(item(StatisticsRow::Upper95, 1)->text(), QStringLiteral("16"));
        QVERIFY(form.Doc().Modified());
        // N = 1 stores N = 0 and empties everything but the mean.
        item(StatisticsRow::N, 1)->setText(QStringLiteral("1"));
        QCOMPARE(r.n, 0);
        QVERIFY(IsMissingValue(r.sd));
        QCOMPARE(r.mean, Extended(10));
        QCOMPARE(item(StatisticsRow::Error, 1)->text(), QString());
        QCOMPARE(item(StatisticsRow::N, 1)->text(), QString());
        // Titles are typed here too, since the averaged formats have no data page.
        grid->item(TStatisticsPage::TitleRow, 1)->setText(QStringLiteral("Treated"));
        QCOMPARE(r.title, std::string("Treated"));
    }

    void editMenuReachesTheStatisticsSheet() {
        TAnalysisForm form;
        ChooseFormat(form, DataFormat::MeanSDN);
        QVERIFY(form.ShowStep(Step::SummaryStats));
        QTableWidget* grid = form.StatisticsPage()->Grid();
        const int meanRow = TStatisticsPage::GridRowOf(StatisticsRow::Mean);
        grid->item(meanRow, 1)->setText(QStringLiteral("7"));
        grid->setCurrentCell(meanRow, 1);
        form.CopyCommand();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("7"));
        QApplication::clipboard()->clear();
        form.CutCommand();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("7"));
        QVERIFY(IsMissingValue(form.Doc().Table().Record(1).mean));
        grid->item(meanRow, 1)->setText(QStringLiteral("8"));
        form.ClearCommand();
        QVERIFY(IsMissingValue(form.Doc().Table().Record(1).mean));
    }

    void resultsAreComputedOnlyAfterAChange() {
        g_runs = 0;
        AnalysisEntryPoints entries;
        entries.oneColumn = CountingOneColumn;
        TAnalysisForm form;
        form.SetEntryPoints(&entries);
        test::TypeColumn(form.Doc(), 0, {1, 2, 3});
        QVERIFY(form.ShowStep(Step::Results));
        QCOMPARE(g_runs, 1);
        form.ShowStep(Step::ChooseTest);
        QVERIFY(form.ShowStep(Step::Results));
        QCOMPARE(g_runs, 1);  // nothing changed: the report stays
        form.Doc().Choices().columns.oneColumnTwoSided = 0;
        form.Doc().MarkModified();
        QVERIFY(form.ShowStep(Step::Results));
        QCOMPARE(g_runs, 2);

        // The viewer shows the runs of emphasis as bold and underline.
        TResultsViewer* viewer = form.ResultsPage()->Viewer();
        const QString text = viewer->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Bold under plain")));
        QVERIFY(text.contains(QStringLiteral("                       *     *     *")));
        const QTextBlock block = viewer->document()->findBlock(text.indexOf(QStringLiteral("Bold under plain")));
        QList<QTextLayout::FormatRange> formats = block.textFormats();
        bool boldSeen = false;
        bool underlineSeen = false;
        for (const QTextLayout::FormatRange& range : formats) {
            const QString part = block.text().mid(range.start, range.length);
            if (part == QStringLiteral("Bold")) boldSeen = range.format.fontWeight() == QFont::Bold;
            if (part == QStringLiteral(" under")) underlineSeen = range.format.fontUnderline();
            if (part == QStringLiteral(" plain")) {
                QVERIFY(range.format.fontWeight() != QFont::Bold);
                QVERIFY(!range.format.fontUnderline());
            }
        }
        QVERIFY(boldSeen);
        QVERIFY(underlineSeen);
        QCOMPARE(viewer->font().family(), QStringLiteral("DejaVu Sans Mono"));
    }

    void aNewDocumentReportsThatDataAreMissing() {
        TAnalysisForm form;
        QVERIFY(form.ResultsPage()->Viewer()->toPlainText().startsWith(QStringLiteral("Text line #1\n")));
        form.ShowStep(Step::Results);
        const QStringList lines = form.ResultsPage()->Viewer()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QString());
        QCOMPARE(lines.value(1), QStringLiteral("Until you enter data, you won't see any results!"));
        QCOMPARE(lines.value(2), QString());
        QVERIFY(lines.size() >= 21);
    }

    void viewerMenuCopiesAndAppendsToNotes() {
        g_runs = 0;
        AnalysisEntryPoints entries;
        entries.oneColumn = CountingOneColumn;
        TAnalysisForm form;
        form.SetEntryPoints(&entries);
        test::TypeColumn(form.Doc(), 0, {1, 2, 3});
        form.ShowStep(Step::Results);
        TResultsViewer* viewer = form.ResultsPage()->Viewer();
        QCOMPARE(viewer->CopyAction()->text(), QStringLiteral("&Copy"));
        QCOMPARE(viewer->AppendAction()->text(), QStringLiteral("Append to Notes"));
        QCOMPARE(viewer->SelectAllAction()->text(), QStringLiteral("&Select All"));

        viewer->SelectAllAction()->trigger();
        viewer->CopyAction()->trigger();
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.startsWith(QStringLiteral("Bold under plain\r\n")));

        // One selected character stands for the whole report.
        QTextCursor cursor = viewer->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(1, QTextCursor::KeepAnchor);
        viewer->setTextCursor(cursor);
        viewer->AppendAction()->trigger();
        QVERIFY(form.Doc().Notes().find("Bold under plain\r\n") == 0);
        QVERIFY(form.Doc().Notes().find("*     *     *") != std::string::npos);

        // Notes near their limit refuse the whole report.
        form.Doc().Notes() = std::string(7990, 'x');
        viewer->AppendAction()->trigger();
        QCOMPARE(form.Doc().Notes(), std::string(7990, 'x'));
        QCOMPARE(services_->prompts.told.back(), std::string("The text is too large to copy to notes."));
    }

    void cancelStopsALongExactCalculation() {
        AnalysisEntryPoints entries;
        entries.oneColumn = ExactOneColumn;
        TAnalysisForm form;
        g_form = &form;
        g_answers.clear();
        form.SetEntryPoints(&entries);
        form.show();
        test::TypeColumn(form.Doc(), 0, {1, 2, 3});
        CalcStatus& status = GlobalCalcStatus();
        status.SetClock(&g_clock);
        form.ShowStep(Step::Results);
        status.SetClock(nullptr);
        g_form = nullptr;

        // The panel appeared when the status timer fired, with its message and Cancel.
        QVERIFY(g_panelAfterTimer);
        QCOMPARE(g_panelMessage, QStringLiteral("Performing calculations, please wait..."));
        QVERIFY(g_stepBlocked);
        QVERIFY(g_nextBlocked);
        QCOMPARE(g_approximateText, QStringLiteral("0.04320"));
        // Progress shows first at 2100 ms (7%): 2100 * 93 / 7 ms left = 27 s.
        QCOMPARE(g_percentAtSeven, QStringLiteral("7.0"));
        QCOMPARE(g_secondsAtSeven, QStringLiteral("27"));
        // Cancel is clicked during call 12 (3600 ms, within 500 ms of the update at 3300 ms),
        // so call 13 (3900 ms) is the first to answer "cancelled".
        QCOMPARE(int(g_answers.size()), 13);
        QCOMPARE(g_answers.back(), ProgressCancelled);
        for (std::size_t i = 0; i + 1 < g_answers.size(); ++i) QCOMPARE(g_answers[i], ProgressContinue);
        QVERIFY(!status.Calculating());
        QVERIFY(form.ResultsPage()->StatusPanel()->isHidden());
        QVERIFY(!form.ResultsPage()->Viewer()->isHidden());
        QVERIFY(form.ResultsPage()->Viewer()->toPlainText().contains(QStringLiteral("approximate")));
        QCOMPARE(form.CurrentStep(), Step::Results);
    }

    void clearAllResetsTheDocument() {
        TAnalysisForm form;
        test::TypeColumn(form.Doc(), 0, {1, 2, 3});
        form.Doc().Table().SetDataTitle("T");
        form.Doc().Choices().columns.unpaired = 0;
        form.ShowStep(Step::SummaryStats);
        form.ClearAllData();
        QVERIFY(!form.Doc().Table().HasData());
        QVERIFY(form.Doc().Table().DataTitle().empty());
        QCOMPARE(form.Doc().Choices().columns.unpaired, std::uint8_t{1});
        QCOMPARE(form.CurrentStep(), Step::Start);
        // On the data page the document stays there.
        test::TypeColumn(form.Doc(), 0, {1});
        form.ShowStep(Step::DataTable);
        form.ClearAllData();
        QCOMPARE(form.CurrentStep(), Step::DataTable);
        QVERIFY(!form.Doc().Table().HasData());
    }

private:
    test::TestServices* services_ = nullptr;
};

ZELKON_GUI_TEST_MAIN(AnalysisFormTest)
#include "analysis_form_test.moc"
