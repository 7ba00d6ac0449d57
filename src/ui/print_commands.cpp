// The print commands: Print, print preview, Printer Setup and the printing of the notes.
#include "ui/print_commands.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include "core/calc_status.h"
#include "document/document.h"
#include "output/graph_model.h"
#include "output/print_layout.h"
#include "render/print_painter.h"
#include "ui/analysis_form.h"
#include "ui/report_form.h"
#include "ui/ui_services.h"

namespace zelkon {

namespace {

/// A job of the step shown, with its graph when it prints one.
struct StepPrint {
    PrintJob job;
    GraphModel graph;
};

StepPrint PrintOfStep(TAnalysisForm& form) {
    StepPrint print;
    print.job = PrintJobForStep(form.Doc(), form.CurrentStep());
    // Showing step 6 already ran what the graph needs; the graph is drawn from the document.
    if (print.job.kind == PrintKind::Graph) print.graph = BuildGraphModel(form.Doc());
    return print;
}

}  // namespace

QPrinter& ProgramPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

std::optional<PrintOutcome> PrintJobWithDialog(QWidget* parent, QPrinter& printer, const PrintJob& job,
                                               const GraphModel* graph) {
    if (job.kind == PrintKind::Nothing) return std::nullopt;
    {
        QPrintDialog dialog(&printer, parent);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        if (Services().runDialog(dialog) != QDialog::Accepted) return std::nullopt;
    }
    TReportForm progressForm(parent);
    progressForm.show();
    QApplication::processEvents();
    const PrintLineProgress progress = [&progressForm](int) {
        QApplication::processEvents();
        return !progressForm.Cancelled();
    };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PrintPageRange range;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        range.first = printer.fromPage();
        range.last = printer.toPage();
    }
    const PrintOutcome outcome = PrintJobPages(printer, job, graph, progress, range);
    QApplication::restoreOverrideCursor();
    progressForm.hide();
    return outcome;
}

void PreviewPrintJob(QWidget* parent, QPrinter& printer, const PrintJob& job, const GraphModel* graph) {
    if (job.kind == PrintKind::Nothing) return;
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&job, graph](QPrinter* target) { PrintJobPages(*target, job, graph); });
    // Most of the screen, with the page as wide as the window, so that the text can be read.
    preview.resize(ScreenShareSize(parent, 0.75, 0.9, QSize(640, 480)));
    if (auto* pages = preview.findChild<QPrintPreviewWidget*>()) pages->fitToWidth();
    Services().runDialog(preview);
}

void PrinterSetup(QWidget* parent) {
    QPageSetupDialog dialog(&ProgramPrinter(), parent);
    Services().runDialog(dialog);
}

void PrintNotes(QWidget* parent, const Document& document) {
    PrintJobWithDialog(parent, ProgramPrinter(), NotesPrintJob(document), nullptr);
}

void TAnalysisForm::PrintCommand() {
    CommitPendingEdits();
    const StepPrint print = PrintOfStep(*this);
    PrintJobWithDialog(this, ProgramPrinter(), print.job, &print.graph);
}

void TAnalysisForm::PrintPreviewCommand() {
    CommitPendingEdits();
    const StepPrint print = PrintOfStep(*this);
    PreviewPrintJob(this, ProgramPrinter(), print.job, &print.graph);
}

void TAnalysisForm::PrinterSetupCommand() {
    if (GlobalCalcStatus().Calculating()) return;
    PrinterSetup(this);
}

}  // namespace zelkon
