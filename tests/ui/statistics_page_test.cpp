// The column statistics sheet with averaged data typed through its cell editor, its pop-up
// menu (cut, copy, paste, delete), and the two-by-two sub-page's fields and totals; long
// texts read from a file stay whole until the user edits them.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QTest>

#include <cmath>

#include "document/document.h"
#include "ui/statistics_page.h"
#include "ui/two_by_two_entry_page.h"
#include "ui/ui_services.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

QTableWidgetItem* Cell(TStatisticsPage& page, StatisticsRow row, int column) {
    return page.Grid()->item(TStatisticsPage::GridRowOf(row), column);
}

/// Lets the view finish an edit posted with Enter (the view commits it through a queued call)
/// and delete the closed editor.
void FinishEdit() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// Opens the cell editor as a double click does and types the keys; returns the editor.
QLineEdit* OpenEditor(QTableWidget* grid, int row, int column, const QString& keys) {
    FinishEdit();
    grid->setCurrentCell(row, column);
    grid->editItem(grid->item(row, column));
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(row, column)));
    if (editor != nullptr) QTest::keyClicks(editor, keys);
    return editor;
}

/// Types into a cell and posts the edit with Enter.
void TypeCell(QTableWidget* grid, int row, int column, const QString& keys) {
    QLineEdit* editor = OpenEditor(grid, row, column, keys);
    QVERIFY(editor != nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    FinishEdit();
}

void SelectBlock(QTableWidget* grid, int top, int left, int bottom, int right) {
    grid->clearSelection();
    grid->setCurrentCell(top, left);
    grid->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
}

/// Closeness with relative tolerance 1e-9.
bool Near(Extended x, double expected) {
    return std::fabs(static_cast<double>(x) - expected) <= 1e-9 * std::fabs(expected);
}

}  // namespace

class StatisticsPageTest : public QObject {
    Q_OBJECT
    test::TestServices* services_ = nullptr;

private slots:
    void init() { services_ = &test::InstallTestServices(); }

    void averagedDataAreTypedThroughTheCellEditor() {
        Document doc;
        doc.Data().ChangeFormat(DataFormat::MeanSDN);
        TStatisticsPage page(doc);
        page.resize(900, 460);
        page.show();
        page.Prepare();
        QTableWidget* grid = page.Grid();
        QCOMPARE(grid->columnCount(), 26);
        QCOMPARE(grid->horizontalHeader()->defaultSectionSize(), 105);
        QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 20);
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Group B"));
        const QStringList labels = {
            "Title", "Mean", "Standard deviation (SD)", "Sample size (N)", "",
            "Std. error of mean(SEM)", "Lower 95% conf. limit", "Upper 95% conf. limit", "",
            "Minimum", "Median (50th percentile)", "Maximum", "", "Normality test KS",
            "Normality test P value", "Passed normality test?", ""};
        QCOMPARE(grid->rowCount(), int(labels.size()));
        for (int r = 0; r < grid->rowCount(); ++r) {
            QCOMPARE(grid->verticalHeaderItem(r)->text(), labels[r]);
        }

        const int meanRow = TStatisticsPage::GridRowOf(StatisticsRow::Mean);
        const int errorRow = TStatisticsPage::GridRowOf(StatisticsRow::Error);
        const int nRow = TStatisticsPage::GridRowOf(StatisticsRow::N);
        // The count row takes whole numbers only: 10.5 is refused with a message (it was read
        // as 105 when the point was dropped), and the cell stays as it was.
        TypeCell(grid, nRow, 1, QStringLiteral("10.5"));
        QCOMPARE(services_->prompts.told.size(), std::size_t{1});
        QCOMPARE(services_->prompts.told[0], std::string(CountNotWholeMessage));
        QCOMPARE(doc.Table().Record(1).n, 0);
        QCOMPARE(Cell(page, StatisticsRow::N, 1)->text(), QString());
        QLineEdit* editor = OpenEditor(grid, nRow, 1, QStringLiteral("9"));
        QVERIFY(editor != nullptr);
        QTest::keyClick(editor, Qt::Key_Return);
        // Value cells refuse letters other than E and stop at 14 characters.
        editor = OpenEditor(grid, meanRow, 1, QStringLiteral("1x2.5e0+12345678901234"));
        QCOMPARE(editor->text(), QStringLiteral("12.5e012345678"));
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("12"));
        QTest::keyClick(editor, Qt::Key_Return);
        TypeCell(grid, errorRow, 1, QStringLiteral("3"));
        TypeCell(grid, TStatisticsPage::TitleRow, 1, QStringLiteral("Dose"));

        const ColumnRecord& b = doc.Table().Record(1);
        QCOMPARE(QString::fromStdString(b.title), QStringLiteral("Dose"));
        QCOMPARE(b.n, 9);
        QCOMPARE(b.mean, Extended(12));
        QCOMPARE(b.sd, Extended(3));
        // SEM = 3 / sqrt(9) = 1; limits 12 -/+ 2.306 * 1 with the critical-value table's t
        // for 8 df (R: qt(0.975, 8) = 2.306004).
        QCOMPARE(b.sem, Extended(1));
        QVERIFY(Near(b.lower95, 9.694));
        QVERIFY(Near(b.upper95, 14.306));
        QCOMPARE(Cell(page, StatisticsRow::OtherError, 1)->text(), QStringLiteral("1"));
        QCOMPARE(Cell(page, StatisticsRow::N, 1)->text(), QStringLiteral("9"));
        QVERIFY(doc.Modified());
        // Computed rows are not typed into.
        QVERIFY(!(Cell(page, StatisticsRow::OtherError, 1)->flags() & Qt::ItemIsEditable));

        // A typed mean with two decimals shows the whole column with two: SEM 2 / sqrt(4) = 1,
        // limits 8.25 -/+ 3.182 (t for 3 df, R: qt(0.975, 3) = 3.182446) = 5.068, 11.432.
        TypeCell(grid, meanRow, 0, QStringLiteral("8.25"));
        TypeCell(grid, errorRow, 0, QStringLiteral("2"));
        TypeCell(grid, nRow, 0, QStringLiteral("4"));
        TypeCell(grid, TStatisticsPage::TitleRow, 0, QStringLiteral("Control"));
        QCOMPARE(Cell(page, StatisticsRow::Error, 0)->text(), QStringLiteral("2.00"));
        QCOMPARE(Cell(page, StatisticsRow::OtherError, 0)->text(), QStringLiteral("1.00"));
        QCOMPARE(Cell(page, StatisticsRow::Lower95, 0)->text(), QStringLiteral("5.07"));
        QCOMPARE(Cell(page, StatisticsRow::Upper95, 0)->text(), QStringLiteral("11.43"));
        test::SaveScreenshot(page, QStringLiteral("statistics_page_averaged"));
    }

    void popupMenuCutsCopiesPastesAndDeletes() {
        Document doc;
        doc.Data().ChangeFormat(DataFormat::MeanSDN);
        TStatisticsPage page(doc);
        page.show();
        page.Prepare();
        QTableWidget* grid = page.Grid();
        QStringList captions;
        for (QAction* action : page.PopupMenu()->actions()) captions << action->text();
        QCOMPARE(captions, (QStringList{"&Cut", "&Copy", "&Paste", "&Delete"}));
        QCOMPARE(page.PopupMenu()->objectName(), QStringLiteral("StatDataPopupMenu"));
        QCOMPARE(page.PopupMenu()->actions().back()->shortcut(), QKeySequence(Qt::Key_Delete));

        const int meanRow = TStatisticsPage::GridRowOf(StatisticsRow::Mean);
        const int nRow = TStatisticsPage::GridRowOf(StatisticsRow::N);
        // Two columns pasted from the mean row of column C on, lines of two fields.
        grid->setCurrentCell(meanRow, 2);
        QApplication::clipboard()->setText(QStringLiteral("20\t30\r\n4;6\r\n16,4\r\n"));
        page.PopupMenu()->actions()[2]->trigger();
        const ColumnRecord& c = doc.Table().Record(2);
        const ColumnRecord& d = doc.Table().Record(3);
        QCOMPARE(c.mean, Extended(20));
        QCOMPARE(c.sd, Extended(4));
        QCOMPARE(c.n, 16);
        QCOMPARE(c.sem, Extended(1));  // 4 / sqrt(16)
        QCOMPARE(d.mean, Extended(30));
        QCOMPARE(d.n, 4);
        QCOMPARE(d.sem, Extended(3));  // 6 / sqrt(4)

        // Copy gives the shown texts of the block.
        SelectBlock(grid, meanRow, 2, nRow, 3);
        page.PopupMenu()->actions()[1]->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("20\t30\r\n4\t6\r\n16\t4"));

        // A paste into computed rows changes nothing.
        grid->clearSelection();
        grid->setCurrentCell(TStatisticsPage::GridRowOf(StatisticsRow::Median), 2);
        page.PasteText(QStringLiteral("99"));
        QVERIFY(IsMissingValue(c.median));
        QCOMPARE(Cell(page, StatisticsRow::Median, 2)->text(), QString());

        // Cut of D's count: the text goes to the clipboard and N = 0 empties D's statistics
        // but its mean.
        SelectBlock(grid, nRow, 3, nRow, 3);
        page.PopupMenu()->actions()[0]->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("4"));
        QCOMPARE(d.n, 0);
        QVERIFY(IsMissingValue(d.sd));
        QCOMPARE(d.mean, Extended(30));

        // The Del key empties the selected typed cells of C.
        SelectBlock(grid, meanRow, 2, nRow, 2);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(c.n, 0);
        QVERIFY(IsMissingValue(c.mean));
        QCOMPARE(Cell(page, StatisticsRow::Mean, 2)->text(), QString());
    }

    void decimalCommaIsCopiedAndPasted() {
        Services().separators = Separators{',', ';'};
        Document doc;
        doc.Data().ChangeFormat(DataFormat::MeanSEMN);
        TStatisticsPage page(doc);
        page.Prepare();
        const int meanRow = TStatisticsPage::GridRowOf(StatisticsRow::Mean);
        page.Grid()->setCurrentCell(meanRow, 0);
        // "7,5" is one field with a decimal comma; the SEM goes to the error row.
        page.PasteText(QStringLiteral("7,5\n0,5\n25"));
        const ColumnRecord& a = doc.Table().Record(0);
        QCOMPARE(a.mean, Extended(7.5));
        QCOMPARE(a.sem, Extended(0.5));
        QCOMPARE(a.n, 25);
        QCOMPARE(a.sd, Extended(2.5));  // 0.5 * sqrt(25)
        SelectBlock(page.Grid(), meanRow, 0, meanRow, 0);
        QVERIFY(page.SelectionText().contains(QStringLiteral("7,5")));
        // The sheet shows the numbers with the decimal comma too.
        QCOMPARE(Cell(page, StatisticsRow::Mean, 0)->text(), QStringLiteral("7,5"));
        QCOMPARE(Cell(page, StatisticsRow::OtherError, 0)->text(), QStringLiteral("2,5"));
        QVERIFY(Cell(page, StatisticsRow::Lower95, 0)->text().contains(QLatin1Char(',')));
        QVERIFY(!Cell(page, StatisticsRow::Lower95, 0)->text().contains(QLatin1Char('.')));
    }

    void twoByTwoFieldsAndTotals() {
        Document doc;
        doc.Data().ChangeFormat(DataFormat::TwoByTwo);
        TTwoByTwoEntryPage page(doc);
        page.show();
        page.Prepare();
        auto type = [](QLineEdit* field, const QString& keys) {
            field->clear();
            QTest::keyClicks(field, keys);
            emit field->editingFinished();
        };
        type(page.TitleEdit(), QStringLiteral("Aspirin and infarction"));
        type(page.LabelEdit(0), QStringLiteral("Infarction"));
        type(page.LabelEdit(1), QStringLiteral("No infarction, long label"));
        type(page.LabelEdit(2), QStringLiteral("Aspirin"));
        type(page.LabelEdit(3), QStringLiteral("Placebo"));
        type(page.CountEdit(0), QStringLiteral("12"));
        type(page.CountEdit(1), QStringLiteral("88"));
        // Row 1 is complete (12 + 88); column totals and the grand total wait for row 2.
        QCOMPARE(page.TotalText(0), QStringLiteral("100"));
        QCOMPARE(page.TotalText(2), QString());
        QCOMPARE(page.TotalText(4), QString());
        type(page.CountEdit(2), QStringLiteral("25"));
        type(page.CountEdit(3), QStringLiteral("12345678901"));  // cut to 10 characters
        const TwoByTwoRecord& r = doc.Data().TwoByTwo();
        QCOMPARE(r.d, Extended(1234567890));
        QCOMPARE(r.column2Title, std::string("No infarction, "));  // 15 characters
        QCOMPARE(doc.Table().DataTitle(), std::string("Aspirin and infarction"));
        type(page.CountEdit(3), QStringLiteral("75"));
        // By hand: rows 12 + 88 = 100 and 25 + 75 = 100; columns 12 + 25 = 37 and
        // 88 + 75 = 163; all four 200.
        QCOMPARE(page.TotalText(0), QStringLiteral("100"));
        QCOMPARE(page.TotalText(1), QStringLiteral("100"));
        QCOMPARE(page.TotalText(2), QStringLiteral("37"));
        QCOMPARE(page.TotalText(3), QStringLiteral("163"));
        QCOMPARE(page.TotalText(4), QStringLiteral("200"));
        QVERIFY(doc.Modified());
        test::SaveScreenshot(page, QStringLiteral("two_by_two_page"));
    }

    void longTextsFromAFileStayWhole() {
        Document doc;
        doc.Data().ChangeFormat(DataFormat::TwoByTwo);
        const std::string title(150, 'T');
        const std::string label(40, 'L');
        doc.Table().SetDataTitle(title);
        doc.Data().TwoByTwo().row1Title = label;
        doc.Data().TwoByTwo().a = 123456789012.0L;
        doc.SetModified(false);
        TTwoByTwoEntryPage twoByTwo(doc);
        twoByTwo.Prepare();
        twoByTwo.CommitPendingEdits();
        TStatisticsPage statistics(doc);
        statistics.Prepare();
        statistics.CommitPendingEdits();
        QCOMPARE(doc.Table().DataTitle(), title);
        QCOMPARE(doc.Data().TwoByTwo().row1Title, label);
        QCOMPARE(doc.Data().TwoByTwo().a, 123456789012.0L);
        QVERIFY(!doc.Modified());
        // Once the user changes a field, its text is what the field holds.
        statistics.TitleEdit()->setText(QStringLiteral("Short"));
        statistics.CommitPendingEdits();
        QCOMPARE(doc.Table().DataTitle(), std::string("Short"));
    }
};

ZELKON_GUI_TEST_MAIN(StatisticsPageTest)
#include "statistics_page_test.moc"
