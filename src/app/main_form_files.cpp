// The main window's document operations: new, open, save, close, duplicate, recent files,
// "Clear All" and exit.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include "app/main_form.h"
#include "app/new_file_form.h"
#include "app/shell_rules.h"
#include "core/calc_status.h"
#include "document/data_file.h"
#include "document/document.h"
#include "document/steps.h"
#include "ui/analysis_form.h"
#include "ui/ui_services.h"

namespace zelkon {

namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

/// Told when a save would replace a file that is not a data file.
std::string NotReplacedMessage(const std::string& name) {
    return "The file \"" + name + "\" is not an Zelkon data file, so it was not replaced. "
           "Save under another name.";
}
QString FromLocal(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

QStringList DataFileFilters() {
    return {QStringLiteral("Zelkon data file (*.ZLD *.zld)"), QStringLiteral("Any file (*)")};
}

}  // namespace

TAnalysisForm* TMainForm::ActiveForm() const {
    QMdiSubWindow* sub = mdi_->currentSubWindow();
    auto* form = sub != nullptr ? qobject_cast<TAnalysisForm*>(sub->widget()) : nullptr;
    if (form != nullptr && forms_.contains(form)) return form;
    const QList<TAnalysisForm*> open = Forms();
    return open.isEmpty() ? nullptr : open.constLast();
}

QList<TAnalysisForm*> TMainForm::Forms() const {
    QList<TAnalysisForm*> open;
    for (const QPointer<TAnalysisForm>& form : forms_) {
        if (form != nullptr) open << form.data();
    }
    return open;
}

QMdiSubWindow* TMainForm::SubWindowOf(const TAnalysisForm* form) const {
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (sub->widget() == form) return sub;
    }
    return nullptr;
}

std::vector<std::string> TMainForm::OpenNames() const {
    std::vector<std::string> names;
    for (TAnalysisForm* form : Forms()) names.push_back(form->Doc().FileName());
    return names;
}

void TMainForm::ConnectForm(TAnalysisForm* form) {
    form->SetCloseQuery([this, form] { return QueryClose(form); });
    connect(form, &TAnalysisForm::stepChanged, this, [this, form] { FormStepChanged(form); });
    connect(form, &TAnalysisForm::formatChanged, this, &TMainForm::UpdateMenus);
}

TAnalysisForm* TMainForm::NewDocument(const QString& fileName, int formatCode, bool copyFlag) {
    if (Forms().size() >= MaxDocuments) {
        Services().prompts->Tell(TooManyFilesMessage);
        return nullptr;
    }
    BusyCursor busy;
    if (!Forms().isEmpty()) mdi_->cascadeSubWindows();
    auto* form = new TAnalysisForm;
    Document& doc = form->Doc();
    if (!fileName.isEmpty()) {
        ShowStatus(ToQt(ReadingDataStatus));
        const std::int32_t result = LoadDataFile(doc, LocalPath(fileName), formatCode, Services().separators);
        HideStatus();
        if (result != 0 && result != IoErrorInvalidNumericFormat) {
            delete form;
            Services().prompts->Tell(result == DataFileUnknownCode ? std::string(NotDataFileMessage)
                                                                   : IoErrorMessageText(result));
            return nullptr;
        }
        if (result == IoErrorInvalidNumericFormat) Services().prompts->Tell(IoErrorText(result));
        RecountDataColumns(doc.Table(), doc.Choices());
        if (copyFlag) {
            doc.SetFileName(UntitledName(OpenNames()));
            doc.SetUntitled(true);
        } else {
            doc.SetFileName(LocalPath(QFileInfo(fileName).absoluteFilePath()));
            doc.SetUntitled(false);
            AddRecentFile(FromLocal(doc.FileName()));
        }
        doc.SetModified(false);
        doc.SetNeedsRecalculation(true);
        form->RebuildPages();
    } else {
        doc.SetFileName(UntitledName(OpenNames()));
        doc.SetUntitled(true);
    }
    forms_ << form;
    ConnectForm(form);
    QMdiSubWindow* sub = mdi_->addSubWindow(form);
    // The window menu of a document window has its own Close key (Ctrl+W), which would make
    // File > Close's ambiguous: the File menu's command closes the document, asking to save.
    if (QMenu* system = sub->systemMenu()) {
        for (QAction* action : system->actions()) action->setShortcuts({});
    }
    sub->setWindowTitle(FromLocal(doc.FileName()));
    connect(form, &TAnalysisForm::modified, sub, [sub, form] {
        sub->setWindowTitle(FromLocal(form->Doc().FileName()));
    });
    sub->showMaximized();
    mdi_->setActiveSubWindow(sub);
    UpdateMenus();
    form->ShowStep(Step::Start);
    return form;
}

TAnalysisForm* TMainForm::FormOfFile(const QString& fileName) const {
    const QFileInfo wanted(fileName);
    const QString canonical = wanted.canonicalFilePath();
    for (TAnalysisForm* form : Forms()) {
        if (form->Doc().Untitled()) continue;
        const QFileInfo open(FromLocal(form->Doc().FileName()));
        const QString openCanonical = open.canonicalFilePath();
        if (!canonical.isEmpty() && canonical == openCanonical) return form;
        if (open.absoluteFilePath() == wanted.absoluteFilePath()) return form;
    }
    return nullptr;
}

void TMainForm::ActivateForm(TAnalysisForm* form) {
    QMdiSubWindow* sub = SubWindowOf(form);
    if (sub == nullptr) return;
    if (sub->isMinimized()) sub->showNormal();
    mdi_->setActiveSubWindow(sub);
    UpdateMenus();
}

bool TMainForm::OpenFile(const QString& fileName) {
    if (Busy()) return false;
    const QString path = QFileInfo(fileName).absoluteFilePath();
    // Two windows of one file could save over each other: the open one comes to the front.
    if (TAnalysisForm* open = FormOfFile(path)) {
        ActivateForm(open);
        return true;
    }
    const DataFileOpenCheck check = CheckDataFileForOpening(LocalPath(path));
    if (check.code == 0) {
        // A file that cannot be read says why ("Error: #2  File not found."); any other text
        // is not a data file.
        Services().prompts->Tell(check.message.empty() ? std::string(NotDataFileMessage) : check.message);
        return false;
    }
    // A fresh, empty document makes room for the file instead of staying behind it.
    if (TAnalysisForm* active = ActiveForm(); active != nullptr && !HasContent(active->Doc())) {
        if (!CloseDocument(active)) return false;
    }
    return NewDocument(path, check.code, false) != nullptr;
}

bool TMainForm::SaveDocument(TAnalysisForm* form, bool saveAs) {
    if (form == nullptr || Busy()) return false;
    form->CommitPendingEdits();
    Document& doc = form->Doc();
    QString name = FromLocal(doc.FileName());
    bool ask = saveAs || name.isEmpty() || doc.Untitled();
    for (;;) {
        if (ask) {
            FileDialogRequest request;
            request.kind = FileDialogRequest::Kind::Save;
            request.title = name.isEmpty() ? QStringLiteral("Save") : QStringLiteral("Save As");
            request.folder = FromLocal(settings_.dataFolder);
            request.fileName = doc.Untitled() && !request.folder.isEmpty()
                                   ? QDir(request.folder).filePath(name)
                                   : name;
            request.filters = DataFileFilters();
            request.defaultSuffix = QStringLiteral("ZLD");
            QString chosen = Services().chooseFile(this, request);
            if (chosen.isEmpty()) return false;
            if (QFileInfo(chosen).suffix().isEmpty()) chosen += QStringLiteral(".ZLD");
            name = QFileInfo(chosen).absoluteFilePath();
        }
        // Only a data file is ever replaced: a text file of numbers, say, stays as it is, and
        // the user picks another name.
        if (!QFileInfo::exists(name) || QFileInfo(name).isDir() || DetectDataFormat(LocalPath(name)) != 0) break;
        Services().prompts->Tell(NotReplacedMessage(FromQt(name)));
        ask = true;
    }
    std::int32_t result = 0;
    {
        BusyCursor busy;
        result = SaveDataFile(doc, LocalPath(name));
    }
    if (result != 0) {
        // A failed save keeps the document's name and flags: nothing was written under the
        // new name.
        Services().prompts->Tell(IoErrorMessageText(result));
        return false;
    }
    doc.SetFileName(LocalPath(name));
    doc.SetUntitled(false);
    doc.SetModified(false);
    AddRecentFile(name);
    if (QMdiSubWindow* sub = SubWindowOf(form)) sub->setWindowTitle(name);
    form->FileNameChanged();
    UpdateMenus();
    return true;
}

void TMainForm::AddRecentFile(const QString& fileName) {
    zelkon::AddRecentFile(settings_.recentFiles, LocalPath(fileName));
    RebuildRecentMenu();
}

void TMainForm::RebuildRecentMenu() {
    for (QAction* action : recentActions_) {
        fileMenu_->removeAction(action);
        delete action;
    }
    recentActions_.clear();
    for (std::size_t i = 0; i < settings_.recentFiles.size(); ++i) {
        const QString caption =
            QStringLiteral("&%1 %2").arg(i + 1).arg(FromLocal(settings_.recentFiles[i]));
        auto* action = new QAction(caption, this);
        action->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        const int index = static_cast<int>(i);
        connect(action, &QAction::triggered, this, [this, index] { OpenRecentFile(index); });
        fileMenu_->addAction(action);
        recentActions_ << action;
    }
    recentSeparator_->setVisible(!recentActions_.isEmpty());
}

void TMainForm::OpenRecentFile(int index) {
    if (Busy() || index < 0 || index >= static_cast<int>(settings_.recentFiles.size())) return;
    const std::string stored = settings_.recentFiles[static_cast<std::size_t>(index)];
    for (TAnalysisForm* form : Forms()) {
        if (form->Doc().FileName() == stored) {
            ActivateForm(form);
            return;
        }
    }
    QString path = FromLocal(stored);
    if (QFileInfo(path).isRelative()) path = QDir(QCoreApplication::applicationDirPath()).filePath(path);
    if (!QFileInfo::exists(path)) {
        Services().prompts->Tell(FileNotFoundMessage);
        return;
    }
    OpenFile(path);
}

bool TMainForm::QueryClose(TAnalysisForm* form) {
    if (Busy()) return false;
    form->CommitPendingEdits();
    Document& doc = form->Doc();
    if (HasContent(doc) && doc.Modified()) {
        const std::string question = "Do you want to save changes to \"" +
                                     FromQt(FromLocal(doc.FileName())) + "\"?";
        switch (Services().prompts->Ask(question, PromptButtons::YesNoCancel)) {
            case PromptAnswer::Yes:
                if (!SaveDocument(form, false)) return false;
                break;
            case PromptAnswer::No: break;
            default: return false;
        }
    }
    forms_.removeAll(form);
    QTimer::singleShot(0, this, &TMainForm::UpdateMenus);
    return true;
}

bool TMainForm::CloseDocument(TAnalysisForm* form) {
    QMdiSubWindow* sub = SubWindowOf(form);
    if (sub == nullptr) return false;
    if (!sub->close()) return false;
    UpdateMenus();
    return true;
}

void TMainForm::FileNewClick() {
    if (Busy()) return;
    if (Forms().isEmpty()) {
        NewDocument();
        return;
    }
    TNewFileForm dialog(this);
    if (Services().runDialog(dialog) != QDialog::Accepted) return;
    switch (dialog.Chosen()) {
        case TNewFileForm::Choice::CloseAndCreate:
            if (TAnalysisForm* active = ActiveForm(); active != nullptr && !CloseDocument(active)) return;
            NewDocument();
            break;
        case TNewFileForm::Choice::CreateAnother: NewDocument(); break;
        case TNewFileForm::Choice::Duplicate: DuplicateClick(); break;
    }
}

void TMainForm::FileOpenClick() {
    if (Busy()) return;
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = QStringLiteral("Open");
    request.filters = DataFileFilters();
    request.defaultSuffix = QStringLiteral("ZLD");
    // The dialog opens again after a file that could not be opened, until one opens or the
    // user cancels.
    for (;;) {
        request.folder = FromLocal(settings_.dataFolder);
        const QString chosen = Services().chooseFile(this, request);
        if (chosen.isEmpty()) return;
        settings_.dataFolder = LocalPath(QFileInfo(chosen).absolutePath());
        if (OpenFile(chosen)) return;
    }
}

void TMainForm::FileCloseClick() {
    if (Busy()) return;
    if (TAnalysisForm* form = ActiveForm()) CloseDocument(form);
}

void TMainForm::DuplicateClick() {
    TAnalysisForm* form = ActiveForm();
    if (Busy() || form == nullptr) return;
    form->CommitPendingEdits();
    // The copy goes through a data file in a private temporary folder, removed afterwards.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        Services().prompts->Tell(std::string("Could not write to ") + DuplicateFileName + ".");
        return;
    }
    const QString path = folder.filePath(QString::fromLatin1(DuplicateFileName));
    const std::int32_t result = SaveDataFile(form->Doc(), LocalPath(path));
    if (result != 0) {
        Services().prompts->Tell("Error #" + std::to_string(result) + " writing to " +
                                 DuplicateFileName + ".");
        return;
    }
    NewDocument(path, DetectDataFormat(LocalPath(path)), true);
}

void TMainForm::ClearAllClick() {
    TAnalysisForm* form = ActiveForm();
    if (Busy() || form == nullptr) return;
    form->CommitPendingEdits();
    if (Services().prompts->Ask(ConfirmDeleteAllMessage, PromptButtons::YesNo) != PromptAnswer::Yes) return;
    {
        BusyCursor busy;
        form->ClearAllData();
    }
    UpdateMenus();
}

void TMainForm::ExitClick() {
    if (Busy()) {
        GlobalCalcStatus().RequestCancel();
        return;
    }
    close();
}

void TMainForm::FirstActivation(const QString& argument) {
    if (!firstActivation_) return;
    firstActivation_ = false;
    startPending_ = false;
    if (!settingsRefusal_.empty()) Services().prompts->Tell(settingsRefusal_);
    if (!argument.isEmpty()) {
        OpenFile(argument);
    } else {
        NewDocument();
    }
    // Now that the start page shows, the first window grows to show it whole.
    QTimer::singleShot(0, this, &TMainForm::FitFirstWindow);
    emit firstActivated();
}

}  // namespace zelkon
