// The Data menu commands of a document: Transform, Combine Variables and Number Format.  They
// work on the data sheet when step 2 shows it, take any edit still open first, run their
// dialog and the engine's operation, then redraw what changed and report the edit.
#include "core/calc_status.h"
#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui/data_forms.h"
#include "ui/data_grid.h"
#include "ui/spread_grid.h"

namespace zelkon {

void TAnalysisForm::ConnectDataCommands() {
    TSpreadGrid* sheet = grid_->Grid();
    connect(sheet, &TSpreadGrid::transformRequested, this, &TAnalysisForm::TransformCommand);
    connect(sheet, &TSpreadGrid::numberFormatRequested, this, &TAnalysisForm::NumberFormatCommand);
}

void TAnalysisForm::TransformCommand() {
    TSpreadGrid* sheet = DataSheet();
    if (sheet == nullptr || GlobalCalcStatus().Calculating()) return;
    sheet->CommitPendingEdits();
    const bool changed = RunTransformCommand(*document_, sheet->EngineSelection(), this);
    // Whatever the dialog and its messages did with the focus, the sheet has it again.
    FocusPage();
    if (!changed) return;
    sheet->RefreshAll();
    emit modified();
}

void TAnalysisForm::CombineCommand() {
    TSpreadGrid* sheet = DataSheet();
    if (sheet == nullptr || GlobalCalcStatus().Calculating()) return;
    sheet->CommitPendingEdits();
    const std::optional<int> column = RunCombineCommand(*document_, sheet->CurrentDataColumn(), this);
    FocusPage();
    if (!column) return;
    // The new column brings its title along.
    sheet->RefreshAll();
    emit modified();
}

void TAnalysisForm::NumberFormatCommand() {
    TSpreadGrid* sheet = DataSheet();
    if (sheet == nullptr || GlobalCalcStatus().Calculating()) return;
    sheet->CommitPendingEdits();
    const std::vector<int> redraw = RunNumberFormatCommand(*document_, sheet->EngineSelection(), this);
    FocusPage();
    for (int column : redraw) sheet->RefreshColumn(column);
    if (!redraw.empty()) emit modified();
}

}  // namespace zelkon
