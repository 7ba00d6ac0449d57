// The Data menu's dialogs driven as the user drives them: the transform list with its K field
// and the question about values a transform cannot take, Combine Variables with its checks,
// and Number Format with its target and the fixed or automatic decimals; then the same
// commands from a document window's data sheet.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

#include "core/grid_number.h"
#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui/data_forms.h"
#include "ui/data_grid.h"
#include "ui/spread_grid.h"
#include "ui/spread_grid_model.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

/// Presses the dialog's OK button and returns the dialog's result.
int PressOk(QDialog& dialog) {
    auto* box = dialog.findChild<QDialogButtonBox*>();
    box->button(QDialogButtonBox::Ok)->click();
    return dialog.result();
}

/// Shows the dialog (so that its layout is done) and saves it as a screenshot.
void Shoot(QDialog& dialog, const QString& name) {
    dialog.show();
    QApplication::processEvents();
    test::SaveScreenshot(dialog, name);
}

/// Chooses the transform with this entry text and types K (when given).
std::function<int(QDialog&)> ChooseTransform(const QString& entry, const QString& k = {}) {
    return [entry, k](QDialog& dialog) {
        auto& form = static_cast<TTransformForm&>(dialog);
        form.TransformComboBox()->setCurrentIndex(form.TransformComboBox()->findText(entry));
        if (!k.isNull()) {
            form.KField()->clear();
            QTest::keyClicks(form.KField(), k);
        }
        return PressOk(dialog);
    };
}

std::vector<Extended> ColumnValues(const Document& doc, int column, int rows) {
    std::vector<Extended> values;
    for (int r = 0; r < rows; ++r) values.push_back(doc.Table().Value(r, column));
    return values;
}

}  // namespace

class DataFormsTest : public QObject {
    Q_OBJECT
    test::TestServices* services_ = nullptr;

private slots:
    void init() { services_ = &test::InstallTestServices(); }

    void transformDialogOpensOnKTimesY() {
        TTransformForm form;
        QComboBox* list = form.TransformComboBox();
        QCOMPARE(list->count(), 17);
        QCOMPARE(list->itemText(0), QStringLiteral("Y=Y squared"));
        QCOMPARE(list->itemText(16), QStringLiteral("Y=Y/K"));
        QCOMPARE(list->currentText(), QStringLiteral("Y=K*Y"));
        QCOMPARE(form.KField()->text(), QStringLiteral("1"));
        QVERIFY(!form.KField()->isHidden());
        QCOMPARE(form.KLabel()->text(), QStringLiteral("K = "));
        QCOMPARE(form.HintLabel()->text(),
                 QStringLiteral("Zelkon will transform the selected cells. If nothing is selected, then "
                                "Zelkon will transform just the current cell. Please note that there is no "
                                "\"undo\" feature. If you want to get the original data back, you'll have to "
                                "read them from disk or perform an inverse transformation."));
        Shoot(form, QStringLiteral("transform_dialog"));
        // Choosing an entry shows or hides K and puts its default in.
        list->setCurrentIndex(list->findText(QStringLiteral("Y=Log(Y)")));
        QVERIFY(form.KField()->isHidden());
        QVERIFY(form.KLabel()->isHidden());
        list->setCurrentIndex(list->findText(QStringLiteral("Y=Y+K")));
        QVERIFY(!form.KField()->isHidden());
        QCOMPARE(form.KField()->text(), QStringLiteral("0"));
        list->setCurrentIndex(list->findText(QStringLiteral("Y=LOGIT(Y)")));
        QCOMPARE(form.KField()->text(), QStringLiteral("1"));
        // A K that is not a number keeps the dialog open.
        form.KField()->clear();
        QVERIFY(!form.TryAccept());
        QCOMPARE(services_->prompts.told.back(), std::string("The number is not valid."));
        QCOMPARE(form.result(), int(QDialog::Rejected));
    }

    void transformsAskAboutImpossibleValues() {
        Document doc;
        test::TypeColumn(doc, 0, {0, 10, -1});
        doc.SetModified(false);
        const Selection block = Selection::Block(0, 0, 2, 0);
        const std::string question =
            "The transformation you have selected is mathematically impossible with 2 of the "
            "values. These values will be erased. Continue?";

        // No leaves the data as they were.
        services_->onDialog = ChooseTransform(QStringLiteral("Y=Log(Y)"));
        services_->prompts.answers = {PromptAnswer::No};
        QVERIFY(!RunTransformCommand(doc, block, nullptr));
        QCOMPARE(services_->prompts.asked.size(), std::size_t(1));
        QCOMPARE(services_->prompts.asked[0], question);
        QCOMPARE(ColumnValues(doc, 0, 3), (std::vector<Extended>{0, 10, -1}));
        QVERIFY(!doc.Modified());

        // Yes: log10(10) = 1, the logarithms of 0 and -1 are erased.
        services_->prompts.answers = {PromptAnswer::Yes};
        QVERIFY(RunTransformCommand(doc, block, nullptr));
        QCOMPARE(services_->prompts.asked.size(), std::size_t(2));
        QVERIFY(IsMissingValue(doc.Table().Value(0, 0)));
        QCOMPARE(doc.Table().Value(1, 0), Extended(1));
        QVERIFY(IsMissingValue(doc.Table().Value(2, 0)));
        QVERIFY(doc.Modified());

        // Y/K with K = 0 cannot take any value: the question names both.
        Document divided;
        test::TypeColumn(divided, 1, {2, MissingValue, 4});
        services_->prompts.Clear();
        services_->prompts.answers = {PromptAnswer::Yes};
        services_->onDialog = ChooseTransform(QStringLiteral("Y=Y/K"), QStringLiteral("0"));
        QVERIFY(RunTransformCommand(divided, Selection::Block(0, 1, 2, 1), nullptr));
        QCOMPARE(services_->prompts.asked.size(), std::size_t(1));
        QCOMPARE(services_->prompts.asked[0], question);
        QCOMPARE(divided.Table().LastRow(), 0);
        for (int r = 0; r < 3; ++r) QVERIFY(IsMissingValue(divided.Table().Value(r, 1)));

        // Cancel changes nothing and asks nothing.
        services_->prompts.Clear();
        services_->onDialog = [](QDialog&) { return int(QDialog::Rejected); };
        QVERIFY(!RunTransformCommand(doc, block, nullptr));
        QVERIFY(services_->prompts.asked.empty());
    }

    void transformFamiliesGiveTheirValues_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("k");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("expected");  // NaN: the value is erased
        const double erased = std::nan("");
        // By hand: 3^2 = 9; ln(e^2) = 2; 10^-1 = 0.1; e^0 = 1; 1/4 = 0.25; sqrt(2.25) = 1.5;
        // logit(0.5) = ln(0.5/0.5) = 0; sin(0) = 0; cos(0) = 1; tan(0) = 0; arcsin(1) = pi/2;
        // |-7| = 7; 2.5 * 4 = 10; 4 + 2.5 = 6.5; 4 - 2.5 = 1.5; 5 / 2 = 2.5.
        QTest::newRow("square") << "Y=Y squared" << QString() << 3.0 << 9.0;
        QTest::newRow("ln") << "Y=Ln(Y)" << QString() << std::exp(2.0) << 2.0;
        QTest::newRow("ten to") << "Y=10^Y" << QString() << -1.0 << 0.1;
        QTest::newRow("exp") << "Y=exp(Y)" << QString() << 0.0 << 1.0;
        QTest::newRow("reciprocal") << "Y=1/Y" << QString() << 4.0 << 0.25;
        QTest::newRow("reciprocal of 0") << "Y=1/Y" << QString() << 0.0 << erased;
        QTest::newRow("root") << "Y=SQRT(Y)" << QString() << 2.25 << 1.5;
        QTest::newRow("root of negative") << "Y=SQRT(Y)" << QString() << -4.0 << erased;
        QTest::newRow("logit") << "Y=LOGIT(Y)" << "1" << 0.5 << 0.0;
        QTest::newRow("logit of 1") << "Y=LOGIT(Y)" << "1" << 1.0 << erased;
        QTest::newRow("sin") << "Y=sin(Y)" << QString() << 0.0 << 0.0;
        QTest::newRow("cos") << "Y=cos(Y)" << QString() << 0.0 << 1.0;
        QTest::newRow("tan") << "Y=tan(Y)" << QString() << 0.0 << 0.0;
        QTest::newRow("arcsin") << "Y=arcsin(Y)" << QString() << 1.0 << 1.5707963267948966;
        QTest::newRow("arcsin past 1") << "Y=arcsin(Y)" << QString() << 1.5 << erased;
        QTest::newRow("abs") << "Y=abs(Y)" << QString() << -7.0 << 7.0;
        QTest::newRow("times K") << "Y=K*Y" << "2.5" << 4.0 << 10.0;
        QTest::newRow("plus K") << "Y=Y+K" << "2.5" << 4.0 << 6.5;
        QTest::newRow("minus K") << "Y=Y-K" << "2.5" << 4.0 << 1.5;
        QTest::newRow("over K") << "Y=Y/K" << "2" << 5.0 << 2.5;
    }

    void transformFamiliesGiveTheirValues() {
        QFETCH(QString, entry);
        QFETCH(QString, k);
        QFETCH(double, y);
        QFETCH(double, expected);
        Document doc;
        test::TypeColumn(doc, 2, {Extended(y)});
        services_->prompts.defaultAnswer = PromptAnswer::Yes;
        services_->onDialog = ChooseTransform(entry, k);
        QVERIFY(RunTransformCommand(doc, Selection::Cell(0, 2), nullptr));
        const Extended result = doc.Table().Value(0, 2);
        if (std::isnan(expected)) {
            QVERIFY(IsMissingValue(result));
            QCOMPARE(services_->prompts.asked.size(), std::size_t(1));
        } else {
            // Relative tolerance 1e-12 (the results are exact or one rounding away).
            QVERIFY2(std::fabs(static_cast<double>(result) - expected) <= 1e-12 * std::max(1.0, std::fabs(expected)),
                     qPrintable(QString::number(static_cast<double>(result), 'g', 17)));
            QVERIFY(services_->prompts.asked.empty());
        }
    }

    void combineFillsTheFirstEmptyColumn() {
        Document doc;
        test::TypeColumn(doc, 0, {5, 7, 9});
        test::TypeColumn(doc, 1, {1, 2, MissingValue});
        doc.Table().Record(1).title = "Base";
        services_->onDialog = [](QDialog& dialog) {
            auto& form = static_cast<TCombineVarForm&>(dialog);
            if (form.TargetLabel()->text() != QStringLiteral("Create a new variable for column C")) return 0;
            if (form.FirstColumnComboBox()->count() != 2) return 0;
            if (!form.SecondColumnComboBox()->itemText(1).startsWith(QLatin1Char('B'))) return 0;
            if (!form.OperationButton(CombineOperation::Minus)->isChecked()) return 0;
            if (form.OperationButton(CombineOperation::Plus)->text() != QStringLiteral("&Plus")) return 0;
            Shoot(dialog, QStringLiteral("combine_variables_dialog"));
            return PressOk(dialog);
        };
        // The current column A holds values, so the new column is C.
        const std::optional<int> filled = RunCombineCommand(doc, 0, nullptr);
        QCOMPARE(services_->dialogsRun, 1);
        QVERIFY(filled.has_value());
        QCOMPARE(*filled, 2);
        // 5 - 1 = 4, 7 - 2 = 5, row 3 lacks B.
        QCOMPARE(doc.Table().Value(0, 2), Extended(4));
        QCOMPARE(doc.Table().Value(1, 2), Extended(5));
        QVERIFY(IsMissingValue(doc.Table().Value(2, 2)));
        QCOMPARE(doc.Table().Record(2).title, std::string("A-B"));
        QVERIFY(doc.Modified());

        // B divided by A into the empty current column E: 1/5, 2/7.
        services_->onDialog = [](QDialog& dialog) {
            auto& form = static_cast<TCombineVarForm&>(dialog);
            form.FirstColumnComboBox()->setCurrentIndex(1);
            form.SecondColumnComboBox()->setCurrentIndex(0);
            form.OperationButton(CombineOperation::DividedBy)->click();
            return PressOk(dialog);
        };
        QCOMPARE(RunCombineCommand(doc, 4, nullptr), std::optional<int>(4));
        QCOMPARE(doc.Table().Value(0, 4), Extended(1) / 5);
        QCOMPARE(doc.Table().Record(4).title, std::string("B/A"));
    }

    void combineTellsWhyItCannotStart() {
        Document empty;
        QVERIFY(!RunCombineCommand(empty, 0, nullptr));
        QCOMPARE(services_->prompts.told, std::vector<std::string>{"You must enter data first."});
        Document full;
        for (int c = 0; c < DataColumns; ++c) test::TypeColumn(full, c, {Extended(c)});
        QVERIFY(!RunCombineCommand(full, 3, nullptr));
        QCOMPARE(services_->prompts.told.back(),
                 std::string("There must be an empty column in order to combine columns."));
        QCOMPARE(services_->dialogsRun, 0);
    }

    void numberFormatFixesAndFreesDecimals() {
        Document doc;
        test::TypeColumn(doc, 0, {1.5, 2.25});
        test::TypeColumn(doc, 1, {3});
        test::TypeColumn(doc, 2, {1.126});
        QString label;
        services_->onDialog = [&label](QDialog& dialog) {
            auto& form = static_cast<TNumberFormatForm&>(dialog);
            label = form.TargetLabel()->text();
            if (!form.AutoRadioButton()->isChecked()) return 0;
            // Typing a number chooses the fixed option.
            form.NumDecField()->selectAll();
            QTest::keyClicks(form.NumDecField(), QStringLiteral("2"));
            if (!form.FixedRadioButton()->isChecked()) return 0;
            Shoot(dialog, QStringLiteral("number_format_dialog"));
            return PressOk(dialog);
        };
        const Selection columnsAToC = Selection::Block(0, 0, 1, 2);
        QCOMPARE(RunNumberFormatCommand(doc, columnsAToC, nullptr), (std::vector<int>{0, 1, 2}));
        QCOMPARE(label, QStringLiteral("For columns A-C:"));
        for (int c = 0; c < 3; ++c) QCOMPARE(doc.Table().DisplayFormat(c), 2);
        QCOMPARE(QString::fromStdString(FormatGridNumber(doc.Table().Value(0, 1), ShownDecimals(doc.Table(), 1))),
                 QStringLiteral("3.00"));
        QCOMPARE(QString::fromStdString(FormatGridNumber(doc.Table().Value(0, 2), ShownDecimals(doc.Table(), 2))),
                 QStringLiteral("1.13"));

        // The dialog opens on the shared fixed format; automatic gives each column the
        // decimals its values need: 2.25 two, 3 none, 1.126 three.
        services_->onDialog = [](QDialog& dialog) {
            auto& form = static_cast<TNumberFormatForm&>(dialog);
            if (!form.FixedRadioButton()->isChecked() || form.NumDecField()->text() != QStringLiteral("2")) return 0;
            form.AutoRadioButton()->click();
            return PressOk(dialog);
        };
        QCOMPARE(RunNumberFormatCommand(doc, columnsAToC, nullptr).size(), std::size_t(3));
        QCOMPARE(ShownDecimals(doc.Table(), 0), 2);
        QCOMPARE(ShownDecimals(doc.Table(), 1), 0);
        QCOMPARE(ShownDecimals(doc.Table(), 2), 3);
        for (int c = 0; c < 3; ++c) QVERIFY(doc.Table().IsAutomaticFormat(c));

        // The target names everything, or the current column.
        services_->onDialog = [&label](QDialog& dialog) {
            label = static_cast<TNumberFormatForm&>(dialog).TargetLabel()->text();
            return int(QDialog::Rejected);
        };
        QVERIFY(RunNumberFormatCommand(doc, Selection::All(), nullptr).empty());
        QCOMPARE(label, QStringLiteral("For columns A-Z:"));
        RunNumberFormatCommand(doc, Selection::Cell(4, 3), nullptr);
        QCOMPARE(label, QStringLiteral("For column D:"));
    }

    void numberFormatRefusesBadDecimals() {
        TNumberFormatForm form("For column A:", NumberFormatChoice{}, 0);
        form.NumDecField()->clear();
        QTest::keyClicks(form.NumDecField(), QStringLiteral("-1x"));
        QCOMPARE(form.NumDecField()->text(), QStringLiteral("1"));
        form.NumDecField()->setText(QString());
        form.FixedRadioButton()->setChecked(true);
        QVERIFY(!form.TryAccept());
        QCOMPARE(services_->prompts.told.back(), std::string("The number is not valid."));
        form.NumDecField()->setText(QStringLiteral("15"));
        QVERIFY(!form.TryAccept());
        QCOMPARE(services_->prompts.told.back(), std::string("The number is out of range."));
        form.NumDecField()->setText(QStringLiteral("14"));
        QVERIFY(form.TryAccept());
        QCOMPARE(form.Choice().decimals, 14);
        QVERIFY(!form.Choice().automatic);
    }

    void commandsWorkOnTheDataSheet() {
        TAnalysisForm form;
        QSignalSpy modified(&form, &TAnalysisForm::modified);
        // Outside step 2 the commands do nothing.
        form.TransformCommand();
        form.NumberFormatCommand();
        QCOMPARE(services_->dialogsRun, 0);
        QVERIFY(form.ShowStep(Step::DataTable));
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        TSpreadGrid* sheet = form.DataGridPage()->Grid();
        // After every data dialog the sheet has the keyboard, wherever a dialog or message
        // left it.
        QLineEdit* elsewhere = form.DataGridPage()->TitleEdit();
        sheet->SetCellValue(0, 0, 4);
        sheet->SetCellValue(1, 0, 9);
        sheet->SetCellValue(2, 0, -1);
        sheet->SelectBlock(0, 0, 2, 0);
        modified.clear();

        // The sheet's pop-up "&Transform": square roots 2, 3 and the root of -1 erased.
        QAction* transform = nullptr;
        for (QAction* action : sheet->PopupMenu()->actions()) {
            if (action->text() == QStringLiteral("&Transform")) transform = action;
        }
        QVERIFY(transform != nullptr);
        services_->onDialog = ChooseTransform(QStringLiteral("Y=SQRT(Y)"));
        services_->prompts.answers = {PromptAnswer::Yes};
        elsewhere->setFocus();
        transform->trigger();
        QVERIFY(sheet->hasFocus());
        QCOMPARE(services_->prompts.asked.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(services_->prompts.asked[0]).contains(QStringLiteral(" with 1 of the values. ")));
        QCOMPARE(sheet->Model()->CellText(0, 0), QStringLiteral("2"));
        QCOMPARE(sheet->Model()->CellText(1, 0), QStringLiteral("3"));
        QCOMPARE(sheet->Model()->CellText(2, 0), QString());
        QCOMPARE(modified.count(), 1);

        // Combine Variables from the current cell in A: the new column B holds A times A.
        sheet->SetCurrentCell(0, 0);
        services_->onDialog = [](QDialog& dialog) {
            static_cast<TCombineVarForm&>(dialog).OperationButton(CombineOperation::Times)->click();
            return PressOk(dialog);
        };
        elsewhere->setFocus();
        form.CombineCommand();
        QVERIFY(sheet->hasFocus());
        QCOMPARE(form.Doc().Table().Record(1).title, std::string("A*A"));
        QCOMPARE(sheet->Model()->CellText(1, 1), QStringLiteral("9"));
        QCOMPARE(sheet->Model()->CellText(2, 1), QString());

        // Number Format on the block A1:B2 shows three decimals in both columns.
        sheet->SelectBlock(0, 0, 1, 1);
        services_->onDialog = [](QDialog& dialog) {
            auto& numberForm = static_cast<TNumberFormatForm&>(dialog);
            if (numberForm.TargetLabel()->text() != QStringLiteral("For columns A-B:")) return 0;
            numberForm.NumDecField()->selectAll();
            QTest::keyClicks(numberForm.NumDecField(), QStringLiteral("3"));
            return PressOk(dialog);
        };
        elsewhere->setFocus();
        form.NumberFormatCommand();
        QVERIFY(sheet->hasFocus());
        QCOMPARE(sheet->Model()->CellText(0, 0), QStringLiteral("2.000"));
        QCOMPARE(sheet->Model()->CellText(0, 1), QStringLiteral("4.000"));
        QCOMPARE(modified.count(), 3);
    }
};

ZELKON_GUI_TEST_MAIN(DataFormsTest)
#include "data_forms_test.moc"
