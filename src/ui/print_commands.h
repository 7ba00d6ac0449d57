// The print commands of the desktop program: Print (what the step shown prints, after the
// print dialog, with "Printing...." and Cancel while the pages are drawn), the print preview,
// Printer Setup (the page setup dialog) and the printing of the notes.  Every modal dialog
// runs through Services().runDialog.
#pragma once

#include <optional>

class QPrinter;
class QWidget;

namespace zelkon {

// Only declared here, so that the windows that print include no engine or render header
// through this one.
class Document;
struct GraphModel;
struct PrintJob;
enum class PrintOutcome;

/// The printer every print command uses, so that the choices of Printer Setup and of the print
/// dialog stay for the rest of the program's run.
QPrinter& ProgramPrinter();

/// Prints a job on `printer` after the print dialog, showing "Printing...." with Cancel and
/// processing pending input after each line; a page range chosen in the dialog prints only
/// those pages.  Nothing when the job has nothing to print or
/// the print dialog was cancelled; otherwise how the printing ended.
std::optional<PrintOutcome> PrintJobWithDialog(QWidget* parent, QPrinter& printer, const PrintJob& job,
                                               const GraphModel* graph);

/// The print preview of a job on `printer` (nothing for a job with nothing to print).
void PreviewPrintJob(QWidget* parent, QPrinter& printer, const PrintJob& job, const GraphModel* graph);

/// "Printer Setup": the page setup dialog of the program's printer.
void PrinterSetup(QWidget* parent);

/// The notes window's "P&rint": the notes' lines under the title "Notes", after the print
/// dialog, on the program's printer.
void PrintNotes(QWidget* parent, const Document& document);

}  // namespace zelkon
