// The graph page of step 6: which switches each data format shows, each switch stored in the
// document and the graph drawn again, the regression results the graph needs, the double
// click message and the picture on the clipboard.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <string>

#include "document/data_file.h"
#include "document/document.h"
#include "output/graph_model.h"
#include "ui/analysis_form.h"
#include "ui/graph_page.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

bool LoadExample(TAnalysisForm& form, const char* name) {
    const std::string path = std::string(ZELKON_SOURCE_DIR "/examples/") + name;
    if (LoadDataFile(form.Doc(), path, DetectDataFormat(path)) != 0) return false;
    form.Doc().SetModified(false);
    form.RebuildPages();
    return true;
}

bool Shown(QWidget* w, TGraphPage* page) { return w->isVisibleTo(page); }

}  // namespace

class GraphPageTest : public QObject {
    Q_OBJECT
private slots:
    void init() { services_ = &test::InstallTestServices(); }

    void columnDataSwitchesBetweenSDAndSEM() {
        TAnalysisForm form;
        form.resize(900, 650);
        // R: sd(c(2, 4, 9)) = 3.6055513, / sqrt(3) = 2.0816660; sd(c(5, 6, 7)) = 1
        test::TypeColumn(form.Doc(), 0, {2, 4, 9});
        test::TypeColumn(form.Doc(), 1, {5, 6, 7});
        form.Doc().SetModified(false);
        form.show();
        QVERIFY(form.ShowStep(Step::Graph));
        TGraphPage* page = form.GraphPage();
        QVERIFY(Shown(page->SDButton(), page) && Shown(page->SEMButton(), page));
        QVERIFY(!Shown(page->RowsButton(), page) && !Shown(page->XComboBox(), page));
        QVERIFY(!Shown(page->AnalyzedDataOnlyCheckBox(), page));
        QVERIFY(page->SDButton()->isChecked());
        const GraphModel* m = &page->Chart()->Model();
        QCOMPARE(QString::fromStdString(m->subtitle), QStringLiteral("Mean and Standard Deviation"));
        QCOMPARE(int(m->barSeries.at(0).bars.size()), 2);
        QVERIFY(std::abs(m->barSeries[0].bars[0].error - 3.6055513) < 1e-6);

        QSignalSpy modified(&form, &TAnalysisForm::modified);
        QTest::mouseClick(page->SEMButton(), Qt::LeftButton);
        m = &page->Chart()->Model();
        QCOMPARE(QString::fromStdString(m->subtitle), QStringLiteral("Mean and Standard Error"));
        QVERIFY(std::abs(m->barSeries[0].bars[0].error - 2.0816660) < 1e-6);
        QVERIFY(!form.Doc().Data().ErrorIsSD());
        QVERIFY(page->SEMButton()->isChecked() && !page->SDButton()->isChecked());
        QCOMPARE(modified.count(), 1);
        test::SaveScreenshot(form, QStringLiteral("graph_page_columns"));
    }

    void contingencyGraphSwitchesToRows() {
        TAnalysisForm form;
        QVERIFY(LoadExample(form, "wound_infection_2x2.ZLD"));
        form.show();
        QVERIFY(form.ShowStep(Step::Graph));
        TGraphPage* page = form.GraphPage();
        QVERIFY(Shown(page->ColumnsButton(), page) && Shown(page->RowsButton(), page));
        QVERIFY(!Shown(page->SDButton(), page));
        QVERIFY(page->ColumnsButton()->isChecked());
        QCOMPARE(QString::fromStdString(page->Chart()->Model().bottomAxis.title), QStringLiteral("Columns"));
        QTest::mouseClick(page->RowsButton(), Qt::LeftButton);
        const GraphModel& m = page->Chart()->Model();
        QCOMPARE(QString::fromStdString(m.subtitle), QStringLiteral("Row Totals"));
        QCOMPARE(QString::fromStdString(m.bottomAxis.title), QStringLiteral("Rows"));
        QVERIFY(form.Doc().Graph().byRows);
        // Shown again, the page keeps the document's choice.
        form.ShowStep(Step::DataTable);
        form.ShowStep(Step::Graph);
        QVERIFY(page->RowsButton()->isChecked());
    }

    void multipleRegressionListsAndResiduals() {
        TAnalysisForm form;
        form.resize(900, 650);
        QVERIFY(LoadExample(form, "blood_pressure_multiple_regression.ZLD"));
        form.show();
        QVERIFY(form.ShowStep(Step::Graph));
        TGraphPage* page = form.GraphPage();
        QVERIFY(Shown(page->XComboBox(), page) && Shown(page->YComboBox(), page));
        QVERIFY(Shown(page->AnalyzedDataOnlyCheckBox(), page));
        QComboBox* y = page->YComboBox();
        const int residuals = y->findText(QStringLiteral("Residuals"));
        QVERIFY(residuals >= 0);
        QVERIFY(y->findText(QStringLiteral("A: SBP")) >= 0);
        QCOMPARE(y->currentText(), QString::fromStdString(page->Chart()->Model().leftAxis.title));
        y->setCurrentIndex(residuals);
        emit y->activated(residuals);
        const GraphModel& m = page->Chart()->Model();
        QCOMPARE(form.Doc().Graph().yColumn, '*');
        QCOMPARE(QString::fromStdString(m.leftAxis.title), QStringLiteral("Residuals"));
        // Least-squares residuals of a fit with an intercept sum to zero (the page drew them
        // after the fit ran, although step 5 was never shown).
        QVERIFY(m.points.size() >= 10);
        double sum = 0.0, scale = 0.0;
        for (const GraphPoint& p : m.points) {
            sum += p.y;
            scale += std::abs(p.y);
        }
        QVERIFY(std::abs(sum) < 1e-9 * scale);
        QVERIFY(form.Doc().Modified());

        QTest::mouseClick(page->AnalyzedDataOnlyCheckBox(), Qt::LeftButton);
        QVERIFY(form.Doc().Graph().analyzedDataOnly);
        QVERIFY(page->AnalyzedDataOnlyCheckBox()->isChecked());
        test::SaveScreenshot(form, QStringLiteral("graph_page_residuals"));
    }

    void regressionGraphRunsTheAnalysisFirst() {
        TAnalysisForm form;
        QVERIFY(LoadExample(form, "protein_standard_curve_xy.ZLD"));
        QVERIFY(form.Doc().NeedsRecalculation());
        QVERIFY(form.ShowStep(Step::Graph));
        const GraphModel& m = form.GraphPage()->Chart()->Model();
        QVERIFY(m.regressionLine.has_value());
        QCOMPARE(int(m.confidenceLines.size()), 2);
        QVERIFY(!form.Doc().NeedsRecalculation());
    }

    void doubleClickTellsAndCopyGivesAPicture() {
        TAnalysisForm form;
        form.resize(700, 500);
        test::TypeColumn(form.Doc(), 0, {1, 2, 3});
        form.show();
        QVERIFY(form.ShowStep(Step::Graph));
        TGraphChart* chart = form.GraphPage()->Chart();
        QTest::mouseDClick(chart, Qt::LeftButton);
        QCOMPARE(int(services_->prompts.told.size()), 1);
        QVERIFY(services_->prompts.told[0].rfind("It is not possible to customize Zelkon's graphs.", 0) == 0);

        QApplication::clipboard()->clear();
        form.CopyCommand();
        const QImage picture = QApplication::clipboard()->image();
        QCOMPARE(picture.size(), chart->size());
        QVERIFY(picture.pixelColor(picture.width() / 2, 3) == QColor(Qt::white));
    }

private:
    test::TestServices* services_ = nullptr;
};

ZELKON_GUI_TEST_MAIN(GraphPageTest)
#include "graph_page_test.moc"
