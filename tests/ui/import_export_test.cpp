// The Import and Export commands of the document window: a text file read through the
// "Import" dialog with a column range and a filter, and in the indexed layout; the data
// table exported in the standard and index arrangements (expected bytes built by hand from
// the export rules), the column statistics, the results and the graph.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui/data_grid.h"
#include "ui/export_form.h"
#include "ui/import_form.h"
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
        QVERIFY(services.prompts.told[0].rfind("Zelkon cannot open Excel worksheet files.", 0) == 0);
        services.prompts.Clear();

        QString folder = QStringLiteral("/nowhere");
        QStringList seen;  // what the dialog showed, and whether a bad filter value was refused
        services.files = {path};
        services.onDialog = [&](QDialog& dialog) {
            auto& f = dynamic_cast<TImportForm&>(dialog);
            f.show();
            test::SaveScreenshot(f, QStringLiteral("import_dialog"));
            QTableWidget* grid = f.PreviewGrid();
            const bool defaults = f.AllColsRadioButton()->isChecked() && f.EndColumnField()->maximum() == 3 &&
                                  f.EndColumnField()->value() == 3 && f.EndRowField()->maximum() == 4;
            seen << f.windowTitle() << QString::number(grid->rowCount()) << grid->item(1, 0)->text()
                 << grid->horizontalHeaderItem(1)->text() << QString::number(defaults);
            f.StartColumnField()->setValue(2);  // changing a field chooses its option
            f.EndColumnField()->setValue(3);
            f.FilterRowCheckBox()->setChecked(true);
            f.ConditionComboBox()->setCurrentIndex(2);  // ">="
            f.FilterValueField()->setText(QStringLiteral("x2"));
            f.accept();  // not a number: told, and the dialog stays open
            seen << QString::number(f.result()) << QString::number(services.prompts.told.size());
            f.FilterValueField()->setText(QStringLiteral("2"));
            f.accept();
            return f.result();
        };
        form.ImportCommand(&folder);
        QCOMPARE(seen, (QStringList{QStringLiteral("Preview of ") + path, "4", "2.25", "2\nHeight", "1",
                                    "0", "1"}));
        QCOMPARE(services.prompts.told[0], std::string("The number is not valid."));
        QCOMPARE(g_requests.back().title, QStringLiteral("Import"));
        QCOMPARE(g_requests.back().folder, QStringLiteral("/nowhere"));
        QCOMPARE(folder, QFileInfo(path).absolutePath());

        // Rows where Weight >= 2, columns Height and Age, placed from row 2 of column A.
        const DataTable& table = form.Doc().Table();
        QCOMPARE(table.Record(0).title + table.Record(1).title, std::string("HeightAge"));
        QVERIFY(table.IsMissing(0, 0) && table.IsMissing(4, 0) && !table.ColumnHasValue(2));
        const Extended expected[3][2] = {{20, 40}, {30, 50}, {40, 60}};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 2; ++c) QCOMPARE(double(table.Value(r + 1, c)), double(expected[r][c]));
        }
        QCOMPARE(Shown(form, 3, 1), QStringLiteral("60"));
        QVERIFY(form.Doc().Modified());
    }

    void importDialogShowsTheAccount() {
        test::TestServices& services = Install();
        const QString path = WriteFile(QStringLiteral("mice.csv"),
                                       "\xEF\xBB\xBFid,Weight \xC2\xB5g,note\r\nM1,21.5,ok\r\n"
                                       "M2,NA,\r\nM3,<0.05,redo\r\nM4,23,\r\n");
        TAnalysisForm form;
        QVERIFY(form.ShowStep(Step::DataTable));
        QStringList account;
        QString labelText;
        services.files = {path};
        services.onDialog = [&](QDialog& dialog) {
            auto& f = dynamic_cast<TImportForm&>(dialog);
            account = f.ImportAccountLabel()->text().split(QLatin1Char('\n'));
            labelText = f.PreviewGrid()->item(2, 2)->text();
            f.accept();
            return f.result();
        };
        form.ImportCommand();
        QCOMPARE(account,
                 (QStringList{QStringLiteral("The file was read as UTF-8 with a byte-order mark."),
                              QStringLiteral("2 fields that are not numbers were left empty: line "
                                             "3, column 2 \"NA\"; line 4, column 2 \"<0.05\"."),
                              QStringLiteral("Left out as labels, holding no numbers: column 1 "
                                             "\"id\" (its texts are the row titles); column 3 "
                                             "\"note\".")}));
        QCOMPARE(labelText, QStringLiteral("redo"));
        // The numbers keep their column; the labels title the rows.
        const DataTable& table = form.Doc().Table();
        QVERIFY(!table.ColumnHasValue(0) && !table.ColumnHasValue(2));
        QCOMPARE(double(table.Value(3, 1)), 23.0);
        QCOMPARE(table.Record(1).title, std::string("Weight \xB5g"));
        QCOMPARE(table.RowTitle(2), std::string("M3"));
        QVERIFY(services.prompts.told.empty());
    }

    void indexedImport() {
        test::TestServices& services = Install();
        const QString path = WriteFile(QStringLiteral("groups.txt"), "1,10\r\n2,20\r\n1,30\r\n");
        TAnalysisForm form;
        QVERIFY(form.ShowStep(Step::DataTable));
        test::TypeColumn(form.Doc(), 4, {99});
        int firstResult = -1;
        services.files = {path};
        services.onDialog = [&](QDialog& dialog) {
            auto& f = dynamic_cast<TImportForm&>(dialog);
            f.ValueColumnField()->setValue(1);
            f.GroupAssignmentColField()->setValue(1);
            f.accept();  // the same column twice: told, and the dialog stays open
            firstResult = f.IndexedColRadioButton()->isChecked() ? f.result() : -1;
            f.ValueColumnField()->setValue(2);
            f.accept();
            return f.result();
        };
        form.ImportCommand();
        QCOMPARE(firstResult, int(QDialog::Rejected));
        QCOMPARE(services.prompts.told, std::vector<std::string>{
            "The column with values and the column with group assignments must be different."});

        // Groups 1, 2, 1 with values 10, 20, 30: column "1" holds 10 and 30, column "2" 20; the
        // sheet was cleared first.
        const DataTable& table = form.Doc().Table();
        QCOMPARE(table.Record(0).title + "|" + table.Record(1).title, std::string("1|2"));
        QCOMPARE(double(table.Value(0, 0)), 10.0);
        QCOMPARE(double(table.Value(1, 0)), 30.0);
        QCOMPARE(double(table.Value(0, 1)), 20.0);
        QVERIFY(table.IsMissing(1, 1) && !table.ColumnHasValue(4));
        QCOMPARE(Shown(form, 1, 0), QStringLiteral("30"));
    }

    void exportBothArrangements() {
        test::TestServices& services = Install();
        TAnalysisForm form;
        FillExportSheet(form.Doc());
        QVERIFY(form.ShowStep(Step::DataTable));
        const auto accept = [](QDialog& dialog) {
            dialog.accept();
            return dialog.result();
        };

        // Standard format to a TXT file: TAB-separated; titles in quotes by the separator alone,
        // values by the separator and a blank; an empty cell writes nothing.
        const QString txt = QDir(test::TestHome()).filePath(QStringLiteral("DATA.TXT"));
        services.files = {txt};
        bool defaults = false;
        services.onDialog = [&](QDialog& dialog) {
            auto& f = dynamic_cast<TExportForm&>(dialog);
            f.show();
            test::SaveScreenshot(f, QStringLiteral("export_dialog"));
            defaults = f.StandardFormatRadioButton()->isChecked() && f.TitleCheckBox()->isChecked() &&
                       f.ColTitlesCheckBox()->isChecked();
            return accept(f);
        };
        form.ExportCommand();
        QVERIFY(defaults);
        QCOMPARE(g_requests.back().title, QStringLiteral("Export"));
        QCOMPARE(ReadFile(txt),
                 QByteArray("\"Trial\"\r\n\"Dose\"\t\"\"\r\n1.50\t 3\r\n2.25\t \r\n"));

        // "," as decimal separator and the default list separator: index format without the
        // sheet title, one line per cell column by column; then the standard format, values
        // separated by ", ".
        Services().separators = Separators{',', ','};
        const QString csv = QDir(test::TestHome()).filePath(QStringLiteral("data.csv"));
        services.files = {csv};
        services.onDialog = [&](QDialog& dialog) {
            auto& f = dynamic_cast<TExportForm&>(dialog);
            f.IndexedColRadioButton()->setChecked(true);
            f.TitleCheckBox()->setChecked(false);
            return accept(f);
        };
        form.ExportCommand();
        QCOMPARE(g_requests.back().fileName, txt);  // the last name is offered again
        QCOMPARE(ReadFile(csv), QByteArray("value,group\r\n1,50,1\r\n2,25,1\r\n3,2\r\n,2\r\n"));
        services.files = {csv};
        services.onDialog = accept;
        form.ExportCommand();
        QCOMPARE(ReadFile(csv), QByteArray("\"Trial\"\r\n\"Dose\",\"\"\r\n1,50, 3\r\n2,25, \r\n"));

        // Cancel of the options writes nothing; a folder that does not exist gives "Error: #".
        const QString cancelled = QDir(test::TestHome()).filePath(QStringLiteral("none.csv"));
        services.files = {cancelled, QDir(test::TestHome()).filePath(QStringLiteral("missing/x.csv"))};
        services.onDialog = [](QDialog&) { return int(QDialog::Rejected); };
        form.ExportCommand();
        QVERIFY(!QFile::exists(cancelled));
        services.onDialog = accept;
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
        // One line per statistic (mean, N, SD, SEM, median, the 95% limits, minimum, maximum),
        // comma-separated even in a TXT file, 10 decimals: of 1, 2, 3 and of 10, 20 the SDs
        // are 1 and sqrt(50), the SEMs 1/sqrt(3) and 5.
        const QList<QByteArray> lines = ReadFile(stats).split('\n');
        QCOMPARE(lines.size(), 10);  // nine lines, each ending in CR LF
        const QList<QByteArray> firstFour = {"2.0000000000,15.0000000000\r", "3,2\r",
                                             "1.0000000000,7.0710678119\r",
                                             "0.5773502692,5.0000000000\r"};
        QCOMPARE(lines.mid(0, 4), firstFour);
        QCOMPARE(lines[8], QByteArray("3.0000000000,20.0000000000\r"));

        // The results: the report's lines without the emphasis codes.
        QVERIFY(form.ShowStep(Step::Results));
        const QString results = QDir(test::TestHome()).filePath(QStringLiteral("results.txt"));
        services.files = {results};
        form.ExportCommand();
        const QByteArray written = ReadFile(results);
        QVERIFY(written.endsWith("\r\n") && !written.contains('\x80') && !written.contains('\x81'));
        QCOMPARE(written.count("\r\n"), qsizetype(form.Doc().Report().AllLines().size()));

        // The graph as an SVG picture.
        QVERIFY(form.ShowStep(Step::Graph));
        const QString svg = QDir(test::TestHome()).filePath(QStringLiteral("graph.svg"));
        services.files = {svg};
        form.ExportCommand();
        QCOMPARE(g_requests.back().title, QStringLiteral("Export Graph"));
        QVERIFY(ReadFile(svg).contains("<svg"));
        QVERIFY(services.prompts.told.empty());
    }
};

ZELKON_GUI_TEST_MAIN(ImportExportTest)

#include "import_export_test.moc"
