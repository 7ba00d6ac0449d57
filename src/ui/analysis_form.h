// TAnalysisForm: the window of one document.  It owns the engine document and shows one of
// the six step pages at a time (start, data with its spreadsheet and two-by-two sub-pages,
// column statistics, choose test, results, graph); showing a page runs that page's
// preparation, and step 5 runs the analysis only when the document needs it.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

#include "core/analysis_entry.h"
#include "document/steps.h"

class QLabel;
class QStackedWidget;

namespace zelkon {

class Document;
class TChooseTestPage;
class TDataGridPage;
class TGraphPage;
class TResultsPage;
class TSpreadGrid;
class TStartPage;
class TStatisticsPage;
class TTwoByTwoEntryPage;
class TNotesForm;
struct ReportSelection;

class TAnalysisForm : public QWidget {
    Q_OBJECT
public:
    explicit TAnalysisForm(QWidget* parent = nullptr);
    ~TAnalysisForm() override;

    Document& Doc() { return *document_; }
    const Document& Doc() const { return *document_; }
    Step CurrentStep() const;

    /// Shows step n after running its page's preparation; ignored while a calculation runs
    /// and for a step the data format does not offer.  Returns true when the step is shown.
    bool ShowStep(Step step);
    /// The first enabled step after / before the current one (nothing from the last / first
    /// step or while a calculation runs).
    bool NextStep();
    bool PreviousStep();
    bool StepAvailable(Step step) const;

    /// The keyboard goes to the page's place of entry: the data sheet (or the first field of
    /// the two-by-two table) on step 2; other pages keep the focus where it is.
    void FocusPage();
    /// The size the window needs to show the start page whole.
    QSize StartPageSizeHint() const;
    /// The document's file name changed: the notes window's caption follows.
    void FileNameChanged();

    /// Rebuilds every page from the document (after a file was read or the document reset).
    void RebuildPages();
    /// Takes over any edit still open in a cell, title or two-by-two field.
    void CommitPendingEdits();
    /// True when the data page shows its two-by-two sub-page.
    bool ShowsTwoByTwoPage() const;

    /// "Clear All" after the user confirmed: the document is reset as a new one is, the grids
    /// are emptied and scrolled home, and unless step 2 is shown the document returns to
    /// step 1.
    void ClearAllData();

    // Commands of the main window that concern the page shown.
    void CopyCommand();
    void SelectAllCommand();

    // Edit and Data commands on the data sheet (analysis_form_grid_commands.cpp); each does
    // nothing unless step 2 shows the spreadsheet.
    /// The data sheet when step 2 shows it, else nothing.
    TSpreadGrid* DataSheet() const;
    void CutCommand();
    /// "&Paste" and "T&ranspose Paste".
    void PasteCommand(bool transpose);
    void ClearCommand();
    void SelectColumnCommand();
    void SelectRowCommand();
    void DeleteCellsCommand();
    void InsertCellsCommand();
    void ExcludeCommand();

    // Data menu commands on the data sheet (analysis_form_data_commands.cpp); each does
    // nothing unless step 2 shows the spreadsheet.
    /// "&Transform": the "Transform" dialog, then the selection (or current cell) transformed.
    void TransformCommand();
    /// "Combine Variables": the checks, the dialog, the new column.
    void CombineCommand();
    /// "&Number Format": the "Number Format" dialog for the selected columns.
    void NumberFormatCommand();
    /// "Append to Notes" (ignored while a calculation runs): the results, or the selection in
    /// them, appended to the notes as a whole or not at all.
    void AppendToNotesCommand();

    // File commands (analysis_form_file_commands.cpp).
    /// "&Import Data (text)..." on the spreadsheet: the open dialog (starting in and updating
    /// `importFolder`), the file's preview in the "Import" dialog, and on OK the chosen values
    /// placed at the current cell.  `status` shows "Reading data..." while the file is read
    /// and an empty text when done.
    void ImportCommand(QString* importFolder = nullptr,
                       const std::function<void(const QString&)>& status = {});
    /// "&Export...": what the step shows, to the file chosen (the data table after the
    /// "Export" options; the graph as an SVG, PDF or PNG file).
    void ExportCommand();
    /// "View No&tes": shows the notes window, with the document's notes when it was hidden.
    void ViewNotesCommand();
    /// The notes window (made on first use, hidden until shown).
    TNotesForm* NotesWindow();
    /// The notes window (when made) shows the document's notes again.
    void ReloadNotesWindow();

    /// "&Print": what the step shows (data table, column statistics, results, graph) after
    /// the print dialog, with "Printing...." and Cancel (src/ui/print_commands.cpp).
    void PrintCommand();
    /// The print preview of what the step shows.
    void PrintPreviewCommand();
    /// "Printer Setup": the page setup dialog (ignored while a calculation runs).
    void PrinterSetupCommand();

    /// Replaces the analyses that step 5 runs (tests put recorders in their place).
    void SetEntryPoints(const AnalysisEntryPoints* entries);
    /// The close query the main window answers (save changes?); without one the window closes.
    void SetCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }

    TStartPage* StartPage() const { return start_; }
    TDataGridPage* DataGridPage() const { return grid_; }
    TTwoByTwoEntryPage* TwoByTwoPage() const { return twoByTwo_; }
    TStatisticsPage* StatisticsPage() const { return statistics_; }
    TChooseTestPage* ChoosePage() const { return choose_; }
    TResultsPage* ResultsPage() const { return results_; }
    TGraphPage* GraphPage() const { return graph_; }
    QLabel* PageCaption() const { return caption_; }

signals:
    /// The page shown changed (also the first page of a new document).
    void stepChanged(Step step);
    /// The data format changed, so the available steps changed.
    void formatChanged();
    /// The document was edited.
    void modified();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PreparePage(Step step);
    void Edited();
    /// Connects the sheet's "&Transform" and "&Number Format" to the Data commands.
    void ConnectDataCommands();

    std::unique_ptr<Document> document_;
    const AnalysisEntryPoints* entries_;
    std::function<bool()> closeQuery_;
    Step step_ = Step::Start;
    QLabel* caption_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QStackedWidget* dataPages_ = nullptr;
    TStartPage* start_ = nullptr;
    TDataGridPage* grid_ = nullptr;
    TTwoByTwoEntryPage* twoByTwo_ = nullptr;
    TStatisticsPage* statistics_ = nullptr;
    TChooseTestPage* choose_ = nullptr;
    TResultsPage* results_ = nullptr;
    TGraphPage* graph_ = nullptr;

    // File commands.
    std::pair<int, int> CurrentDataCell() const;
    bool AppendResultsToNotes(const ReportSelection& selection);
    TNotesForm* notes_ = nullptr;
};

}  // namespace zelkon
