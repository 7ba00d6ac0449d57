// Which commands of the main window's menus and toolbar are available, from the state of the
// open documents: the step the active document shows, its data format and the number of
// open documents.  A pure rule, so that the desktop program only copies the answer onto its
// actions.
#pragma once

#include <string_view>

#include "core/data_format.h"
#include "document/steps.h"

namespace zelkon {

/// The state the menus depend on.
struct MenuContext {
    /// Number of open documents (0 to 10).
    int documentCount = 0;
    /// The active document's step and format (ignored with no document open).
    Step step = Step::Start;
    DataFormat format = DataFormat::Raw;
};

/// The print item's captions.
inline constexpr std::string_view PrintCaption = "&Print";
inline constexpr std::string_view PrintDataCaption = "Print Data";
inline constexpr std::string_view PrintStatsCaption = "Print Stats";
inline constexpr std::string_view PrintResultsCaption = "Print Results";
inline constexpr std::string_view PrintGraphCaption = "Print Graph";

/// The frame's panel shown while no document is open.
inline constexpr std::string_view NoDocumentsPanelText =
    "No Zelkon documents are open. Pull down the File menu and choose New or Open.";

/// Availability of every command whose state changes.  Commands not listed here (new, open,
/// printer setup, exit, the help items) are always available.
struct MenuState {
    // "&Edit"
    bool editMenu = false;
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool transposePaste = false;
    bool appendToNotes = false;
    bool clear = false;
    bool clearAll = false;
    bool selectColumn = false;
    bool selectRow = false;
    bool selectAll = false;
    bool deleteCells = false;
    bool insertCells = false;
    bool viewNotes = false;
    // "&Data"
    bool transform = false;
    bool combineVariables = false;
    bool numberFormat = false;
    bool exclude = false;
    // "&File"
    bool close = false;
    bool save = false;
    bool saveAs = false;
    bool print = false;
    bool import = false;
    bool exportData = false;
    std::string_view printCaption = PrintCaption;
    // "&Steps": the six steps (index 0 is step 1), next and previous
    bool steps[6] = {false, false, false, false, false, false};
    bool nextStep = false;
    bool previousStep = false;
    // "&Window"
    bool cascade = false;
    bool tile = false;
    bool duplicate = false;
    bool nextWindow = false;
    /// The "No Zelkon documents are open..." panel is shown.
    bool noDocumentsPanel = true;
};

/// The menu availability for a context.  On step 2 the two-by-two format shows its
/// two-by-two sub-page, every other format the spreadsheet.
MenuState ComputeMenuState(const MenuContext& context);

}  // namespace zelkon
