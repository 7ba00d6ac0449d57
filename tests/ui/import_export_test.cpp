// The Import and Export commands of the document window: a text file read through the
// "Import" dialog with a column range and a filter, and in the indexed layout; the data
// table exported in the standard and index arrangements (expected bytes built by hand from
// the export rules), the column statistics, the results and the graph.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <cmath>

#include "core/document.h"
#include "ui/analysis_form.h"
#include "ui/data_grid.h"
#include "ui/export_form.h"
#include "ui/import_form.h"
#include "ui/results_page.h"
#include "ui/results_viewer.h"
#include "ui/spread_grid.h"
#include "ui/spread_grid_model.h"
#include "ui/ui_services.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

// The file requests the command made, answered from the test's list of names.
std::vector<FileDialogRequest> g_requests;

test::TestServices& Install() {
    test::TestServices& services = test::InstallTestServices();
    g_requests.clear();
    Services().chooseFile = [&services](QWidget*, const FileDialogRequest& request) {
        g_requests.push_back(request);
        ++services.filesAsked;
        if (services.files.empty()) return QString();
        const QString name = services.files.front();
        services.files.pop_front();
        return name;
    };
    return services;
}

QString WriteFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(test::TestHome()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    file.write(bytes);
    return path;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll();
}

QString Shown(TAnalysisForm& form, int row, int column) {
    TSpreadGridModel* model = form.DataGridPage()->Model();
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
}

// A raw-data sheet titled "Trial": A "Dose" 1.5, 2.25 (two decimals), B untitled 3.
void FillExportSheet(Document& doc) {
    test::TypeColumn(doc, 0, {1.5L, 2.25L});
    test::TypeColumn(doc, 1, {3});
    doc.Table().SetDecimals(0, 2);
    doc.Table().SetDecimals(1, 0);
    doc.Table().Record(0).title = "Dose";
    doc.Table().SetDataTitle("Trial");
}

}  // namespace

class ImportExportTest : public QObject {
    Q_OBJECT
private slots:
    void importColumnRangeWithFilter() {
        test::TestServices& services = Install();
        const QString path = WriteFile(QStringLiteral("weights.csv"),
                                       "Experiment 3\r\nWeight,Height,Age\r\n1.5,10,30\r\n"
                                       "2.25,20,40\r\n3,30,50\r\n4,40,60\r\n");
        TAnalysisForm form;
        QVERIFY(form.ShowStep(Step::DataTable));
        form.DataGridPage()->Grid()->SetCurrentCell(1, 0);

        // A workbook name is refused with the warning before anything is read.
        services.files = {QStringLiteral("/tmp/book.xls")};
        form.ImportCommand();
        QCOMPARE(services.dialogsRun, 0);
        QCOMPARE(services.prompts.told.size(), std::size_t(1));
        QVERIFY(services.prompts.told[0].find("Zelkon cannot open Excel worksheet files.") == 0);
        QVERIFY(services.prompts.told[0].find("Then use File Import to read into Zelkon.") !=
                std::string::npos);
        services.prompts.Clear();

        QString folder = QStringLiteral("/nowhere");
        bool sawNotANumber = false;
        bool defaults = false;
        bool rangeChosen = false;
        QString caption;
        QStringList preview;
        services.files = {path};
        services.onDialog = [&](QDialog& dialog) {
            auto& importForm = dynamic_cast<TImportForm&>(dialog);
            importForm.show();
            test::SaveScreenshot(importForm, QStringLiteral("import_dialog"));
            QTableWidget* grid = importForm.PreviewGrid();
            caption = importForm.windowTitle();
            preview = {QString::number(grid->columnCount()), QString::number(grid->rowCount()),
                       grid->item(1, 0)->text(), grid->horizontalHeaderItem(1)->text()};
            // Defaults: all columns, the fields limited to what the file holds.
            defaults = importForm.AllColsRadioButton()->isChecked() &&
                       importForm.EndColumnField()->maximum() == 3 &&
                       importForm.EndColumnField()->value() == 3 &&
                       importForm.EndRowField()->maximum() == 4 &&
                       importForm.ConditionComboBox()->count() == 6 &&
                       !importForm.RowRangeCheckBox()->isChecked() &&
                       !importForm.FilterRowCheckBox()->isChecked();
            importForm.StartColumnField()->setValue(2);  // choosing a field chooses its option
            importForm.EndColumnField()->setValue(3);
            rangeChosen = importForm.ColRangeRadioButton()->isChecked();
            importForm.FilterRowCheckBox()->setChecked(true);
            importForm.FilterColumnField()->setValue(1);
            importForm.ConditionComboBox()->setCurrentIndex(2);  // ">="
            importForm.FilterValueField()->setText(QStringLiteral("x2"));
            importForm.accept();  // not a number: told, and the dialog stays open
            sawNotANumber = importForm.result() != QDialog::Accepted &&
                            services.prompts.told == std::vector<std::string>{"The number is not valid."};
            importForm.FilterValueField()->setText(QStringLiteral("2"));
            importForm.accept();
            return importForm.result();
        };
        form.ImportCommand(&folder);
        QVERIFY(sawNotANumber);
        QVERIFY(defaults);
        QVERIFY(rangeChosen);
        QCOMPARE(caption, QStringLiteral("Preview of ") + path);
        QCOMPARE(preview.mid(0, 3), (QStringList{"3", "4", "2.25"}));
        QCOMPARE(preview[3], QStringLiteral("2\nHeight"));
        QCOMPARE(services.dialogsRun, 1);
        QCOMPARE(g_requests.back().title, QStringLiteral("Import"));
        QCOMPARE(g_requests.back().folder, QStringLiteral("/nowhere"));
        QCOMPARE(folder, QFileInfo(path).absolutePath());

        // Rows where Weight >= 2, columns Height and Age, placed from row 2 of column A.
        const DataTable& table = form.Doc().Table();
        QCOMPARE(table.Record(0).title, std::string("Height"));
        QCOMPARE(table.Record(1).title, std::string("Age"));
        QVERIFY(table.IsMissing(0, 0));
        const Extended expected[3][2] = {{20, 40}, {30, 50}, {40, 60}};
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(double(table.Value(r + 1, 0)), double(expected[r][0]));
            QCOMPARE(double(table.Value(r + 1, 1)), double(expected[r][1]));
        }
        QVERIFY(table.IsMissing(4, 0));
        QVERIFY(table.IsMissing(1, 2));
        QCOMPARE(Shown(form, 3, 1), QStringLiteral("60"));
        QCOMPARE(form.DataGridPage()->Model()->ColumnTitle(0), QStringLiteral("Height"));
        QVERIFY(form.Doc().Modified());

        // Cancel in the dialog imports nothing.
        services.files = {path};
        services.onDialog = [](QDialog&) { return int(QDialog::Rejected); };
        form.DataGridPage()->Grid()->SetCurrentCell(0, 5);
        form.ImportCommand(&folder);
        QVERIFY(!table.ColumnHasValue(5));
    }

    void indexedImport() {
        test::TestServices& services = Install();
        const QString path = WriteFile(QStringLiteral("groups.txt"), "1,10\r\n2,20\r\n1,30\r\n");
        TAnalysisForm form;
        QVERIFY(form.ShowStep(Step::DataTable));
        test::TypeColumn(form.Doc(), 4, {99});
        bool sameColumnsRefused = false;
        services.files = {path};
        services.onDialog = [&](QDialog& dialog) {
            auto& importForm = dynamic_cast<TImportForm&>(dialog);
            importForm.IndexedColRadioButton()->setChecked(true);
            importForm.ValueColumnField()->setValue(1);
            importForm.GroupAssignmentColField()->setValue(1);
            importForm.accept();
            sameColumnsRefused =
                importForm.result() != QDialog::Accepted &&
                services.prompts.told ==
                    std::vector<std::string>{
                        "The column with values and the column with group assignments must be different."};
            importForm.ValueColumnField()->setValue(2);
            importForm.accept();
            return importForm.result();
        };
        form.ImportCommand();
        QVERIFY(sameColumnsRefused);

        // Groups 1, 2, 1 with values 10, 20, 30: column "1" holds 10 and 30, column "2" 20; the
        // sheet was cleared first.
        const DataTable& table = form.Doc().Table();
        QCOMPARE(table.Record(0).title, std::string("1"));
        QCOMPARE(table.Record(1).title, std::string("2"));
        QCOMPARE(double(table.Value(0, 0)), 10.0);
        QCOMPARE(double(table.Value(1, 0)), 30.0);
        QCOMPARE(double(table.Value(0, 1)), 20.0);
        QVERIFY(table.IsMissing(1, 1));
        QVERIFY(!table.ColumnHasValue(4));
        QCOMPARE(Shown(form, 1, 0), QStringLiteral("30"));
    }

    void exportBothArrangements() {
        test::TestServices& services = Install();
        TAnalysisForm form;
        FillExportSheet(form.Doc());
        QVERIFY(form.ShowStep(Step::DataTable));

        // Standard format to a TXT file: TAB-separated; titles by the separator alone, values by
        // the separator and a blank; an empty cell writes nothing.
        const QString txt = QDir(test::TestHome()).filePath(QStringLiteral("DATA.TXT"));
        services.files = {txt};
        services.onDialog = [](QDialog& dialog) {
            auto& exportForm = dynamic_cast<TExportForm&>(dialog);
            exportForm.show();
            test::SaveScreenshot(exportForm, QStringLiteral("export_dialog"));
            const bool defaults = exportForm.StandardFormatRadioButton()->isChecked() &&
                                  exportForm.TitleCheckBox()->isChecked() &&
                                  exportForm.ColTitlesCheckBox()->isChecked();
            if (!defaults) return int(QDialog::Rejected);
            exportForm.accept();
            return exportForm.result();
        };
        form.ExportCommand();
        QCOMPARE(g_requests.back().title, QStringLiteral("Export"));
        QCOMPARE(g_requests.back().kind, FileDialogRequest::Kind::Save);
        QCOMPARE(ReadFile(txt), QByteArray("Trial\r\nDose\t\r\n1.50\t 3\r\n2.25\t \r\n"));

        // Index format to a CSV file with "," as decimal separator and the default list
        // separator, without the sheet title: one line per cell, column by column.
        Services().separators = Separators{',', ','};
        const QString csv = QDir(test::TestHome()).filePath(QStringLiteral("data.csv"));
        services.files = {csv};
        services.onDialog = [](QDialog& dialog) {
            auto& exportForm = dynamic_cast<TExportForm&>(dialog);
            exportForm.IndexedColRadioButton()->setChecked(true);
            exportForm.TitleCheckBox()->setChecked(false);
            exportForm.accept();
            return exportForm.result();
        };
        form.ExportCommand();
        QCOMPARE(g_requests.back().fileName, txt);  // the last name is offered again
        QCOMPARE(ReadFile(csv), QByteArray("value,group\r\n1,50,1\r\n2,25,1\r\n3,2\r\n,2\r\n"));

        // Standard format with decimal commas: values separated by ", ".
        services.files = {csv};
        services.onDialog = [](QDialog& dialog) {
            dialog.accept();
            return dialog.result();
        };
        form.ExportCommand();
        QCOMPARE(ReadFile(csv), QByteArray("Trial\r\nDose,\r\n1,50, 3\r\n2,25, \r\n"));

        // Cancel of the options writes nothing; a folder that does not exist gives "Error: #".
        const QString cancelled = QDir(test::TestHome()).filePath(QStringLiteral("none.csv"));
        services.files = {cancelled};
        services.onDialog = [](QDialog&) { return int(QDialog::Rejected); };
        form.ExportCommand();
        QVERIFY(!QFile::exists(cancelled));
        services.files = {QDir(test::TestHome()).filePath(QStringLiteral("missing/x.csv"))};
        services.onDialog = [](QDialog& dialog) {
            dialog.accept();
            return dialog.result();
        };
        form.ExportCommand();
        QCOMPARE(services.prompts.told.size(), std::size_t(1));
        QVERIFY(services.prompts.told[0].rfind("Error: #3  ", 0) == 0);
    }

    void exportStatisticsResultsAndGraph() {
        test::TestServices& services = Install();
        TAnalysisForm form;
        test::TypeColumn(form.Doc(), 0, {1, 2, 3});
        test::TypeColumn(form.Doc(), 1, {10, 20});
        QVERIFY(form.ShowStep(Step::SummaryStats));
        const QString stats = QDir(test::TestHome()).filePath(QStringLiteral("STATS.TXT"));
        services.files = {stats};
        form.ExportCommand();
        QCOMPARE(services.dialogsRun, 0);  // no options for the statistics
        const QList<QByteArray> lines = ReadFile(stats).split('\n');
        QCOMPARE(lines.size(), 10);  // nine lines, each ending in CR LF
        // Mean, N, SD, SEM, median, lower and upper 95% limits, minimum, maximum of 1, 2, 3 and
        // of 10, 20; comma-separated even in a TXT file, 10 decimals.  SD of 10, 20 is
        // sqrt(50), SEM 1/sqrt(3) and 5; the limits are mean -/+ qt(0.975, df) * SEM
        // (R: 2 -/+ qt(0.975,2)/sqrt(3) = -0.48413771175, 4.48413771175;
        //     15 -/+ 5*qt(0.975,1) = -48.5310236809, 78.5310236809).
        QCOMPARE(lines[0], QByteArray("2.0000000000,15.0000000000\r"));
        QCOMPARE(lines[1], QByteArray("3,2\r"));
        QCOMPARE(lines[2], QByteArray("1.0000000000,7.0710678119\r"));
        QCOMPARE(lines[3], QByteArray("0.5773502692,5.0000000000\r"));
        QCOMPARE(lines[4], QByteArray("2.0000000000,15.0000000000\r"));
        const double limits[4] = {-0.48413771175, -48.5310236809, 4.48413771175, 78.5310236809};
        const double halfWidths[2] = {2.48413771175, 63.5310236809};
        for (int k = 0; k < 2; ++k) {
            const QList<QByteArray> fields = lines[5 + k].trimmed().split(',');
            QCOMPARE(fields.size(), 2);
            for (int c = 0; c < 2; ++c) {
                // The program's critical values of t are tabulated to four significant digits
                // (4.303, 12.71): compare to 1e-4 of the half width.
                QVERIFY2(std::abs(fields[c].toDouble() - limits[2 * k + c]) <= 1e-4 * halfWidths[c],
                         lines[5 + k].constData());
            }
        }
        QCOMPARE(lines[7], QByteArray("1.0000000000,10.0000000000\r"));
        QCOMPARE(lines[8], QByteArray("3.0000000000,20.0000000000\r"));

        // The results: each line of the report as the viewer shows it, without emphasis codes.
        QVERIFY(form.ShowStep(Step::Results));
        const QString results = QDir(test::TestHome()).filePath(QStringLiteral("results.txt"));
        services.files = {results};
        form.ExportCommand();
        const QByteArray written = ReadFile(results);
        QVERIFY(written.endsWith("\r\n"));
        for (const char code : {'\x80', '\x81', '\x82'}) QVERIFY(!written.contains(code));
        QStringList shown = form.ResultsPage()->Viewer()->toPlainText().split(QLatin1Char('\n'));
        QStringList fileLines = QString::fromLatin1(written).split(QStringLiteral("\r\n"));
        fileLines.removeLast();
        while (!shown.isEmpty() && shown.last().isEmpty() && shown.size() > fileLines.size()) shown.removeLast();
        QCOMPARE(fileLines, shown);

        // The graph as an SVG picture.
        QVERIFY(form.ShowStep(Step::Graph));
        const QString svg = QDir(test::TestHome()).filePath(QStringLiteral("graph.svg"));
        services.files = {svg};
        form.ExportCommand();
        QCOMPARE(g_requests.back().title, QStringLiteral("Export Graph"));
        QCOMPARE(g_requests.back().filters.size(), 3);
        QVERIFY(ReadFile(svg).contains("<svg"));
        QVERIFY(services.prompts.told.empty());
    }
};

ZELKON_GUI_TEST_MAIN(ImportExportTest)

#include "import_export_test.moc"
