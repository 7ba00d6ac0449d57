// The Edit and Data menu commands of a document that work on its sheets: they go to the data
// sheet when step 2 shows the spreadsheet, Cut, Clear and Delete cells to the statistics sheet
// on step 3 (where averaged data are typed), and do nothing otherwise.
#include "ui/analysis_form.h"
#include "ui/data_grid.h"
#include "ui/spread_grid.h"
#include "ui/statistics_page.h"

namespace zelkon {

TSpreadGrid* TAnalysisForm::DataSheet() const {
    if (step_ != Step::DataTable || ShowsTwoByTwoPage()) return nullptr;
    return grid_->Grid();
}

void TAnalysisForm::CutCommand() {
    if (TSpreadGrid* sheet = DataSheet()) sheet->CutToClipboard();
    if (step_ == Step::SummaryStats) statistics_->CutToClipboard();
}

void TAnalysisForm::PasteCommand(bool transpose) {
    if (TSpreadGrid* sheet = DataSheet()) sheet->PasteFromClipboard(transpose);
}

void TAnalysisForm::ClearCommand() {
    if (TSpreadGrid* sheet = DataSheet()) sheet->ClearSelection();
    if (step_ == Step::SummaryStats) statistics_->DeleteSelection();
}

void TAnalysisForm::SelectColumnCommand() {
    if (TSpreadGrid* sheet = DataSheet()) sheet->SelectColumns();
}

void TAnalysisForm::SelectRowCommand() {
    if (TSpreadGrid* sheet = DataSheet()) sheet->SelectRows();
}

void TAnalysisForm::DeleteCellsCommand() {
    if (TSpreadGrid* sheet = DataSheet()) sheet->DeleteCells();
    if (step_ == Step::SummaryStats) statistics_->DeleteSelection();
}

void TAnalysisForm::InsertCellsCommand() {
    if (TSpreadGrid* sheet = DataSheet()) sheet->InsertCells();
}

void TAnalysisForm::ExcludeCommand() {
    if (TSpreadGrid* sheet = DataSheet()) sheet->ToggleExclusion();
}

}  // namespace zelkon
