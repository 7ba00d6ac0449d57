// The document window's file commands: Import (a text file into the data sheet through the
// "Import" dialog), Export (what the step shows, to a text file or a graph file) and the
// notes window with "Append to Notes" going through it.
#include <QApplication>
#include <QFileInfo>

#include <optional>

#include "core/calc_status.h"
#include "data/data_messages.h"
#include "data/export.h"
#include "data/import_placement.h"
#include "data/notes.h"
#include "data/text_import.h"
#include "document/data_file.h"
#include "document/document.h"
#include "output/graph_model.h"
#include "render/graph_export.h"
#include "ui/analysis_form.h"
#include "ui/data_grid.h"
#include "ui/export_form.h"
#include "ui/import_form.h"
#include "ui/notes_form.h"
#include "ui/print_commands.h"
#include "ui/spread_grid.h"
#include "ui/ui_services.h"

namespace zelkon {

namespace {

/// The warning shown for a name that looks like a spreadsheet workbook.
constexpr const char* WorkbookWarningLines[] = {
    "Zelkon cannot open Excel worksheet files. To use data from Excel:",
    "1. Copy and paste.",
    "or",
    "2. Save from Excel using Text or CSV (comma separated value) format.",
    "Then use File Import to read into Zelkon."};

/// The export file name offered next time, for the run of the program.
QString& LastExportName() {
    static QString name;
    return name;
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QStringList ImportFilters() {
    return {QStringLiteral("Text (*.TXT *.CSV *.DAT *.PRN *.txt *.csv *.dat *.prn)"),
            QStringLiteral("Any file (*)")};
}

QStringList ExportFilters() {
    return {QStringLiteral("Tab-delimit. text (*.TXT *.txt)"),
            QStringLiteral("Comma-delimit. text (*.CSV *.csv)")};
}

QStringList GraphExportFilters() {
    return {QStringLiteral("SVG picture (*.svg)"), QStringLiteral("PDF document (*.pdf)"),
            QStringLiteral("PNG image (*.png)")};
}

}  // namespace

std::pair<int, int> TAnalysisForm::CurrentDataCell() const {
    const Selection selection = grid_->Grid()->EngineSelection();
    return {selection.currentRow, selection.currentColumn};
}

void TAnalysisForm::ImportCommand(QString* importFolder,
                                  const std::function<void(const QString&)>& status) {
    if (GlobalCalcStatus().Calculating() || step_ != Step::DataTable || ShowsTwoByTwoPage()) return;
    CommitPendingEdits();
    UiServices& services = Services();
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = ToQt(ImportDialogTitle);
    request.folder = importFolder != nullptr ? *importFolder : QString();
    request.filters = ImportFilters();
    const QString chosen = services.chooseFile(this, request);
    if (chosen.isEmpty()) return;
    if (chosen.toUpper().contains(QStringLiteral(".XL"))) {
        std::string warning;
        for (const char* line : WorkbookWarningLines) {
            if (!warning.empty()) warning += '\n';
            warning += line;
        }
        services.prompts->Tell(warning);
        return;
    }
    if (importFolder != nullptr) *importFolder = QFileInfo(chosen).absolutePath();

    std::optional<ImportPreview> preview;
    {
        BusyCursor busy;
        if (status) status(ToQt(ReadingDataStatus));
        preview = ReadImportFile(LocalPath(chosen), services.separators, *services.prompts);
        if (status) status(QString());
    }
    if (!preview) return;

    TImportForm dialog(*preview, chosen, this);
    if (services.runDialog(dialog) != QDialog::Accepted) return;
    const std::optional<ImportOptions> options = dialog.CheckedOptions();
    if (!options) return;
    const auto [row, column] = CurrentDataCell();
    const bool imported = ImportIntoDocument(*document_, *preview, *options, row, column, *services.prompts);
    grid_->Grid()->RefreshAll();
    if (imported) emit modified();
}

void TAnalysisForm::ExportCommand() {
    if (GlobalCalcStatus().Calculating()) return;
    CommitPendingEdits();
    UiServices& services = Services();
    if (step_ == Step::Graph) {
        FileDialogRequest request;
        request.kind = FileDialogRequest::Kind::Save;
        request.title = QStringLiteral("Export Graph");
        request.filters = GraphExportFilters();
        request.defaultSuffix = QStringLiteral("svg");
        const QString chosen = services.chooseFile(this, request);
        if (chosen.isEmpty()) return;
        GraphOptions options;
        options.separators.decimal = services.separators.decimal;
        options.separators.thousands = services.separators.decimal == ',' ? '.' : ',';
        QString error;
        if (!ExportGraphFile(DrawGraph(*document_, options), chosen, &error)) {
            services.prompts->Tell(FromQt(error));
        }
        return;
    }

    const std::optional<ExportKind> kind = ExportKindForStep(*document_, step_);
    if (!kind) return;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.title = ToQt(ExportDialogCaption);
    request.fileName = LastExportName();
    request.filters = ExportFilters();
    request.defaultSuffix = QStringLiteral("TXT");
    const QString chosen = services.chooseFile(this, request);
    if (chosen.isEmpty()) return;
    LastExportName() = chosen;

    ExportOptions options;
    if (*kind == ExportKind::DataTable) {
        TExportForm dialog(options, this);
        if (services.runDialog(dialog) != QDialog::Accepted) return;
        options = dialog.Options();
    }
    std::int32_t code = 0;
    {
        BusyCursor busy;
        code = ExportDocument(*document_, *kind, LocalPath(chosen), options, services.separators);
    }
    if (code != 0) services.prompts->Tell(IoErrorMessageText(code));
}

TNotesForm* TAnalysisForm::NotesWindow() {
    if (notes_ == nullptr) {
        notes_ = new TNotesForm(*document_, this);
        connect(notes_, &TNotesForm::edited, this, &TAnalysisForm::modified);
        connect(notes_, &TNotesForm::printRequested, this,
                [this] { PrintNotes(notes_, *document_); });
    }
    return notes_;
}

void TAnalysisForm::ReloadNotesWindow() {
    if (notes_ != nullptr) notes_->LoadNotes();
}

void TAnalysisForm::ViewNotesCommand() {
    TNotesForm* notes = NotesWindow();
    if (!notes->isVisible()) notes->LoadNotes();
    notes->show();
    notes->raise();
    notes->activateWindow();
}

bool TAnalysisForm::AppendResultsToNotes(const ReportSelection& selection) {
    if (GlobalCalcStatus().Calculating()) return false;
    if (notes_ != nullptr && notes_->isVisible()) {
        return notes_->AppendLines(ReportLinesToAppend(document_->Report(), selection),
                                   *Services().prompts);
    }
    return AppendToNotes(*document_, selection, *Services().prompts);
}

}  // namespace zelkon
