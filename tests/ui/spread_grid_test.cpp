// The data sheet driven as a user drives it: typing into cells and title editors, header
// clicks, the keys of the sheet, the clipboard, exclusion, inserting and deleting cells, the
// questions, the drawing rules and the main window's Edit menu.  Expected values are worked
// out by hand from the sheet's rules.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "app/main_form.h"
#include "data/data_messages.h"
#include "data/sheet_editing.h"
#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui/cell_dialogs.h"
#include "ui/data_grid.h"
#include "ui/spread_grid.h"
#include "ui/spread_grid_model.h"
#include "ui/spread_grid_parts.h"
#include "ui/ui_services.h"
#include "ui_test_support.h"

using namespace zelkon;
using zelkon::test::TestServices;

namespace {

QStringList ClipboardLines() {
    return QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"));
}

}  // namespace

class SpreadGridTest : public QObject {
    Q_OBJECT

    TestServices* services_ = nullptr;
    std::unique_ptr<Document> doc_;
    std::unique_ptr<TDataGridPage> page_;

    TSpreadGrid* Grid() const { return page_->Grid(); }
    DataTable& Table() const { return doc_->Table(); }
    QString Shown(int row, int column) const { return Grid()->Model()->CellText(row, column); }

    /// Stores a value as typing it would (the engine's posting), for the fixtures.
    void Put(int row, int column, const char* text) {
        test::ScriptedPrompts yes;
        yes.defaultAnswer = PromptAnswer::Yes;
        PostTypedValue(*doc_, row, column, text, Separators{}, yes);
    }

    /// Types text into a cell through the keyboard and leaves it with `leave`.
    void Type(int row, int column, const QString& text, Qt::Key leave = Qt::Key_Down) {
        Grid()->SetCurrentCell(row, column);
        QTest::keyClick(Grid(), text.at(0).toLatin1());
        auto* editor = qobject_cast<TSpreadInplaceEdit*>(Grid()->indexWidget(Grid()->currentIndex()));
        QVERIFY(editor != nullptr);
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, leave);
    }

    QPoint ColumnHeaderPoint(int column, bool titleLine) const {
        QHeaderView* header = Grid()->horizontalHeader();
        return {header->sectionViewportPosition(column) + 40, titleLine ? TSpreadGrid::RowHeight + 9 : 9};
    }
    void ClickColumnHeader(int column, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(Grid()->horizontalHeader()->viewport(), Qt::LeftButton, mods,
                          ColumnHeaderPoint(column, false));
    }
    void ClickRowHeader(int row, Qt::KeyboardModifiers mods = {}, bool editStrip = false) {
        QHeaderView* header = Grid()->verticalHeader();
        const int x = editStrip ? header->width() - 4 : 20;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, mods,
                          QPoint(x, header->sectionViewportPosition(row) + 9));
    }

private slots:
    void init() {
        services_ = &test::InstallTestServices();
        doc_ = std::make_unique<Document>();
        page_ = std::make_unique<TDataGridPage>(*doc_);
        page_->resize(820, 520);
        page_->show();
        page_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(page_.get()));
        page_->Prepare();
        Grid()->setFocus();
    }

    void cleanup() {
        page_.reset();
        doc_.reset();
        QGuiApplication::clipboard()->clear();
    }

    void layoutOfTheSheet() {
        TSpreadGridModel* model = Grid()->Model();
        // Two header lines of 18 pixels stand for the headings and the titles.
        QCOMPARE(Grid()->horizontalHeader()->height(), 36);
        QCOMPARE(model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Group C"));
        // Row titles default to the row number counted from 1.
        QCOMPARE(model->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("1"));
        QCOMPARE(model->headerData(999, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("1000"));
        doc_->Data().ChangeFormat(DataFormat::XY);
        page_->Prepare();
        QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("X"));
        QCOMPARE(model->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Y3"));
        // The two-by-two format keeps the headings shown.
        doc_->Data().ChangeFormat(DataFormat::TwoByTwo);
        page_->Prepare();
        QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("X"));
    }

    void typingValuesAndTheCellEditor() {
        QSignalSpy edited(Grid(), &TSpreadGrid::edited);
        // Right leaves the cell for the next column, Left for the one before.
        Type(0, 0, QStringLiteral("12.5"), Qt::Key_Right);
        QCOMPARE(Table().Value(0, 0), Extended(12.5L));
        QCOMPARE(Grid()->CurrentDataColumn(), 1);
        QCOMPARE(Shown(0, 0), QStringLiteral("12.5"));
        QVERIFY(doc_->Modified());
        QCOMPARE(edited.count(), 1);
        Type(0, 1, QStringLiteral("-3e2"), Qt::Key_Left);
        QCOMPARE(Table().Value(0, 1), Extended(-300));
        QCOMPARE(Grid()->CurrentDataColumn(), 0);

        // Letters neither open the editor nor enter it.
        Grid()->SetCurrentCell(1, 0);
        QTest::keyClick(Grid(), 'x');
        QVERIFY(Grid()->indexWidget(Grid()->currentIndex()) == nullptr);
        QTest::keyClick(Grid(), '7');
        auto* editor = qobject_cast<QLineEdit*>(Grid()->indexWidget(Grid()->currentIndex()));
        QVERIFY(editor != nullptr);
        QTest::keyClicks(editor, QStringLiteral("a b,5"));
        QCOMPARE(editor->text(), QStringLiteral("7,5"));
        // Fourteen characters at most, unless text is selected.
        QTest::keyClicks(editor, QStringLiteral("12345678901234"));
        QCOMPARE(editor->text().size(), 14);
        QCOMPARE(editor->text(), QStringLiteral("7,512345678901"));
        editor->selectAll();
        QTest::keyClick(editor, '9');
        QCOMPARE(editor->text(), QStringLiteral("9"));
        QTest::keyClick(editor, Qt::Key_Down);
        QCOMPARE(Table().Value(1, 0), Extended(9));
        QCOMPARE(Grid()->CurrentDataRow(), 2);

        // Opening a value shows every digit of it, even when the column shows it rounded, and
        // leaving it untouched keeps the value.
        Put(4, 0, "3.74");
        Table().SetDisplayFormat(0, 1);
        Grid()->SetCurrentCell(4, 0);
        QTest::keyClick(Grid(), Qt::Key_F2);
        QVERIFY(Grid()->indexWidget(Grid()->currentIndex()) != nullptr);
        QCOMPARE(qobject_cast<QLineEdit*>(Grid()->indexWidget(Grid()->currentIndex()))->text(), QStringLiteral("3.74"));
        page_->CommitPendingEdits();
        QCOMPARE(Table().Value(4, 0), Extended(3.74L));
    }

    // As in every spreadsheet: Enter posts the value and moves down, Tab moves right.
    void enterMovesDownAndTabRight() {
        Grid()->SetCurrentCell(0, 0);
        for (const char* value : {"1", "2", "3.5", "4", "5"}) {
            QTest::keyClick(Grid(), value[0]);
            auto* editor = qobject_cast<TSpreadInplaceEdit*>(Grid()->indexWidget(Grid()->currentIndex()));
            QVERIFY(editor != nullptr);
            QTest::keyClicks(editor, QString::fromLatin1(value + 1));
            QTest::keyClick(editor, Qt::Key_Return);
        }
        for (int row = 0; row < 5; ++row) QVERIFY(!Table().IsMissing(row, 0));
        QCOMPARE(Table().Value(2, 0), Extended(3.5L));
        QCOMPARE(Table().Value(4, 0), Extended(5));
        QCOMPARE(Grid()->CurrentDataRow(), 5);
        QVERIFY(Grid()->hasFocus());
        Type(5, 0, QStringLiteral("6"), Qt::Key_Tab);
        QCOMPARE(Table().Value(5, 0), Extended(6));
        QCOMPARE(Grid()->CurrentDataColumn(), 1);
        QCOMPARE(Grid()->CurrentDataRow(), 5);
        Type(5, 1, QStringLiteral("7"), Qt::Key_Enter);
        QCOMPARE(Grid()->CurrentDataRow(), 6);
        // Enter without an open editor moves down too; Shift+Enter up.
        QTest::keyClick(Grid(), Qt::Key_Return);
        QCOMPARE(Grid()->CurrentDataRow(), 7);
        QTest::keyClick(Grid(), Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(Grid()->CurrentDataRow(), 6);
        QVERIFY(Grid()->indexWidget(Grid()->currentIndex()) == nullptr);
    }

    // Under a decimal comma the sheet shows, edits and reads numbers with the comma; files and
    // the engine keep ".".
    void numbersWithTheUsersDecimalSeparator() {
        Services().separators = Separators{',', ';'};
        Type(0, 0, QStringLiteral("1,5"), Qt::Key_Down);
        QCOMPARE(Table().Value(0, 0), Extended(1.5L));
        Put(1, 0, "2.125");
        Grid()->RefreshAll();
        QCOMPARE(Shown(0, 0), QStringLiteral("1,500"));
        QCOMPARE(Shown(1, 0), QStringLiteral("2,125"));
        TSpreadGridModel* model = Grid()->Model();
        QCOMPARE(model->data(model->index(0, 0), Qt::EditRole).toString(), QStringLiteral("1,5"));
        QCOMPARE(model->data(model->index(0, 0), Qt::ToolTipRole).toString(), QStringLiteral("1,5"));
        Put(2, 0, "12345678");
        QCOMPARE(Shown(2, 0), QStringLiteral(" 1,234568E+07"));
        Services().separators = Separators{};
        QCOMPARE(Shown(0, 0), QStringLiteral("1.500"));
    }

    // A value wider than its cell keeps its leading digits: exp(10) = 22026.465794806718 with
    // 8 decimals is "22026.46579481", which a 90-pixel column cannot hold; the full value is
    // in the tooltip and the editor.
    void narrowCellsKeepTheirLeadingDigits() {
        Table().SetValue(0, 0, 22026.465794806718L);
        Table().SetDecimals(0, 8);
        Table().SetNoRawData(0, false);
        Table().SetValue(1, 0, 1234567.1L);  // a reopened column of 18 decimals
        Table().SetDecimals(0, 8);
        Grid()->RefreshAll();
        TSpreadGridModel* model = Grid()->Model();
        QCOMPARE(Shown(0, 0), QStringLiteral("22026.46579481"));
        const QFontMetrics metrics(QFont(QStringLiteral("Arial"), 9));
        const int width = Grid()->columnWidth(0) - 6;  // 2 pixels left, 4 right
        const auto fits = [&](const QString& t) { return metrics.horizontalAdvance(t) <= width; };
        for (int row : {0, 1}) {
            const QString full = Shown(row, 0);
            const QString drawn = model->FittedCellText(row, 0, fits);
            QVERIFY2(fits(drawn), qPrintable(drawn));
            if (fits(full)) {
                QCOMPARE(drawn, full);
            } else {
                // Never digits hidden on the left: the text begins as the value does.
                QVERIFY2(drawn.endsWith(QStringLiteral("..")) || drawn.contains(QLatin1Char('E')), qPrintable(drawn));
                QVERIFY2(drawn.startsWith(full.left(5)) || drawn.startsWith(full.left(1) + QLatin1Char('.')),
                         qPrintable(drawn));
            }
        }
        QCOMPARE(model->data(model->index(0, 0), Qt::ToolTipRole).toString(), QStringLiteral("22026.4657948067"));
        Table().SetDecimals(0, 18);
        QCOMPARE(Shown(1, 0), QStringLiteral("1234567.100000000000000000"));
        // The editor opens with the whole value although it is longer than can be typed.
        Grid()->SetCurrentCell(0, 0);
        QTest::keyClick(Grid(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(Grid()->indexWidget(Grid()->currentIndex()));
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->text(), QStringLiteral("22026.4657948067"));
        QTest::keyClick(editor, Qt::Key_Escape);
        // What the sheet draws: the fitted text, never one cut on the left.
        QVERIFY(!Grid()->viewport()->grab().isNull());
        test::SaveScreenshot(*page_, QStringLiteral("step2_narrow_cell"));
    }

    void decimalsGrowWithTypedValues() {
        Type(0, 0, QStringLiteral("1.5"));
        Type(1, 0, QStringLiteral("2"));
        QCOMPARE(Shown(1, 0), QStringLiteral("2.0"));
        QSignalSpy changed(Grid()->Model(), &QAbstractItemModel::dataChanged);
        Type(2, 0, QStringLiteral("12.345"));
        // 12.345 has three decimals: the column's places go from 1 to 3, and the whole column
        // is shown anew.
        QCOMPARE(Table().Decimals(0), 3);
        QCOMPARE(Shown(0, 0), QStringLiteral("1.500"));
        QCOMPARE(Shown(1, 0), QStringLiteral("2.000"));
        QCOMPARE(Shown(2, 0), QStringLiteral("12.345"));
        bool wholeColumn = false;
        for (const QList<QVariant>& args : changed) {
            const auto top = args.at(0).value<QModelIndex>();
            const auto bottom = args.at(1).value<QModelIndex>();
            wholeColumn = wholeColumn || (top.row() == 0 && bottom.row() == 999 && top.column() == 0);
        }
        QVERIFY(wholeColumn);
        // Fewer decimals change nothing.
        Type(3, 0, QStringLiteral("4.2"));
        QCOMPARE(Table().Decimals(0), 3);
        QCOMPARE(Shown(3, 0), QStringLiteral("4.200"));
    }

    void titlesAndTheirQuestions() {
        // Up on the first data row opens the column title editor.
        Grid()->SetCurrentCell(0, 1);
        QTest::keyClick(Grid(), Qt::Key_Up);
        QLineEdit* title = Grid()->OpenTitleEditor();
        QVERIFY(title != nullptr);
        QTest::keyClicks(title, QStringLiteral("Control"));
        QTest::keyClick(title, Qt::Key_Return);
        QVERIFY(Grid()->OpenTitleEditor() == nullptr);
        QCOMPARE(Table().Record(1).title, std::string("Control"));
        QCOMPARE(Grid()->Model()->headerData(1, Qt::Horizontal, TSpreadGridModel::TitleRole).toString(),
                 QStringLiteral("Control"));
        // Column titles hold 80 characters; a double click on the title line edits.
        QTest::mouseDClick(Grid()->horizontalHeader()->viewport(), Qt::LeftButton, {}, ColumnHeaderPoint(2, true));
        title = Grid()->OpenTitleEditor();
        QVERIFY(title != nullptr);
        QTest::keyClicks(title, QString(90, QLatin1Char('t')));
        page_->CommitPendingEdits();
        QCOMPARE(Table().Record(2).title, std::string(80, 't'));

        // Row titles: a click on the last 14 pixels of the title opens the editor; 10 characters.
        ClickRowHeader(4, {}, true);
        title = Grid()->OpenTitleEditor();
        QVERIFY(title != nullptr);
        QCOMPARE(title->text(), QStringLiteral("5"));
        title->selectAll();
        QTest::keyClicks(title, QStringLiteral("Mouse 12345"));
        QTest::keyClick(title, Qt::Key_Return);
        QCOMPARE(Table().RowTitle(4), std::string("Mouse 1234"));

        // A number as a column title: Yes moves it into the first data row.
        services_->prompts.answers = {PromptAnswer::Yes};
        Grid()->EditColumnTitle(3);
        QTest::keyClicks(Grid()->OpenTitleEditor(), QStringLiteral("7.5"));
        QTest::keyClick(Grid()->OpenTitleEditor(), Qt::Key_Down);
        QCOMPARE(services_->prompts.asked.size(), std::size_t{1});
        QCOMPARE(services_->prompts.asked[0], std::string(NumberTitleQuestionText));
        QCOMPARE(Table().Value(0, 3), Extended(7.5L));
        QCOMPARE(Table().Record(3).title, std::string());
        QCOMPARE(Shown(0, 3), QStringLiteral("7.5"));
        QCOMPARE(Grid()->CurrentDataRow(), 0);
        QCOMPARE(Grid()->CurrentDataColumn(), 3);
        // No keeps the title and stops the question for the rest of the run.
        services_->prompts.Clear();
        Grid()->SetGridColumnTitle(4, QStringLiteral("12"));
        QCOMPARE(Table().Record(4).title, std::string("12"));
        Grid()->SetGridColumnTitle(5, QStringLiteral("13"));
        QCOMPARE(services_->prompts.asked.size(), std::size_t{1});
        QCOMPARE(Table().Record(5).title, std::string("13"));
    }

    void averagedDataQuestion() {
        ColumnRecord& d = Table().Record(3);
        d.n = 5;
        d.mean = 3;
        d.sd = 1;
        services_->prompts.answers = {PromptAnswer::No};
        Type(0, 3, QStringLiteral("4"));
        QVERIFY(Table().IsMissing(0, 3));
        QCOMPARE(services_->prompts.asked.size(), std::size_t{1});
        QCOMPARE(services_->prompts.asked[0],
                 std::string("Column D contains data entered as mean and error. You cannot enter raw data "
                             "without erasing the mean data. Erase mean data?"));
        QVERIFY(Grid()->Model()->data(Grid()->Model()->index(5, 3), TSpreadGridModel::AveragedRole).toBool());
        services_->prompts.answers = {PromptAnswer::Yes};
        Type(0, 3, QStringLiteral("4"));
        QCOMPARE(Table().Value(0, 3), Extended(4));
        QVERIFY(IsMissingValue(d.mean));
        QVERIFY(!Table().NoRawData(3));
        QVERIFY(!Grid()->Model()->data(Grid()->Model()->index(5, 3), TSpreadGridModel::AveragedRole).toBool());

        // A paste into an averaged column asks once; No pastes nothing.
        ColumnRecord& e = Table().Record(4);
        e.n = 4;
        e.mean = 2;
        services_->prompts.Clear();
        services_->prompts.answers = {PromptAnswer::No};
        QGuiApplication::clipboard()->setText(QStringLiteral("1\r\n2"));
        Grid()->SetCurrentCell(0, 4);
        QTest::keyClick(Grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(services_->prompts.asked.size(), std::size_t{1});
        QVERIFY(Table().IsMissing(0, 4));
        QCOMPARE(e.mean, Extended(2));
    }

    void headerClicksSelect() {
        ClickColumnHeader(1);
        QVERIFY(Grid()->IsWholeColumnsSelected());
        Selection s = Grid()->EngineSelection();
        QCOMPARE(s.left, 1);
        QCOMPARE(s.right, 1);
        QCOMPARE(s.bottom, 999);
        // Shift extends from the anchor column, on either side.
        ClickColumnHeader(3, Qt::ShiftModifier);
        s = Grid()->EngineSelection();
        QCOMPARE(s.kind, SelectionKind::WholeColumns);
        QCOMPARE(s.left, 1);
        QCOMPARE(s.right, 3);
        ClickColumnHeader(0, Qt::ShiftModifier);
        s = Grid()->EngineSelection();
        QCOMPARE(s.left, 0);
        QCOMPARE(s.right, 1);

        ClickRowHeader(2);
        ClickRowHeader(5, Qt::ShiftModifier);
        s = Grid()->EngineSelection();
        QCOMPARE(s.kind, SelectionKind::WholeRows);
        QCOMPARE(s.top, 2);
        QCOMPARE(s.bottom, 5);
        QCOMPARE(s.right, 25);

        auto* corner = Grid()->findChild<QAbstractButton*>();
        QVERIFY(corner != nullptr);
        corner->click();
        QVERIFY(Grid()->IsAllSelected());

        // A click on a cell makes a plain block again; Ctrl+Space widens it to its column.
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                          Grid()->visualRect(Grid()->Model()->index(3, 2)).center());
        QCOMPARE(Grid()->EngineSelection().kind, SelectionKind::Block);
        QCOMPARE(Grid()->CurrentDataRow(), 3);
        QTest::keyClick(Grid(), Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(Grid()->IsWholeColumnsSelected());
        QCOMPARE(Grid()->EngineSelection().left, 2);
    }

    void copyingToTheClipboard() {
        const char* a[] = {"1", "2", "3", "4", "5"};
        const char* b[] = {"10", "20", "30", "40", "50"};
        const char* c[] = {"1.5", "2.5", "3.5", "4.5", "5.5"};
        for (int r = 0; r < 5; ++r) {
            Put(r, 0, a[r]);
            Put(r, 1, b[r]);
            Put(r, 2, c[r]);
        }
        Table().Record(0).title = "Dose";
        Table().Record(1).title = "Weight ";
        Grid()->RefreshAll();

        // Rows 1 to 100 of A-C selected: the copy stops at the last row holding data.
        Grid()->SelectBlock(0, 0, 99, 2);
        QTest::keyClick(Grid(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(ClipboardLines(),
                 QStringList({"1\t10\t1.5", "2\t20\t2.5", "3\t30\t3.5", "4\t40\t4.5", "5\t50\t5.5"}));
        QVERIFY(services_->prompts.asked.empty());

        // Whole columns ask about their titles (trimmed); Ctrl+Insert copies too.
        ClickColumnHeader(0);
        ClickColumnHeader(1, Qt::ShiftModifier);
        services_->prompts.answers = {PromptAnswer::Yes};
        QTest::keyClick(Grid(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(services_->prompts.asked, std::vector<std::string>{"Include column titles?"});
        QCOMPARE(ClipboardLines().first(), QStringLiteral("Dose\tWeight"));
        QCOMPARE(ClipboardLines().size(), 6);

        // Whole rows ask about the row titles.
        Table().SetRowTitle(1, "Rat");
        ClickRowHeader(1);
        services_->prompts.Clear();
        services_->prompts.answers = {PromptAnswer::Yes};
        Grid()->CopyToClipboard();
        QCOMPARE(services_->prompts.asked, std::vector<std::string>{"Include row titles?"});
        // Every column of the row goes along, the empty ones as empty fields.
        QCOMPARE(ClipboardLines(), QStringList({QStringLiteral("Rat\t2\t20\t2.5") + QString(23, QLatin1Char('\t'))}));

        // Everything: the "Copy to clipboard" dialog chooses the titles.
        services_->onDialog = [](QDialog& dialog) {
            auto* form = qobject_cast<TIncludeTitlesForm*>(&dialog);
            if (form == nullptr || dialog.windowTitle() != QStringLiteral("Copy to clipboard")) return int(QDialog::Rejected);
            form->RowTitlesCheck()->setChecked(true);
            form->ColumnTitlesCheck()->setChecked(true);
            return int(QDialog::Accepted);
        };
        Grid()->SelectAll();
        Grid()->CopyToClipboard();
        QCOMPARE(services_->dialogsRun, 1);
        const QStringList lines = ClipboardLines();
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[0].startsWith(QStringLiteral("\tDose\tWeight\t\t")));
        QCOMPARE(lines[0].count(QLatin1Char('\t')), 26);
        QVERIFY(lines[2].startsWith(QStringLiteral("Rat\t2\t20\t2.5\t")));

        // With a title editor open, Copy and Cut take its text.
        Grid()->EditColumnTitle(0);
        Grid()->OpenTitleEditor()->selectAll();
        Grid()->CopyToClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Dose"));
        page_->CommitPendingEdits();

        // Cut copies the block and then empties it.
        Grid()->SelectBlock(0, 2, 1, 2);
        QTest::keyClick(Grid(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1.5\r\n2.5"));
        QVERIFY(Table().IsMissing(0, 2));
        QVERIFY(Table().IsMissing(1, 2));
        QCOMPARE(Table().Value(2, 2), Extended(3.5L));
    }

    void pastingFromTheClipboard() {
        auto paste = [&](int row, int column, const char* text, bool transpose = false) {
            QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
            Grid()->SetCurrentCell(row, column);
            if (transpose) {
                Grid()->PasteFromClipboard(true);
            } else {
                QTest::keyClick(Grid(), Qt::Key_Insert, Qt::ShiftModifier);
            }
        };
        // "," ends fields as TAB does.
        paste(0, 4, "1,5,2");
        QCOMPARE(Table().Value(0, 4), Extended(1));
        QCOMPARE(Table().Value(0, 5), Extended(5));
        QCOMPARE(Table().Value(0, 6), Extended(2));
        // With "," as the decimal separator the same text is 1.5 and 2.
        Services().separators = Separators{',', ';'};
        paste(1, 4, "1,5;2");
        QCOMPARE(Table().Value(1, 4), Extended(1.5L));
        QCOMPARE(Table().Value(1, 5), Extended(2));
        QVERIFY(Table().IsMissing(1, 6));
        QCOMPARE(Shown(0, 4), QStringLiteral("1,0"));  // shown with the user's separator
        Services().separators = Separators{};
        // "#N/A" is an empty cell.
        paste(0, 4, "#N/A");
        QVERIFY(Table().IsMissing(0, 4));

        // Transpose: three lines of two fields fill two rows of three columns.
        paste(0, 7, "1\t2\r\n3\t4\r\n5\t6", true);
        QCOMPARE(Table().Value(0, 7), Extended(1));
        QCOMPARE(Table().Value(1, 7), Extended(2));
        QCOMPARE(Table().Value(0, 8), Extended(3));
        QCOMPARE(Table().Value(1, 9), Extended(6));
        QVERIFY(Table().IsMissing(2, 7));
        QVERIFY(Table().IsMissing(0, 10));

        // Past Z the extra fields of each line are dropped; past the last row the paste stops.
        paste(10, 24, "1\t2\t3\r\n4\t5\t6");
        QCOMPARE(Table().Value(10, 24), Extended(1));
        QCOMPARE(Table().Value(10, 25), Extended(2));
        QCOMPARE(Table().Value(11, 24), Extended(4));
        QCOMPARE(Table().Value(11, 25), Extended(5));
        paste(998, 0, "7\r\n8\r\n9");
        QCOMPARE(Table().Value(998, 0), Extended(7));
        QCOMPARE(Table().Value(999, 0), Extended(8));
        QVERIFY(Table().IsMissing(1000, 0));

        // Digits past the 14th character are dropped, not rounded; the decimals follow.
        paste(20, 0, "0.123456789012345");
        QCOMPARE(Shown(20, 0), QStringLiteral("0.123456789012"));

        // A copy with titles pasted onto whole columns restores titles and values.
        Table().Record(11).title = "Left";
        Table().Record(12).title = "Right";
        paste(0, 11, "1.25\t3\r\n\t4\r\n7\t");
        ClickColumnHeader(11);
        ClickColumnHeader(12, Qt::ShiftModifier);
        services_->prompts.answers = {PromptAnswer::Yes};
        Grid()->CopyToClipboard();
        ClickColumnHeader(14);
        ClickColumnHeader(15, Qt::ShiftModifier);
        Grid()->PasteFromClipboard(false);
        QCOMPARE(Table().Record(14).title, std::string("Left"));
        QCOMPARE(Table().Record(15).title, std::string("Right"));
        for (int r = 0; r < 4; ++r) {
            QCOMPARE(Table().Value(r, 14), Table().Value(r, 11));
            QCOMPARE(Table().Value(r, 15), Table().Value(r, 12));
        }
        QCOMPARE(Shown(0, 14), QStringLiteral("1.25"));
    }

    void excludingAndClearing() {
        Put(0, 0, "1");
        Put(1, 0, "2");
        Put(2, 0, "3");
        Grid()->RefreshAll();
        Grid()->SetCurrentCell(1, 0);
        QTest::keyClick(Grid(), Qt::Key_E, Qt::ControlModifier);
        QVERIFY(Table().IsExcluded(1, 0));
        QVERIFY(Grid()->Model()->data(Grid()->Model()->index(1, 0), TSpreadGridModel::ExcludedRole).toBool());
        // One excluded value in the block: Ctrl+E includes every value of it.
        Grid()->SelectBlock(0, 0, 3, 0);
        QTest::keyClick(Grid(), Qt::Key_E, Qt::ControlModifier);
        for (int r = 0; r < 3; ++r) QVERIFY(!Table().IsExcluded(r, 0));
        // None excluded: all are excluded, the empty cell stays as it is.
        QTest::keyClick(Grid(), Qt::Key_E, Qt::ControlModifier);
        for (int r = 0; r < 3; ++r) QVERIFY(Table().IsExcluded(r, 0));
        QVERIFY(!Table().IsExcluded(3, 0));
        // Del empties the selection and the marks with it.
        Grid()->SetCurrentCell(1, 0);
        QTest::keyClick(Grid(), Qt::Key_Delete);
        QVERIFY(Table().IsMissing(1, 0));
        QVERIFY(!Table().IsExcluded(1, 0));
        QCOMPARE(Table().Value(2, 0), Extended(3));
        // A contingency table cannot exclude; the pop-up menu shows the item disabled.
        doc_->Data().ChangeFormat(DataFormat::LargerTable);
        Grid()->SetCurrentCell(0, 0);
        QTest::keyClick(Grid(), Qt::Key_E, Qt::ControlModifier);
        QVERIFY(Table().IsExcluded(0, 0));
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(20, 20), Grid()->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(Grid()->viewport(), &menuEvent);
        QAction* exclude = nullptr;
        for (QAction* action : Grid()->PopupMenu()->actions()) {
            if (action->objectName() == QStringLiteral("PopupExcludeItem")) exclude = action;
        }
        QVERIFY(exclude != nullptr && !exclude->isEnabled());
        Grid()->PopupMenu()->hide();
        // Everything selected and Del: the whole table is emptied.
        Grid()->SelectAll();
        QTest::keyClick(Grid(), Qt::Key_Delete);
        QVERIFY(!Table().HasData());
    }

    void insertingAndDeletingCells() {
        for (int r = 0; r < 5; ++r) {
            Put(r, 0, QByteArray::number(r + 1).constData());
            Put(r, 1, QByteArray::number(10 * (r + 1)).constData());
            Put(r, 2, QByteArray::number(100 * (r + 1)).constData());
        }
        Table().Record(2).title = "Third";
        Grid()->RefreshAll();
        ShiftMode chosen = ShiftMode::ShiftCells;
        QString caption;
        QString hint;
        bool startsWithShift = true;
        services_->onDialog = [&](QDialog& dialog) {
            caption = dialog.windowTitle();
            auto* form = dynamic_cast<TShiftForm*>(&dialog);
            if (form == nullptr) return int(QDialog::Rejected);
            startsWithShift = startsWithShift && form->Mode() == ShiftMode::ShiftCells;
            const auto* label = dialog.findChild<QLabel*>(QStringLiteral("HintLabel"));
            hint = label != nullptr ? label->text() : QString();
            form->SetMode(chosen);
            return int(QDialog::Accepted);
        };

        // A block of A2:A3: the dialog asks; shifting cells down moves A only.
        Grid()->SelectBlock(1, 0, 2, 0);
        Grid()->InsertCells();
        QCOMPARE(caption, QStringLiteral("Insert "));
        QCOMPARE(hint, QString());
        QCOMPARE(Table().Value(0, 0), Extended(1));
        QVERIFY(Table().IsMissing(1, 0));
        QVERIFY(Table().IsMissing(2, 0));
        QCOMPARE(Table().Value(3, 0), Extended(2));
        QCOMPARE(Table().Value(6, 0), Extended(5));
        QCOMPARE(Table().Value(1, 1), Extended(20));
        Grid()->DeleteCells();
        QCOMPARE(caption, QStringLiteral("Delete"));
        QCOMPARE(hint, ToQt(DeleteDialogHint));
        QCOMPARE(Table().Value(1, 0), Extended(2));
        QVERIFY(Table().IsMissing(5, 0));
        QVERIFY(startsWithShift);

        // The dialog's entire-rows mode on a block: every column moves.
        chosen = ShiftMode::EntireRows;
        Grid()->SelectBlock(0, 1, 0, 1);
        Grid()->InsertCells();
        QVERIFY(Table().IsMissing(0, 0));
        QCOMPARE(Table().Value(1, 0), Extended(1));
        QCOMPARE(Table().Value(1, 2), Extended(100));
        // Whole rows selected: no dialog.
        const int dialogs = services_->dialogsRun;
        ClickRowHeader(0);
        Grid()->DeleteCells();
        QCOMPARE(services_->dialogsRun, dialogs);
        QCOMPARE(Table().Value(0, 0), Extended(1));
        QCOMPARE(Table().Value(0, 2), Extended(100));

        // Whole column B deleted: C moves into B with its title; no dialog.
        ClickColumnHeader(1);
        Grid()->DeleteCells();
        QCOMPARE(services_->dialogsRun, dialogs);
        QCOMPARE(Table().Value(0, 1), Extended(100));
        QCOMPARE(Table().Record(1).title, std::string("Third"));
        QCOMPARE(Grid()->Model()->headerData(1, Qt::Horizontal, TSpreadGridModel::TitleRole).toString(),
                 QStringLiteral("Third"));
        QVERIFY(!Table().ColumnHasValue(2));
        // Cancel in the dialog changes nothing.
        services_->onDialog = {};
        Grid()->SelectBlock(0, 0, 0, 0);
        Grid()->DeleteCells();
        QCOMPARE(Table().Value(0, 0), Extended(1));
    }

    void drawingTheCells() {
        Put(0, 0, "12345");
        Put(1, 0, "12345");
        Table().SetExcluded(0, 0, true);
        ColumnRecord& f = Table().Record(5);
        f.n = 4;
        f.mean = 2;
        f.sd = 1;
        Grid()->RefreshAll();
        Grid()->SetCurrentCell(3, 3);
        const QImage image = Grid()->viewport()->grab().toImage();
        auto hasColour = [&](const QModelIndex& index, auto test) {
            const QRect rect = Grid()->visualRect(index);
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    if (test(image.pixelColor(x, y))) return true;
                }
            }
            return false;
        };
        auto blue = [](const QColor& c) { return c.blue() > 200 && c.red() < 90 && c.green() < 90; };
        TSpreadGridModel* model = Grid()->Model();
        QVERIFY(hasColour(model->index(0, 0), blue));
        QVERIFY(!hasColour(model->index(1, 0), blue));
        // Text sits at the right: nothing is drawn in the left half of the cell.
        const QRect textCell = Grid()->visualRect(model->index(1, 0));
        const QColor base = Grid()->palette().color(QPalette::Base);
        for (int x = textCell.left() + 2; x < textCell.center().x(); ++x) {
            QCOMPARE(image.pixelColor(x, textCell.center().y()), base);
        }
        // Averaged-data columns on the button face.
        const QRect averaged = Grid()->visualRect(model->index(2, 5));
        QCOMPARE(image.pixelColor(averaged.center()), Grid()->palette().color(QPalette::Button));
        // A frame two pixels wide round the current cell.
        const QRect current = Grid()->visualRect(model->index(3, 3));
        const QColor text = Grid()->palette().color(QPalette::Text);
        QCOMPARE(image.pixelColor(current.left() + 1, current.center().y()), text);
        // Some values, an excluded one and an averaged column, for the screenshots.
        Put(2, 0, "15.5");
        Put(0, 1, "3.25");
        Put(1, 1, "4");
        Table().Record(0).title = "Control";
        Table().Record(1).title = "Treated";
        Grid()->RefreshAll();
        test::SaveScreenshot(*page_, QStringLiteral("step2_data_sheet"));
        TInsertForm insert;
        insert.adjustSize();
        test::SaveScreenshot(insert, QStringLiteral("step2_insert_cells_dialog"));
        TDeleteForm remove;
        remove.adjustSize();
        test::SaveScreenshot(remove, QStringLiteral("step2_delete_cells_dialog"));
        TIncludeTitlesForm titles;
        titles.adjustSize();
        test::SaveScreenshot(titles, QStringLiteral("step2_copy_titles_dialog"));
    }

    void popupMenuAndStepKeys() {
        QStringList texts;
        for (QAction* action : Grid()->PopupMenu()->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        QCOMPARE(texts, QStringList({"&Cut", "&Copy", "&Paste", "Transpose P&aste", "-", "Select All",
                                     "Select C&olumn", "Select &Row", "-", "&Delete cells...",
                                     "&Insert cells...", "-", "&Transform", "&Number Format", "&Exclude"}));
        QSignalSpy transform(Grid(), &TSpreadGrid::transformRequested);
        QSignalSpy format(Grid(), &TSpreadGrid::numberFormatRequested);
        Grid()->PopupMenu()->actions().at(12)->trigger();
        Grid()->PopupMenu()->actions().at(13)->trigger();
        QCOMPARE(transform.count(), 1);
        QCOMPARE(format.count(), 1);
        // Transpose Paste from the menu.
        QGuiApplication::clipboard()->setText(QStringLiteral("1\t2"));
        Grid()->SetCurrentCell(0, 0);
        Grid()->PopupMenu()->actions().at(3)->trigger();
        QCOMPARE(Table().Value(1, 0), Extended(2));

        // F10 and F9 on the sheet move between the steps of the document.
        TAnalysisForm form;
        form.show();
        QVERIFY(form.ShowStep(Step::DataTable));
        TSpreadGrid* grid = form.DataGridPage()->Grid();
        QTest::keyClick(grid, Qt::Key_F10);
        QCOMPARE(form.CurrentStep(), Step::SummaryStats);
        QVERIFY(form.ShowStep(Step::DataTable));
        QTest::keyClick(grid, Qt::Key_F9);
        QCOMPARE(form.CurrentStep(), Step::Start);
    }

    void editMenuReachesTheSheet() {
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* form = main.NewDocument();
        QVERIFY(form->ShowStep(Step::DataTable));
        TSpreadGrid* grid = form->DataSheet();
        QVERIFY(grid != nullptr);
        DataTable& table = form->Doc().Table();
        auto trigger = [&](const char* name) {
            QAction* action = main.Action(QString::fromLatin1(name));
            QVERIFY2(action != nullptr && action->isEnabled(), name);
            action->trigger();
        };
        grid->SetCellValue(0, 0, 4);
        grid->SetCellValue(1, 0, 6);
        grid->SelectBlock(0, 0, 1, 0);
        trigger("EditCopyItem");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("4\r\n6"));
        grid->SetCurrentCell(0, 1);
        trigger("EditPasteItem");
        QCOMPARE(table.Value(1, 1), Extended(6));
        trigger("EditTransposePasteItem");
        QCOMPARE(table.Value(0, 2), Extended(6));
        trigger("DataExcludeItem");
        QVERIFY(table.IsExcluded(0, 1));
        trigger("EditClearItem");
        QVERIFY(table.IsMissing(0, 1));
        trigger("EditSelectColumnItem");
        QVERIFY(grid->IsWholeColumnsSelected());
        trigger("EditInsertCellsItem");
        QCOMPARE(table.Value(1, 2), Extended(6));
        QVERIFY(!table.ColumnHasValue(1));
        trigger("EditDeleteCellsItem");
        QCOMPARE(table.Value(0, 2), Extended(6));
        grid->SetCurrentCell(0, 0);
        trigger("EditSelectRowItem");
        QVERIFY(grid->IsWholeRowsSelected());
        trigger("EditSelectAllItem");
        services_->onDialog = [](QDialog&) { return int(QDialog::Accepted); };
        QVERIFY(grid->IsAllSelected());
        trigger("EditCutItem");
        QVERIFY(!table.HasData());
        QVERIFY(form->Doc().Modified());
    }

    void fullSheetStaysQuick() {
        // 1000 rows of 26 values: pasted, drawn at the bottom, copied.
        QString text;
        for (int r = 0; r < 1000; ++r) {
            for (int c = 0; c < 26; ++c) {
                if (c > 0) text += QLatin1Char('\t');
                text += QString::number(r * 26 + c) + QStringLiteral(".25");
            }
            text += QStringLiteral("\r\n");
        }
        QGuiApplication::clipboard()->setText(text);
        Grid()->SetCurrentCell(0, 0);
        QElapsedTimer timer;
        timer.start();
        Grid()->PasteFromClipboard(false);
        Grid()->scrollToBottom();
        Grid()->viewport()->grab();
        const qint64 pasteAndDraw = timer.elapsed();
        QCOMPARE(Table().Value(999, 25), Extended(25999.25L));
        QCOMPARE(Shown(999, 25), QStringLiteral("25999.25"));
        // Generous bound: a view that built a widget per cell would take far longer.
        QVERIFY2(pasteAndDraw < 5000, qPrintable(QString::number(pasteAndDraw)));

        // Every value of the table is more than 65000 bytes of text: cut short, with the message.
        services_->onDialog = [](QDialog& dialog) {
            auto* form = qobject_cast<TIncludeTitlesForm*>(&dialog);
            form->RowTitlesCheck()->setChecked(false);
            form->ColumnTitlesCheck()->setChecked(false);
            return int(QDialog::Accepted);
        };
        Grid()->SelectAll();
        Grid()->CopyToClipboard();
        QCOMPARE(services_->prompts.told, std::vector<std::string>{std::string(ClipboardTooLargeMessage)});
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied.size() < 65000);
        QVERIFY(copied.startsWith(QStringLiteral("0.25\t1.25\t")));
    }

    void integerField() {
        TZLIntEdit field(1, 10);
        field.setText(QStringLiteral("abc"));
        QVERIFY(!field.Validate());
        field.setText(QStringLiteral("11"));
        QVERIFY(!field.Validate());
        field.setText(QStringLiteral("7"));
        QVERIFY(field.Validate());
        QCOMPARE(field.Value(), std::int64_t{7});
        QCOMPARE(services_->prompts.told,
                 (std::vector<std::string>{"The number is not valid.", "The number is out of range."}));
    }
};

ZELKON_GUI_TEST_MAIN(SpreadGridTest)
#include "spread_grid_test.moc"
