#include "ui/results_viewer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

#include "core/results_report.h"
#include "ui/ui_services.h"

namespace zelkon {

QFont ReportFont() {
    const QStringList families = QFontDatabase::families();
    for (const QString& name : {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")}) {
        if (families.contains(name)) {
            QFont font(name);
            font.setStyleHint(QFont::Monospace);
            font.setFixedPitch(true);
            return font;
        }
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

namespace {

/// Appends one stored line, its switch bytes turned into character formats.
void AppendStyledLine(QTextCursor& cursor, const std::string& line, bool& bold, bool& underline,
                      bool& italic) {
    QString run;
    auto flush = [&] {
        if (run.isEmpty()) return;
        QTextCharFormat format;
        format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        format.setFontUnderline(underline);
        format.setFontItalic(italic);
        cursor.insertText(run, format);
        run.clear();
    };
    for (char ch : line) {
        if (ch == ResultsReport::Emphasis1 || ch == ResultsReport::Emphasis2 ||
            ch == ResultsReport::Emphasis3) {
            flush();
            if (ch == ResultsReport::Emphasis1) bold = !bold;
            if (ch == ResultsReport::Emphasis2) underline = !underline;
            if (ch == ResultsReport::Emphasis3) italic = !italic;
            continue;
        }
        run += QChar(static_cast<unsigned char>(ch));
    }
    flush();
}

/// The text of a selection with the editor's paragraph separators as CR LF.
QString WithCrLf(QString text) {
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

}  // namespace

TResultsViewer::TResultsViewer(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("ResultsViewer"));
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFont(ReportFont());
    copyAction_ = new QAction(QStringLiteral("&Copy"), this);
    appendAction_ = new QAction(QStringLiteral("Append to Notes"), this);
    selectAllAction_ = new QAction(QStringLiteral("&Select All"), this);
    connect(copyAction_, &QAction::triggered, this, &TResultsViewer::CopyToClipboard);
    connect(appendAction_, &QAction::triggered, this, &TResultsViewer::appendToNotesRequested);
    connect(selectAllAction_, &QAction::triggered, this, &QPlainTextEdit::selectAll);
    SetReport(nullptr);
}

void TResultsViewer::SetReport(const ResultsReport* report) {
    report_ = report;
    Refresh();
}

void TResultsViewer::Refresh() {
    clear();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    if (report_ == nullptr) {
        for (std::size_t n = 1; n <= ResultsReport::MinFinishedLines; ++n) {
            if (n > 1) cursor.insertBlock();
            cursor.insertText(QStringLiteral("Text line #%1").arg(n));
        }
    } else {
        bool bold = false;
        bool underline = false;
        bool italic = false;
        const std::vector<std::string> lines = report_->Lines();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            AppendStyledLine(cursor, lines[i], bold, underline, italic);
        }
    }
    cursor.endEditBlock();
    moveCursor(QTextCursor::Start);
    ensureCursorVisible();
}

void TResultsViewer::CopyToClipboard() {
    const QTextCursor cursor = textCursor();
    const QString text = cursor.hasSelection() ? cursor.selectedText() : toPlainText().replace(
                                                                              QLatin1Char('\n'), QChar::ParagraphSeparator);
    QApplication::clipboard()->setText(WithCrLf(text));
}

ReportSelection TResultsViewer::Selection() const {
    const QTextCursor cursor = textCursor();
    ReportSelection selection;
    if (!cursor.hasSelection()) return selection;
    const QTextBlock first = document()->findBlock(cursor.selectionStart());
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    selection.firstLine = first.blockNumber();
    selection.firstColumn = cursor.selectionStart() - first.position();
    selection.lastLine = last.blockNumber();
    selection.lastColumn = cursor.selectionEnd() - last.position();
    return selection;
}

void TResultsViewer::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(copyAction_);
    menu.addAction(appendAction_);
    menu.addAction(selectAllAction_);
    menu.exec(event->globalPos());
}

}  // namespace zelkon
