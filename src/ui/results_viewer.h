// TResultsViewer: the read-only view of a results report.  Each indexed line of the report is
// shown in a fixed-pitch font, the switch bytes 128, 129 and 130 turning bold, underline and
// italic on and off.  Its pop-up menu offers "&Copy", "Append to Notes" and "&Select All".
#pragma once

#include <QPlainTextEdit>

#include "data/notes.h"

class QAction;

namespace zelkon {

class ResultsReport;

/// The fixed-pitch font of reports: "DejaVu Sans Mono", else "Liberation Mono", else the
/// system's fixed font.
QFont ReportFont();

class TResultsViewer : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TResultsViewer(QWidget* parent = nullptr);

    /// Binds a report (or none: line n then reads "Text line #n") and shows it from the top.
    void SetReport(const ResultsReport* report);
    /// Shows the bound report again.
    void Refresh();

    /// Copies the selection, or the whole report when nothing is selected, as text with
    /// CR LF line ends.
    void CopyToClipboard();
    /// The selection in report coordinates (lines and columns of the text without its
    /// emphasis switches), as "Append to Notes" takes it.
    ReportSelection Selection() const;

    QAction* CopyAction() const { return copyAction_; }
    QAction* AppendAction() const { return appendAction_; }
    QAction* SelectAllAction() const { return selectAllAction_; }

signals:
    void appendToNotesRequested();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const ResultsReport* report_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* appendAction_ = nullptr;
    QAction* selectAllAction_ = nullptr;
};

}  // namespace zelkon
