// Printing to PDF through QPrinter and zelkon-cli: the header line of each page, where a long
// text breaks into pages for the page height, bold runs, Cancel in the print dialog and while
// printing, the Print command of a document window, and `zelkon-cli print`.  The PDFs are
// read back with pdftotext and pdffonts (poppler-utils).
#include <QApplication>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "document/document.h"
#include "output/print_layout.h"
#include "render/print_painter.h"
#include "ui/analysis_form.h"
#include "ui/print_commands.h"
#include "ui/report_form.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

// A4 portrait with 20 mm margins: 842 - 2 * 56.69 = 728.6 points of page height.  DejaVu Sans
// Mono has ascender 1901 and descender 483 in 2048 units (hhea table), so a 10-point line is
// 10 * 2384 / 2048 = 11.64 points and (728.6 - 2.4) / 11.64 = 62.4: 62 lines fit on a page.
// Two are the header line and the blank under it; a page breaks when fewer than 3 lines are
// left, so 62 - 2 - 2 = 58 text lines fill a page.
constexpr int HandLinesPerPage = 62;
constexpr int HandTextLinesPerPage = 58;

void SetUpPdfPrinter(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
}

QString Run(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    if (exitCode != nullptr) *exitCode = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfText(const QString& path, int page = 0) {
    QStringList args{QStringLiteral("-layout")};
    if (page > 0) args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return Run(QStringLiteral("pdftotext"), args << path << QStringLiteral("-"));
}

int PdfPages(const QString& path) { return PdfText(path).count(QLatin1Char('\f')); }

bool PdfHasBoldFont(const QString& path) {
    return Run(QStringLiteral("pdffonts"), {path}).contains(QStringLiteral("Bold"));
}

/// The non-blank lines of a text, each with its runs of blanks made single.
QStringList TextLines(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) lines << line.simplified();
    }
    return lines;
}

std::vector<std::string> NumberedLines(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) lines.push_back("Line " + std::to_string(1000 + i));
    return lines;
}

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // ZELKON_KEEP_PRINTS=1 keeps the PDFs for a look (the folder is named in the output).
        if (!qEnvironmentVariableIsEmpty("ZELKON_KEEP_PRINTS")) {
            dir_.setAutoRemove(false);
            qInfo() << dir_.path();
        }
    }

    // 150 lines: 58 + 58 + 34 by the hand calculation above, and the same breaks as the print
    // layout's own pagination for 62 lines a page.  Every page has its header line.
    void longTextBreaksWhereTheLayoutSays() {
        const QString path = dir_.filePath(QStringLiteral("long.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdfPrinter(printer, path);
        QCOMPARE(PrintGeometryFor(printer).setup.linesPerPage, HandLinesPerPage);
        const std::vector<std::string> lines = NumberedLines(150);
        QCOMPARE(PrintTextLines(printer, "Long Text", lines), PrintOutcome::Printed);

        PrintPageSetup setup;
        setup.linesPerPage = HandLinesPerPage;
        const std::vector<PrintPage> layout = PaginateTextLines("Long Text", lines, setup);
        QCOMPARE(static_cast<int>(layout.size()), 3);
        QCOMPARE(PdfPages(path), 3);
        for (int page = 1; page <= 3; ++page) {
            const QStringList text = TextLines(PdfText(path, page));
            const int first = (page - 1) * HandTextLinesPerPage + 1;
            const int last = std::min(page * HandTextLinesPerPage, 150);
            QCOMPARE(text.size(), 1 + last - first + 1);
            QVERIFY(text[0].startsWith(QStringLiteral("Long Text")));
            QVERIFY(text[0].endsWith(QStringLiteral("Page %1").arg(page)));
            QCOMPARE(text[1], QStringLiteral("Line %1").arg(1000 + first));
            QCOMPARE(text.last(), QStringLiteral("Line %1").arg(1000 + last));
            QCOMPARE(text.size() - 1, static_cast<int>(layout[static_cast<std::size_t>(page - 1)].lines.size()));
        }
    }

    // A one-line text prints one page headed "Page 1"; a word between two bold codes prints in
    // the bold font and the rest plain, while a text without codes uses no bold font.
    void oneLinePageAndBoldRuns() {
        const QString plainPath = dir_.filePath(QStringLiteral("plain.pdf"));
        {
            QPrinter printer(QPrinter::HighResolution);
            SetUpPdfPrinter(printer, plainPath);
            QCOMPARE(PrintTextLines(printer, "Notes", {"just one line"}), PrintOutcome::Printed);
        }
        QCOMPARE(PdfPages(plainPath), 1);
        const QStringList text = TextLines(PdfText(plainPath));
        QCOMPARE(text.size(), 2);
        QVERIFY(text[0].startsWith(QStringLiteral("Notes")));
        QVERIFY(text[0].endsWith(QStringLiteral("Page 1")));
        QCOMPARE(text[1], QStringLiteral("just one line"));
        QVERIFY(!PdfHasBoldFont(plainPath));

        const QString boldPath = dir_.filePath(QStringLiteral("bold.pdf"));
        {
            QPrinter printer(QPrinter::HighResolution);
            SetUpPdfPrinter(printer, boldPath);
            QCOMPARE(PrintTextLines(printer, "Results", {"The \x80very\x80 significant"}), PrintOutcome::Printed);
        }
        QVERIFY(PdfHasBoldFont(boldPath));
        QCOMPARE(TextLines(PdfText(boldPath)).value(1), QStringLiteral("The very significant"));
    }

    // Cancel in the print dialog prints nothing; a page range prints those pages; Cancel in
    // "Printing...." ends the job after the line being printed.
    void printDialogRangeAndCancel() {
        test::TestServices& services = test::InstallTestServices();
        const QString path = dir_.filePath(QStringLiteral("cancel.pdf"));
        const PrintJob job{PrintKind::Text, "Results", NumberedLines(150)};
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdfPrinter(printer, path);

        services.onDialog = [](QDialog&) { return int(QDialog::Rejected); };
        QVERIFY(!PrintJobWithDialog(nullptr, printer, job, nullptr).has_value());
        QVERIFY(!QFile::exists(path));

        // Pages 2 to 2 of the dialog's range: the second page alone, lines 59 to 116.
        services.onDialog = [](QDialog& dialog) {
            auto* print = qobject_cast<QPrintDialog*>(&dialog);
            if (print == nullptr) return int(QDialog::Rejected);
            print->printer()->setPrintRange(QPrinter::PageRange);
            print->printer()->setFromTo(2, 2);
            return int(QDialog::Accepted);
        };
        QCOMPARE(PrintJobWithDialog(nullptr, printer, job, nullptr), std::optional<PrintOutcome>(PrintOutcome::Printed));
        QCOMPARE(PdfPages(path), 1);
        const QStringList second = TextLines(PdfText(path));
        QVERIFY(second.value(0).endsWith(QStringLiteral("Page 2")));
        QCOMPARE(second.value(1), QStringLiteral("Line %1").arg(1000 + HandTextLinesPerPage + 1));
        QCOMPARE(second.size(), 1 + HandTextLinesPerPage);
        printer.setPrintRange(QPrinter::AllPages);

        services.onDialog = [](QDialog& dialog) {
            if (qobject_cast<QPrintDialog*>(&dialog) == nullptr) return int(QDialog::Rejected);
            QTimer::singleShot(0, [] {
                for (QWidget* w : QApplication::topLevelWidgets()) {
                    if (auto* form = qobject_cast<TReportForm*>(w); form != nullptr && form->isVisible()) {
                        test::SaveScreenshot(*form, QStringLiteral("printing_dialog"));
                        form->CancelButton()->click();
                    }
                }
            });
            return int(QDialog::Accepted);
        };
        const std::optional<PrintOutcome> outcome = PrintJobWithDialog(nullptr, printer, job, nullptr);
        QCOMPARE(outcome, std::optional<PrintOutcome>(PrintOutcome::Cancelled));
        QCOMPARE(PdfPages(path), 1);
        const QStringList text = TextLines(PdfText(path));
        QCOMPARE(text.size(), 2);
        QCOMPARE(text[1], QStringLiteral("Line 1001"));
    }

    // The preview draws the same pages as the printer: 150 lines make three.
    void previewShowsThePages() {
        test::TestServices& services = test::InstallTestServices();
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdfPrinter(printer, dir_.filePath(QStringLiteral("preview.pdf")));
        int pages = -1;
        services.onDialog = [&pages](QDialog& dialog) {
            auto* preview = dialog.findChild<QPrintPreviewWidget*>();
            if (qobject_cast<QPrintPreviewDialog*>(&dialog) == nullptr || preview == nullptr)
                return int(QDialog::Rejected);
            preview->updatePreview();
            pages = preview->pageCount();
            return int(QDialog::Accepted);
        };
        PreviewPrintJob(nullptr, printer, {PrintKind::Text, "Results", NumberedLines(150)}, nullptr);
        QCOMPARE(pages, 3);
    }

    // The Print command of a document on the data step prints the typed values under "Data
    // Table", plain; on the results step the report's headings come out bold.
    void printCommandOfTheStepShown() {
        test::TestServices& services = test::InstallTestServices();
        const QString dataPath = dir_.filePath(QStringLiteral("data.pdf"));
        QString target;
        services.onDialog = [&target](QDialog& dialog) {
            auto* print = qobject_cast<QPrintDialog*>(&dialog);
            if (print == nullptr) return int(QDialog::Rejected);
            SetUpPdfPrinter(*print->printer(), target);
            return int(QDialog::Accepted);
        };
        TAnalysisForm form;
        test::TypeColumn(form.Doc(), 0, {14, 16, 18});
        test::TypeColumn(form.Doc(), 1, {3, 5, 7});
        QVERIFY(form.ShowStep(Step::DataTable));
        target = dataPath;
        form.PrintCommand();
        const QStringList data = TextLines(PdfText(dataPath));
        QVERIFY(data.value(0).startsWith(QStringLiteral("Data Table")));
        QVERIFY(data.value(0).endsWith(QStringLiteral("Page 1")));
        QVERIFY(data.contains(QStringLiteral("# A B")));
        QVERIFY(data.contains(QStringLiteral("2 16 5")));
        QVERIFY(!PdfHasBoldFont(dataPath));

        const QString resultsPath = dir_.filePath(QStringLiteral("results.pdf"));
        QVERIFY(form.ShowStep(Step::Results));
        target = resultsPath;
        form.PrintCommand();
        QVERIFY(TextLines(PdfText(resultsPath)).value(0).startsWith(QStringLiteral("Results")));
        QVERIFY(PdfHasBoldFont(resultsPath));
    }

    // zelkon-cli print writes a PDF for each part of the blood pressure example (Placebo and
    // Drug, ten values each, the largest Placebo value 141, the smallest 122 and 115; R:
    // t.test(placebo, drug, var.equal=TRUE) gives t = 3.5737 with df 18)
    // and refuses what it cannot print with exit code 1.
    void commandLinePrint() {
        const QString example = QStringLiteral(ZELKON_SOURCE_DIR "/examples/blood_pressure_raw.ZLD");
        const QString cli = QStringLiteral(ZELKON_CLI);
        const struct {
            const char* what;
            const char* title;
            const char* expected;
        } cases[] = {{"data", "Data Table", "141"},
                     {"stats", "Column Stats", "Minimum 122 115"},
                     {"results", "Results", "t = 3.574 with 18 degrees of freedom."},
                     {"graph", "Systolic blood pressure", "Mean and Standard Deviation"}};
        for (const auto& c : cases) {
            const QString out = dir_.filePath(QStringLiteral("bp_%1.pdf").arg(QLatin1String(c.what)));
            int code = -1;
            Run(cli, {QStringLiteral("print"), example, QStringLiteral("--what"), QLatin1String(c.what),
                      QStringLiteral("-o"), out}, &code);
            QCOMPARE(code, 0);
            const QString text = PdfText(out);
            QCOMPARE(PdfPages(out), 1);
            QVERIFY2(TextLines(text).value(0).startsWith(QLatin1String(c.title)), c.what);
            QVERIFY2(TextLines(text).join(QLatin1Char('\n')).contains(QLatin1String(c.expected)), c.what);
        }
        const QString refused = dir_.filePath(QStringLiteral("refused.pdf"));
        const QStringList bad[] = {
            {QStringLiteral("print"), example, QStringLiteral("--what"), QStringLiteral("notes"), QStringLiteral("-o"), refused},
            {QStringLiteral("print"), example, QStringLiteral("--what"), QStringLiteral("data"), QStringLiteral("-o"),
             dir_.filePath(QStringLiteral("refused.txt"))},
            {QStringLiteral("print"), dir_.filePath(QStringLiteral("missing.ZLD")), QStringLiteral("--what"),
             QStringLiteral("data"), QStringLiteral("-o"), refused}};
        for (const QStringList& args : bad) {
            int code = -1;
            Run(cli, args, &code);
            QCOMPARE(code, 1);
        }
        QVERIFY(!QFile::exists(refused));
    }

private:
    QTemporaryDir dir_;
};

ZELKON_GUI_TEST_MAIN(PrintTest)
#include "print_test.moc"
