// TNotesForm: the "Zelkon Notes" window of a document, a plain text editor of at most 8000
// characters (a line break counts as the CR LF it is stored as) with word wrap at column 70,
// a fixed-pitch font and a pop-up menu.  The window keeps the document's notes in step with
// its text: every edit is stored back, and lines appended from the results go through it.
#pragma once

#include <QTextEdit>
#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMenu;

namespace zelkon {

class Document;
class UserPrompts;

/// The editor of the notes window (`NotesEditor`): typing, pasting or dropping text that
/// would take it past the limit is refused as a whole (with a beep).
class TNotesEditor : public QTextEdit {
    Q_OBJECT
public:
    explicit TNotesEditor(QWidget* parent = nullptr);

    /// The text in the engine's form: Latin-1, lines separated by CR LF.
    std::string EngineText() const;
    /// Replaces the text by engine text (CR LF or LF line ends); the cursor goes to the end.
    void SetEngineText(std::string_view text);
    /// The text's length in the engine's form (a line break counts 2).
    static std::size_t EngineLength(const QString& text);
    std::size_t EngineLength() const { return EngineLength(toPlainText()); }

    /// The pop-up menu (`NotesPopupMenu`) and its items.
    QMenu* PopupMenu() const { return popup_; }
    QAction* CutItem() const { return cut_; }
    QAction* CopyItem() const { return copy_; }
    QAction* PasteItem() const { return paste_; }
    QAction* SelectAllItem() const { return selectAll_; }
    QAction* PrintItem() const { return print_; }

    /// Whether `inserted` may replace the current selection without passing the limit.
    bool Fits(const QString& inserted) const;

signals:
    void printRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ApplyMargins();

    QMenu* popup_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* selectAll_ = nullptr;
    QAction* print_ = nullptr;
};

/// Where the notes window goes when it first shows: its frame inside `area` (the main
/// window's document area, in screen coordinates), at the right, `wanted` limited to the
/// area less a margin; `titleBar` is the height the window manager's title takes.
QRect NotesWindowPlace(const QRect& area, const QSize& wanted, int titleBar);

class TNotesForm : public QWidget {
    Q_OBJECT
public:
    /// The window over the document's notes (a separate top-level window; `parent` owns it).
    explicit TNotesForm(Document& document, QWidget* parent = nullptr);

    /// The caption: "Zelkon Notes - " and the name of the document's file.
    void UpdateCaption();

    /// The editor takes the document's notes (`LoadNotes`).
    void LoadNotes();
    /// The document's notes take the editor's text (`StoreNotes`); the document is marked
    /// changed when they differ.  Returns whether they changed.
    bool StoreNotes();
    /// `AppendNoteLine` of each line to the editor's text, all or nothing: when the text
    /// would pass 8000 characters the user is told "The text is too large to copy to notes."
    /// and the text stays as it was.  Otherwise the notes are stored.  Returns whether the
    /// lines were appended.
    bool AppendLines(const std::vector<std::string>& lines, UserPrompts& prompts);
    /// 8000 minus the text's length (`NotesRoom`).
    std::size_t Room() const;

    TNotesEditor* NotesEditor() const { return editor_; }

signals:
    /// The notes in the document changed.
    void edited();
    /// "P&rint" was chosen (the notes are stored first).
    void printRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Document& document_;
    TNotesEditor* editor_ = nullptr;
    bool loading_ = false;
    bool placed_ = false;
};

}  // namespace zelkon
