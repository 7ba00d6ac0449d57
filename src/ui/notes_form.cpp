// The "Zelkon Notes" window and its editor.
#include "ui/notes_form.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QStyle>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QVBoxLayout>

#include "core/platform.h"
#include "data/data_messages.h"
#include "data/notes.h"
#include "document/document.h"
#include "ui/results_viewer.h"
#include "ui/ui_services.h"

namespace zelkon {

namespace {

/// Column at which the editor wraps its lines.
constexpr int NotesWrapColumn = 70;

// The text a key press would insert, empty for keys that insert nothing.
QString InsertedText(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return QStringLiteral("\n");
    const QString text = event.text();
    if (text.isEmpty()) return {};
    for (const QChar c : text) {
        if (!c.isPrint() && c != QLatin1Char('\t')) return {};
    }
    return text;
}

}  // namespace

// TNotesEditor --------------------------------------------------------------------------------

TNotesEditor::TNotesEditor(QWidget* parent) : QTextEdit(parent) {
    setObjectName(QStringLiteral("NotesEditor"));
    setAcceptRichText(false);
    QFont font = ReportFont();
    font.setPointSize(10);
    setFont(font);
    document()->setDefaultFont(font);
    setLineWrapMode(QTextEdit::FixedColumnWidth);
    setLineWrapColumnOrWidth(NotesWrapColumn);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ApplyMargins();

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("NotesPopupMenu"));
    const auto item = [this](const char* caption, const char* name, const QKeySequence& key) {
        auto* action = popup_->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        return action;
    };
    cut_ = item("&Cut", "NotesCutItem", QKeySequence(Qt::CTRL | Qt::Key_X));
    copy_ = item("&Copy", "NotesCopyItem", QKeySequence(Qt::CTRL | Qt::Key_C));
    paste_ = item("&Paste", "NotesPasteItem", QKeySequence(Qt::CTRL | Qt::Key_V));
    popup_->addSeparator();
    selectAll_ = item("Select All", "NotesSelectAllItem", QKeySequence(Qt::CTRL | Qt::Key_A));
    popup_->addSeparator();
    print_ = item("P&rint", "NotesPrintItem", QKeySequence());
    connect(cut_, &QAction::triggered, this, &QTextEdit::cut);
    connect(copy_, &QAction::triggered, this, &QTextEdit::copy);
    connect(paste_, &QAction::triggered, this, &QTextEdit::paste);
    connect(selectAll_, &QAction::triggered, this, &QTextEdit::selectAll);
    connect(print_, &QAction::triggered, this, &TNotesEditor::printRequested);
}

void TNotesEditor::ApplyMargins() {
    // Margins of two and five characters' width inside the text area.
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    QTextFrameFormat format = document()->rootFrame()->frameFormat();
    format.setLeftMargin(2 * charWidth);
    format.setRightMargin(5 * charWidth);
    document()->rootFrame()->setFrameFormat(format);
}

std::size_t TNotesEditor::EngineLength(const QString& text) {
    std::size_t length = 0;
    for (const QChar c : text) {
        length += (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator ||
                   c == QChar::LineSeparator)
                      ? 2
                      : 1;
    }
    return length;
}

std::string TNotesEditor::EngineText() const {
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQt(text);
}

void TNotesEditor::SetEngineText(std::string_view text) {
    QString qt = ToQt(text);
    qt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    qt.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(qt);
    ApplyMargins();
    moveCursor(QTextCursor::End);
}

bool TNotesEditor::Fits(const QString& inserted) const {
    const std::size_t current = EngineLength();
    const std::size_t replaced = EngineLength(textCursor().selectedText());
    return current - replaced + EngineLength(inserted) <= NotesEditorLimit;
}

void TNotesEditor::keyPressEvent(QKeyEvent* event) {
    const QString inserted = InsertedText(*event);
    if (!inserted.isEmpty() && !Fits(inserted)) {
        event->accept();
        Services().prompts->Beep();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void TNotesEditor::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || !source->hasText()) return;
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!Fits(text)) {
        Services().prompts->Beep();
        return;
    }
    textCursor().insertText(text);
    ensureCursorVisible();
}

void TNotesEditor::contextMenuEvent(QContextMenuEvent* event) {
    const bool selected = textCursor().hasSelection();
    cut_->setEnabled(selected && !isReadOnly());
    copy_->setEnabled(selected);
    paste_->setEnabled(canPaste());
    popup_->exec(event->globalPos());
}

// TNotesForm ----------------------------------------------------------------------------------

TNotesForm::TNotesForm(Document& document, QWidget* parent)
    : QWidget(parent, Qt::Window), document_(document) {
    setObjectName(QStringLiteral("NotesForm"));
    UpdateCaption();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    editor_ = new TNotesEditor;
    layout->addWidget(editor_);
    // Every edit is stored, so the document's notes are always those the window shows.
    connect(editor_, &QTextEdit::textChanged, this, [this] {
        if (!loading_) StoreNotes();
    });
    connect(editor_, &TNotesEditor::printRequested, this, [this] {
        StoreNotes();
        emit printRequested();
    });
    const int charWidth = editor_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    resize(charWidth * 80 + 40, editor_->fontMetrics().lineSpacing() * 24);
    LoadNotes();
}

QRect NotesWindowPlace(const QRect& area, const QSize& wanted, int titleBar) {
    constexpr int Margin = 12;
    const int width = std::max(1, std::min(wanted.width(), area.width() - 2 * Margin));
    const int height = std::max(1, std::min(wanted.height(), area.height() - 2 * Margin - titleBar));
    // The frame's top-left corner and the size of the window inside the frame.
    return {area.right() + 1 - Margin - width, area.top() + Margin, width, height};
}

void TNotesForm::UpdateCaption() {
    const QString name = QFileInfo(QFile::decodeName(QByteArray::fromStdString(document_.FileName()))).fileName();
    QString caption = ToQt(NotesWindowCaption);
    if (!name.isEmpty()) caption += QStringLiteral(" - ") + name;
    setWindowTitle(caption);
}

void TNotesForm::showEvent(QShowEvent* event) {
    UpdateCaption();
    // The first time it shows, the window goes inside the main window's document area, clear
    // of its menus and tool bar.
    if (!placed_ && parentWidget() != nullptr) {
        placed_ = true;
        QWidget* main = parentWidget()->window();
        QRect area = main->frameGeometry();
        if (auto* frame = qobject_cast<QMainWindow*>(main); frame != nullptr && frame->centralWidget() != nullptr) {
            const QWidget* centre = frame->centralWidget();
            area = QRect(centre->mapToGlobal(QPoint(0, 0)), centre->size());
        }
        const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
        const QRect place = NotesWindowPlace(area, size(), titleBar);
        resize(place.size());
        move(place.topLeft());
    }
    QWidget::showEvent(event);
}

void TNotesForm::LoadNotes() {
    loading_ = true;
    editor_->SetEngineText(zelkon::LoadNotes(document_.Notes()));
    loading_ = false;
}

bool TNotesForm::StoreNotes() {
    std::string notes = zelkon::StoreNotes(editor_->EngineText());
    // Text after an end-of-text mark in the buffer is not part of the notes.
    if (notes == zelkon::LoadNotes(document_.Notes())) return false;
    document_.Notes() = std::move(notes);
    // The notes take no part in the analysis: the document is changed, not in need of a run.
    document_.SetModified(true);
    emit edited();
    return true;
}

bool TNotesForm::AppendLines(const std::vector<std::string>& lines, UserPrompts& prompts) {
    std::string trial = editor_->EngineText();
    for (const std::string& line : lines) {
        if (!AppendNoteLine(trial, line)) {
            prompts.Tell(NotesTooLargeMessage);
            return false;
        }
    }
    loading_ = true;
    editor_->SetEngineText(trial);
    loading_ = false;
    StoreNotes();
    return true;
}

std::size_t TNotesForm::Room() const { return NotesRoom(editor_->EngineText()); }

void TNotesForm::closeEvent(QCloseEvent* event) {
    StoreNotes();
    event->accept();
}

}  // namespace zelkon
