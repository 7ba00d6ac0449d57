// The block commands of the data sheet: copy, cut and paste through the system clipboard,
// clear, exclude, and inserting and deleting cells.  Each runs the engine's operation on the
// sheet's selection with the busy cursor and without painting, then shows the sheet anew
// once.
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

#include "data/clipboard_text.h"
#include "data/sheet_editing.h"
#include "document/document.h"
#include "ui/cell_dialogs.h"
#include "ui/spread_grid.h"
#include "ui/spread_grid_model.h"
#include "ui/ui_services.h"

namespace zelkon {

namespace {

/// The busy cursor and no painting for the life of the object.
class BulkScope {
public:
    explicit BulkScope(QWidget* widget) : widget_(widget) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        widget_->setUpdatesEnabled(false);
    }
    ~BulkScope() {
        widget_->setUpdatesEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    BulkScope(const BulkScope&) = delete;
    BulkScope& operator=(const BulkScope&) = delete;

private:
    QWidget* widget_;
};

/// Questions asked in the middle of a bulk operation are shown with the normal cursor.
class BulkPrompts final : public UserPrompts {
public:
    explicit BulkPrompts(UserPrompts& inner) : inner_(inner) {}
    PromptAnswer Ask(std::string_view text, PromptButtons buttons) override {
        QApplication::restoreOverrideCursor();
        const PromptAnswer answer = inner_.Ask(text, buttons);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return answer;
    }
    void Tell(std::string_view text) override {
        QApplication::restoreOverrideCursor();
        inner_.Tell(text);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    void Beep() override { inner_.Beep(); }

private:
    UserPrompts& inner_;
};

}  // namespace

template <typename Work>
void TSpreadGrid::Bulk(Work work) {
    BulkScope scope(this);
    work();
}

void TSpreadGrid::AfterBulkEdit(bool changed) {
    if (!changed) return;
    model_->RefreshAll();
    emit edited();
}

void TSpreadGrid::CopyToClipboard() {
    if (QLineEdit* editor = OpenTitleEditor()) {
        editor->copy();
        return;
    }
    CommitCellEditor();
    UiServices& services = Services();
    const CopyTitlesDialog dialog = [this]() -> std::optional<CopyTitles> {
        TIncludeTitlesForm form(this);
        if (Services().runDialog(form) != QDialog::Accepted) return std::nullopt;
        return form.Titles();
    };
    const auto text = CopySelection(document_, EngineSelection(), services.separators, *services.prompts, dialog);
    if (text) QGuiApplication::clipboard()->setText(ToQt(*text));
}

void TSpreadGrid::CutToClipboard() {
    if (QLineEdit* editor = OpenTitleEditor()) {
        editor->cut();
        return;
    }
    CommitCellEditor();
    UiServices& services = Services();
    const CopyTitlesDialog dialog = [this]() -> std::optional<CopyTitles> {
        TIncludeTitlesForm form(this);
        if (Services().runDialog(form) != QDialog::Accepted) return std::nullopt;
        return form.Titles();
    };
    // The "Copy to clipboard" dialog, like the questions, shows the normal cursor.
    const CopyTitlesDialog dialogInBulk = [&dialog] {
        QApplication::restoreOverrideCursor();
        const auto titles = dialog();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return titles;
    };
    std::optional<std::string> text;
    Bulk([&] {
        BulkPrompts prompts(*services.prompts);
        text = CutSelection(document_, EngineSelection(), services.separators, prompts, dialogInBulk);
    });
    if (!text) return;
    QGuiApplication::clipboard()->setText(ToQt(*text));
    AfterBulkEdit(true);
}

void TSpreadGrid::PasteFromClipboard(bool transpose) {
    if (QLineEdit* editor = OpenTitleEditor()) {
        editor->paste();
        return;
    }
    CommitCellEditor();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (mime == nullptr || !mime->hasText()) return;
    const std::string text = FromQt(mime->text());
    UiServices& services = Services();
    bool pasted = false;
    Bulk([&] {
        BulkPrompts prompts(*services.prompts);
        pasted = PasteText(document_, EngineSelection(), text, transpose, services.separators, prompts);
    });
    AfterBulkEdit(pasted);
}

void TSpreadGrid::ClearSelection() {
    CommitPendingEdits();
    bool changed = false;
    Bulk([&] { changed = zelkon::ClearSelection(document_, EngineSelection()); });
    AfterBulkEdit(changed);
}

void TSpreadGrid::ToggleExclusion() {
    // A contingency table's counts cannot be excluded.
    if (document_.Format() == DataFormat::LargerTable) return;
    CommitPendingEdits();
    Bulk([&] { zelkon::ToggleExclusion(document_, EngineSelection()); });
    AfterBulkEdit(true);
}

void TSpreadGrid::InsertCells() {
    TInsertForm form(this);
    ShiftSelection(form, zelkon::InsertCells);
}

void TSpreadGrid::DeleteCells() {
    TDeleteForm form(this);
    ShiftSelection(form, zelkon::DeleteCells);
}

void TSpreadGrid::ShiftSelection(TShiftForm& form,
                                 void (*shift)(Document&, const Selection&, ShiftMode)) {
    CommitPendingEdits();
    const Selection selection = EngineSelection();
    std::optional<ShiftMode> mode = ShiftModeForSelection(selection.kind);
    if (!mode) {
        const bool accepted = Services().runDialog(form) == QDialog::Accepted;
        // The sheet takes the keyboard back from the dialog.
        setFocus(Qt::OtherFocusReason);
        if (!accepted) return;
        mode = form.Mode();
    }
    Bulk([&] { shift(document_, selection, *mode); });
    AfterBulkEdit(true);
}

}  // namespace zelkon
