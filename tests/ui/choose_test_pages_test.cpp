// The choose-test pages: which page each format and number of columns gets, the captions,
// enabled states and texts that follow the options, the post-test list with its check box,
// control column and pair selection, the "Select Columns" and "Select Pairs" dialogs, and a
// double click on an option showing the results.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "document/choice_texts.h"
#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui/choose_test_page.h"
#include "ui/column_dialogs.h"
#include "ui/column_pages.h"
#include "ui/multi_column_page.h"
#include "ui/start_page.h"
#include "ui/table_choice_pages.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

void ChooseFormat(TAnalysisForm& form, DataFormat format) {
    form.ShowStep(Step::Start);
    form.StartPage()->FamilyButton(FamilyOf(format))->click();
    form.StartPage()->FormatButton(format)->click();
}

/// Columns A.. with data, one value list each.
void FillColumns(Document& doc, int count) {
    for (int c = 0; c < count; ++c) test::TypeColumn(doc, c, {1.0L + c, 2.0L + c, 4.0L + c, 7.0L + c});
}

/// Checks exactly the listed rows of a check list.
void CheckRows(QListWidget* list, std::initializer_list<int> rows) {
    for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(Qt::Unchecked);
    for (int r : rows) list->item(r)->setCheckState(Qt::Checked);
}

}  // namespace

class ChooseTestPagesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { services_ = &test::InstallTestServices(); }

    void formatsGetTheirPages() {
        TAnalysisForm form;
        ChooseFormat(form, DataFormat::XY);
        form.ShowStep(Step::ChooseTest);
        QCOMPARE(form.ChoosePage()->Shown(), ChooseTestPage::Fit);
        ChooseFormat(form, DataFormat::TwoByTwo);
        form.ShowStep(Step::ChooseTest);
        QCOMPARE(form.ChoosePage()->Shown(), ChooseTestPage::TwoByTwo);
        ChooseFormat(form, DataFormat::MultipleRegression);
        form.ShowStep(Step::ChooseTest);
        QCOMPARE(form.ChoosePage()->Shown(), ChooseTestPage::MultipleRegression);
        ChooseFormat(form, DataFormat::Raw);
        form.ShowStep(Step::ChooseTest);  // no data: the multi-column page
        QCOMPARE(form.ChoosePage()->Shown(), ChooseTestPage::ThreeOrMoreColumns);
        QVERIFY(!form.ChoosePage()->ThreeOrMore()->SelectButton()->isEnabled());
    }

    void oneColumnPage() {
        TAnalysisForm form;
        FillColumns(form.Doc(), 1);
        form.ShowStep(Step::ChooseTest);
        TChooseTestPage* choose = form.ChoosePage();
        QCOMPARE(choose->Shown(), ChooseTestPage::OneColumn);
        TOneColumnPage* page = choose->OneColumn();
        QCOMPARE(page->SelectedLabel()->text(), QStringLiteral("Selected: A"));
        QVERIFY(page->TTestButton()->isChecked());
        QVERIFY(page->WilcoxonButton()->isEnabled());
        QCOMPARE(page->ValueButton(0)->text(), QStringLiteral("Hypothetical mean=0.0"));
        QCOMPARE(page->ValueButton(2)->text(), QStringLiteral("Hypothetical mean=100"));
        form.Doc().SetNeedsRecalculation(false);
        page->WilcoxonButton()->click();
        QCOMPARE(form.Doc().Choices().columns.oneColumnNonparametric, std::uint8_t{1});
        QVERIFY(form.Doc().NeedsRecalculation());
        QCOMPARE(page->ValueButton(1)->text(), QStringLiteral("Hypothetical median=1.0"));
        QCOMPARE(page->ValueButton(3)->text(), QStringLiteral("Hypothetical median="));
        page->OneTailButton()->click();
        QCOMPARE(form.Doc().Choices().columns.oneColumnTwoSided, std::uint8_t{0});

        // Typing 100 checks the "100" button; typing 2.5 checks the fourth.
        page->ValueEdit()->setText(QStringLiteral("100"));
        emit page->ValueEdit()->editingFinished();
        QVERIFY(page->ValueButton(2)->isChecked());
        QCOMPARE(form.Doc().Choices().columns.hypotheticalValue, Extended(100));
        page->ValueEdit()->setText(QStringLiteral("2.5"));
        emit page->ValueEdit()->editingFinished();
        QVERIFY(page->ValueButton(3)->isChecked());
        QCOMPARE(form.Doc().Choices().columns.hypotheticalValue, Extended(2.5L));
        page->ValueButton(1)->click();
        QCOMPARE(form.Doc().Choices().columns.hypotheticalValue, Extended(1));
        QCOMPARE(page->ValueEdit()->text(), QStringLiteral("1"));
    }

    void oneColumnPageOfAveragedData() {
        TAnalysisForm form;
        ChooseFormat(form, DataFormat::MeanSDN);
        form.Doc().Choices().columns.oneColumnNonparametric = 1;
        ColumnRecord& a = form.Doc().Table().Record(0);
        a.n = 5;
        a.mean = 3;
        a.sd = 1;
        form.ShowStep(Step::ChooseTest);
        TOneColumnPage* page = form.ChoosePage()->OneColumn();
        QCOMPARE(form.ChoosePage()->Shown(), ChooseTestPage::OneColumn);
        QVERIFY(!page->TTestButton()->isEnabled());
        QVERIFY(!page->WilcoxonButton()->isEnabled());
        QVERIFY(page->TTestButton()->isChecked());
    }

    void twoColumnPage() {
        TAnalysisForm form;
        FillColumns(form.Doc(), 2);
        form.ShowStep(Step::ChooseTest);
        QCOMPARE(form.ChoosePage()->Shown(), ChooseTestPage::TwoColumns);
        TTwoColumnPage* page = form.ChoosePage()->TwoColumns();
        QCOMPARE(page->SelectedLabel()->text(), QStringLiteral("Selected: A&B"));
        QCOMPARE(page->TestLabel()->text(), QStringLiteral("Unpaired t test"));
        QCOMPARE(page->StudentButton()->text(), QStringLiteral("Yes. Also assume the populations have equal SDs."));
        page->WelchButton()->click();
        QCOMPARE(page->TestLabel()->text(), QStringLiteral("Unpaired t test, Welch corrected"));
        // Paired data: the Student caption changes, Welch gives way to Student.
        page->PairedButton()->click();
        QCOMPARE(page->StudentButton()->text(), QStringLiteral("Yes. Perform paired t test."));
        QVERIFY(!page->WelchButton()->isEnabled());
        QVERIFY(page->StudentButton()->isChecked());
        QCOMPARE(page->TestLabel()->text(), QStringLiteral("Paired t test"));
        page->NonparametricButton()->click();
        QCOMPARE(page->TestLabel()->text(), QStringLiteral("Wilcoxon matched pairs test"));
        page->UnpairedButton()->click();
        QCOMPARE(page->TestLabel()->text(), QStringLiteral("Mann-Whitney test"));
        page->OneTailButton()->click();
        QCOMPARE(form.Doc().Choices().columns.twoColumnTwoSided, std::uint8_t{0});
    }

    void twoColumnPageWithAnAveragedColumn() {
        TAnalysisForm form;
        FillColumns(form.Doc(), 1);
        ColumnRecord& b = form.Doc().Table().Record(1);
        b.n = 6;
        b.mean = 4;
        b.sd = 1;
        form.Doc().Choices().columns.unpaired = 0;  // a paired choice is replaced by unpaired
        form.ShowStep(Step::ChooseTest);
        TTwoColumnPage* page = form.ChoosePage()->TwoColumns();
        QCOMPARE(form.ChoosePage()->Shown(), ChooseTestPage::TwoColumns);
        QVERIFY(page->UnpairedButton()->isChecked());
        QVERIFY(!page->PairedButton()->isEnabled());
        QVERIFY(!page->NonparametricButton()->isEnabled());
        QCOMPARE(form.Doc().Choices().columns.unpaired, std::uint8_t{1});
    }

    void columnDialogSwitchesThePage() {
        TAnalysisForm form;
        FillColumns(form.Doc(), 3);
        form.ShowStep(Step::ChooseTest);
        TChooseTestPage* choose = form.ChoosePage();
        QCOMPARE(choose->Shown(), ChooseTestPage::ThreeOrMoreColumns);
        QCOMPARE(choose->ThreeOrMore()->SelectedLabel()->text(), QStringLiteral("Selected: A-C"));

        // OK with nothing checked keeps the dialog open with its message.
        bool refused = false;
        QString title;
        QStringList entries;
        services_->onDialog = [&](QDialog& dialog) {
            auto* columns = qobject_cast<TSelectColumnsForm*>(&dialog);
            if (columns == nullptr) return int(QDialog::Rejected);
            title = columns->windowTitle();
            for (int i = 0; i < columns->List()->count(); ++i) entries << columns->List()->item(i)->text();
            CheckRows(columns->List(), {});
            refused = !columns->TryAccept();
            CheckRows(columns->List(), {1});
            return columns->TryAccept() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        };
        choose->ThreeOrMore()->SelectButton()->click();
        QCOMPARE(title, QStringLiteral("Select Columns"));
        QCOMPARE(entries, (QStringList{QStringLiteral("A: "), QStringLiteral("B: "), QStringLiteral("C: ")}));
        QVERIFY(refused);
        QCOMPARE(services_->prompts.told.front(), std::string("At least one column must be selected."));
        QVERIFY(!form.Doc().Choices().allColumns);
        // Only B selected: the one-column page.
        QCOMPARE(choose->Shown(), ChooseTestPage::OneColumn);
        QCOMPARE(choose->OneColumn()->SelectedLabel()->text(), QStringLiteral("Selected: B"));
    }

    void newColumnIsTakenWhileAllColumnsIsSet() {
        TAnalysisForm form;
        FillColumns(form.Doc(), 3);
        form.ShowStep(Step::ChooseTest);
        QVERIFY(form.ChoosePage()->ThreeOrMore()->AllColumnsButton()->isChecked());
        test::TypeColumn(form.Doc(), 3, {5, 6});
        form.ShowStep(Step::ChooseTest);
        QCOMPARE(form.ChoosePage()->ThreeOrMore()->SelectedLabel()->text(), QStringLiteral("Selected: A-D"));
        // Deleting column D's data clears the all-columns flag.
        Document& doc = form.Doc();
        doc.Data().EnterRawValue(0, 3, MissingValue, services_->prompts);
        doc.Data().EnterRawValue(1, 3, MissingValue, services_->prompts);
        form.ShowStep(Step::ChooseTest);
        QVERIFY(form.ChoosePage()->ThreeOrMore()->SelectedColumnsButton()->isChecked());
        QCOMPARE(doc.Choices().allColumns, std::uint8_t{0});
    }

    void postTestList() {
        TAnalysisForm form;
        FillColumns(form.Doc(), 3);
        form.Doc().Table().Record(1).title = "Drug";
        form.ShowStep(Step::ChooseTest);
        TThreeOrMoreColumnsPage* page = form.ChoosePage()->ThreeOrMore();
        const ColumnAnalysisChoices& cc = form.Doc().Choices().columns;
        QCOMPARE(page->PostTestBox()->count(), 7);
        QCOMPARE(page->PostTestBox()->currentText(), QStringLiteral("Tukey: Compare all pairs of columns."));
        QVERIFY(page->ContingentBox()->isChecked());
        QCOMPARE(page->TestLabel()->text(), QStringLiteral("One-way ANOVA with post-test"));
        QVERIFY(page->PairsButton()->isHidden());
        QVERIFY(page->ControlBox()->isHidden());

        page->ChooseItem(5);  // Dunnett: the control-column list appears
        QVERIFY(!page->ControlBox()->isHidden());
        QCOMPARE(page->ControlBox()->count(), 3);
        QCOMPARE(page->ControlBox()->itemText(1), QStringLiteral("B: Drug"));
        page->ChooseControl(1);
        QCOMPARE(cc.controlColumn, 1);
        QCOMPARE(cc.pairMode, PairMode::AgainstControl);
        // Nonparametric: the list shows Dunn for all pairs while the record keeps Dunnett.
        page->NonparametricButton()->click();
        QCOMPARE(page->PostTestBox()->count(), 3);
        QCOMPARE(page->PostTestBox()->currentText(), QStringLiteral("Dunn: Compare all pairs of columns."));
        QCOMPARE(cc.postTestKind, PostTestKind::Dunnett);
        QCOMPARE(page->TestLabel()->text(), QStringLiteral("Kruskal-Wallis test with post-test"));
        page->RepeatedButton()->click();
        QCOMPARE(page->TestLabel()->text(), QStringLiteral("Friedman test with post-test"));
        page->ParametricButton()->click();
        page->OrdinaryButton()->click();

        // "(No post test)" clears the check box; a post test chosen afterwards keeps its state.
        page->ChooseItem(0);
        QVERIFY(!page->ContingentBox()->isChecked());
        QCOMPARE(cc.postTestMode, PostTestMode::None);
        QCOMPARE(page->TestLabel()->text(), QStringLiteral("One-way ANOVA without post-test"));
        page->ChooseItem(3);
        QCOMPARE(cc.postTestMode, PostTestMode::Always);
        page->ContingentBox()->click();
        QCOMPARE(cc.postTestMode, PostTestMode::IfSignificant);
        page->ChooseItem(4);
        QCOMPARE(cc.postTestMode, PostTestMode::IfSignificant);
        QCOMPARE(cc.postTestKind, PostTestKind::NewmanKeuls);

        page->ChooseItem(1);  // selected pairs: the pair button appears
        QVERIFY(!page->PairsButton()->isHidden());
        QVERIFY(page->PairsButton()->isEnabled());
    }

    void pairDialog() {
        TAnalysisForm form;
        FillColumns(form.Doc(), 3);
        form.Doc().Table().Record(0).title = "Ctrl";
        form.ShowStep(Step::ChooseTest);
        TThreeOrMoreColumnsPage* page = form.ChoosePage()->ThreeOrMore();
        page->ChooseItem(1);
        bool refused = false;
        QStringList texts;
        services_->onDialog = [&](QDialog& dialog) {
            auto* pairs = qobject_cast<TSelectPairsForm*>(&dialog);
            if (pairs == nullptr) return int(QDialog::Rejected);
            texts << pairs->windowTitle() << pairs->SelectAllButton()->text() << pairs->DeselectAllButton()->text();
            for (int i = 0; i < pairs->List()->count(); ++i) texts << pairs->List()->item(i)->text();
            pairs->DeselectAllButton()->click();
            refused = !pairs->TryAccept();
            pairs->List()->item(2)->setCheckState(Qt::Checked);
            return pairs->TryAccept() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        };
        form.Doc().SetModified(false);
        page->PairsButton()->click();
        QCOMPARE(texts, (QStringList{QStringLiteral("Select Pairs"), QStringLiteral("Select All"),
                                     QStringLiteral("Deselect all"), QStringLiteral("A:Ctrl-B:"),
                                     QStringLiteral("A:Ctrl-C:"), QStringLiteral("B:-C:")}));
        QVERIFY(refused);
        QCOMPARE(services_->prompts.told.front(), std::string("At least one column pair must be selected."));
        const auto& flags = form.Doc().Choices().columns.pairFlags;
        QCOMPARE(flags[0], std::uint8_t{0});
        QCOMPARE(flags[1], std::uint8_t{0});
        QCOMPARE(flags[2], std::uint8_t{1});
        QCOMPARE(flags[3], std::uint8_t{0});  // beyond the listed pairs: cleared
        QVERIFY(form.Doc().Modified());
    }

    void twoByTwoPage() {
        TAnalysisForm form;
        ChooseFormat(form, DataFormat::TwoByTwo);
        form.ShowStep(Step::ChooseTest);
        TTwoByTwoChoicePage* page = form.ChoosePage()->TwoByTwo();
        const TwoByTwoChoices& t = form.Doc().Choices().twoByTwo;
        QVERIFY(page->FisherButton()->isChecked());
        QVERIFY(!page->YatesBox()->isEnabled());
        QCOMPARE(page->McNemarButton()->text(), QStringLiteral("McNemar's test (paired data)"));
        page->ChiSquareButton()->click();
        QCOMPARE(t.test, TwoByTwoTest::ChiSquare);
        QVERIFY(page->YatesBox()->isEnabled());
        page->YatesBox()->click();
        QCOMPARE(t.yates, std::uint8_t{0});
        page->McNemarButton()->click();
        QCOMPARE(t.test, TwoByTwoTest::McNemar);
        QVERIFY(page->YatesBox()->isEnabled());
        page->OneSidedButton()->click();
        QCOMPARE(t.twoSided, std::uint8_t{0});
        page->SensitivityButton()->click();
        QCOMPARE(t.sensitivity, std::uint8_t{1});
        QCOMPARE(t.relativeRisk, std::uint8_t{0});
        QCOMPARE(t.relativeRisk2, std::uint8_t{0});
        QCOMPARE(t.oddsRatio, std::uint8_t{0});
        page->RelativeRiskButton()->click();
        QCOMPARE(t.relativeRisk, std::uint8_t{1});
        QCOMPARE(t.relativeRisk2, std::uint8_t{1});
        QCOMPARE(t.sensitivity, std::uint8_t{0});
    }

    void fitPage() {
        TAnalysisForm form;
        ChooseFormat(form, DataFormat::XY);
        form.show();
        form.ShowStep(Step::ChooseTest);
        TFitPage* page = form.ChoosePage()->Fit();
        const XYChoices& xy = form.Doc().Choices().xy;
        QVERIFY(page->LinearButton()->isChecked());
        page->PearsonButton()->click();
        QCOMPARE(xy.regression, std::uint8_t{0});
        QCOMPARE(xy.correlationKind, CorrelationKind::Pearson);
        QVERIFY(!page->RunsTestButton()->isEnabled());
        QVERIFY(!page->InterpolateBox()->isEnabled());
        // Clicking into a field of the point chooses the forced regression.
        QTest::mouseClick(page->ForceXEdit(), Qt::LeftButton);
        QCOMPARE(xy.forceThroughPoint, std::uint8_t{1});
        QCOMPARE(xy.regression, std::uint8_t{1});
        QVERIFY(page->ForcedButton()->isChecked());
        QVERIFY(page->RunsTestButton()->isEnabled());
        QTest::keyClicks(page->ForceXEdit(), QStringLiteral("2.5"));
        QCOMPARE(xy.ForceX, Extended(2.5L));
        page->SpearmanButton()->click();
        QCOMPARE(xy.correlationKind, CorrelationKind::Spearman);
        page->LinearButton()->click();
        QCOMPARE(xy.forceThroughPoint, std::uint8_t{0});
        page->RunsTestButton()->click();
        QCOMPARE(xy.runsTest, std::uint8_t{1});
        page->InterpolateBox()->click();
        QCOMPARE(xy.interpolate, std::uint8_t{0});
    }

    void multipleRegressionPage() {
        TAnalysisForm form;
        ChooseFormat(form, DataFormat::MultipleRegression);
        FillColumns(form.Doc(), 3);
        form.Doc().Table().Record(0).title = "BP";
        form.ShowStep(Step::ChooseTest);
        TMultipleRegressionPage* page = form.ChoosePage()->MultipleRegression();
        MultipleRegressionChoices& mr = form.Doc().Choices().multipleRegression;
        QCOMPARE(page->VariablesLabel()->text(),
                 QStringLiteral("Check variables you want to test for their effect on the outcome: Select one "
                                "or more independent (X) variables:"));
        QCOMPARE(page->DependentBox()->count(), 3);
        QCOMPARE(page->DependentBox()->currentText(), QStringLiteral("A: BP"));
        QVERIFY(page->DependentBox()->isEnabled());
        QCOMPARE(page->VariablesList()->count(), 2);  // every column but the dependent one
        QCOMPARE(page->VariablesList()->item(0)->text(), QStringLiteral("B: "));
        page->VariablesList()->item(1)->setCheckState(Qt::Checked);
        QCOMPARE(mr.include[2], std::uint8_t{1});
        page->SelectAllButton()->click();
        QCOMPARE(mr.include[1], std::uint8_t{1});
        page->DeselectAllButton()->click();
        QCOMPARE(mr.include[1], std::uint8_t{0});
        QCOMPARE(mr.include[2], std::uint8_t{0});

        page->MatrixButton()->click();
        QCOMPARE(mr.kind, MultipleRegressionKind::CorrelationMatrix);
        QCOMPARE(page->VariablesLabel()->text(), QStringLiteral("Check the variables you want to include:"));
        QVERIFY(!page->DependentBox()->isEnabled());
        QCOMPARE(page->VariablesList()->count(), 3);
    }

    void doubleClickOnAnOptionShowsTheResults() {
        TAnalysisForm form;
        FillColumns(form.Doc(), 2);
        form.show();
        form.ShowStep(Step::ChooseTest);
        QTest::mouseDClick(form.ChoosePage()->TwoColumns()->WelchButton(), Qt::LeftButton);
        QCOMPARE(form.CurrentStep(), Step::Results);

        // A double click inside the "Hypothetical mean=" field selects a word there; only a
        // double click on an option shows the results.
        form.Doc().Table().SetSelected(1, false);
        form.ShowStep(Step::ChooseTest);
        TOneColumnPage* one = form.ChoosePage()->OneColumn();
        QCOMPARE(form.ChoosePage()->Shown(), ChooseTestPage::OneColumn);
        QTest::mouseDClick(one->ValueEdit(), Qt::LeftButton);
        QCOMPARE(form.CurrentStep(), Step::ChooseTest);
        QTest::mouseDClick(one->ValueButton(3), Qt::LeftButton);
        QCOMPARE(form.CurrentStep(), Step::Results);
    }

    // Averaged data can be neither matched by row nor ranked: on the page of three or more
    // columns those answers are disabled and the test shown is the one that runs.
    void threeColumnPageOfAveragedData() {
        TAnalysisForm form;
        ChooseFormat(form, DataFormat::MeanSDN);
        form.Doc().Choices().columns.unmatched = 0;
        form.Doc().Choices().columns.multiColumnNonparametric = 1;
        for (int c = 0; c < 3; ++c) {
            ColumnRecord& r = form.Doc().Table().Record(c);
            r.n = 5;
            r.mean = 3 + c;
            r.sd = 1;
        }
        form.ShowStep(Step::ChooseTest);
        QCOMPARE(form.ChoosePage()->Shown(), ChooseTestPage::ThreeOrMoreColumns);
        TThreeOrMoreColumnsPage* page = form.ChoosePage()->ThreeOrMore();
        QVERIFY(!page->RepeatedButton()->isEnabled());
        QVERIFY(!page->NonparametricButton()->isEnabled());
        QVERIFY(page->OrdinaryButton()->isChecked());
        QVERIFY(page->ParametricButton()->isChecked());
        QCOMPARE(form.Doc().Choices().columns.unmatched, std::uint8_t{1});
        QCOMPARE(form.Doc().Choices().columns.multiColumnNonparametric, std::uint8_t{0});
        // Raw data keep every answer.
        TAnalysisForm raw;
        FillColumns(raw.Doc(), 3);
        raw.ShowStep(Step::ChooseTest);
        QVERIFY(raw.ChoosePage()->ThreeOrMore()->RepeatedButton()->isEnabled());
        QVERIFY(raw.ChoosePage()->ThreeOrMore()->NonparametricButton()->isEnabled());
    }

private:
    test::TestServices* services_ = nullptr;
};

ZELKON_GUI_TEST_MAIN(ChooseTestPagesTest)
#include "choose_test_pages_test.moc"
