// Menu availability by the active document's step and data format.
#include "document/menu_state.h"

namespace zelkon {

MenuState ComputeMenuState(const MenuContext& context) {
    MenuState m;
    const int count = context.documentCount;
    m.cascade = count > 1;
    m.tile = count > 1;
    m.nextWindow = count > 1;
    m.duplicate = count >= 1;
    if (count <= 0) return m;  // everything else stays disabled, the panel is shown

    m.noDocumentsPanel = false;
    m.editMenu = true;
    m.close = true;
    m.save = true;
    m.saveAs = true;
    m.viewNotes = true;
    m.clearAll = true;
    for (int s = 0; s < 6; ++s) {
        m.steps[s] = StepEnabled(context.format, static_cast<Step>(s + 1));
    }
    m.nextStep = NextStepButtonEnabled(context.step);
    m.previousStep = PreviousStepButtonEnabled(context.step);

    switch (context.step) {
        case Step::Start:
        case Step::ChooseTest:
            break;
        case Step::DataTable:
            m.printCaption = PrintDataCaption;
            if (context.format == DataFormat::TwoByTwo) {
                m.exportData = true;
                break;
            }
            m.cut = m.copy = m.paste = m.clear = true;
            m.appendToNotes = true;
            m.selectAll = m.selectColumn = m.selectRow = true;
            m.deleteCells = m.insertCells = true;
            m.transform = m.combineVariables = m.numberFormat = true;
            m.print = m.import = m.exportData = true;
            m.transposePaste = true;
            m.exclude = context.format != DataFormat::LargerTable;
            break;
        case Step::SummaryStats:
            m.printCaption = PrintStatsCaption;
            m.cut = m.copy = m.clear = m.deleteCells = true;
            m.print = m.exportData = true;
            break;
        case Step::Results:
            m.printCaption = PrintResultsCaption;
            m.copy = m.selectAll = m.print = m.exportData = m.appendToNotes = true;
            break;
        case Step::Graph:
            m.printCaption = PrintGraphCaption;
            m.copy = m.print = m.exportData = true;
            break;
    }
    return m;
}

}  // namespace zelkon
