// TMainForm: the application frame.  It holds up to ten document windows in a multiple-
// document area and owns what is not one document's: the menus, toolbar and step buttons and
// their routing to the active document, creating, opening, saving, duplicating and closing
// documents, the recent files, the settings file, the guide and the help.
#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>

#include "app/settings_file.h"
#include "document/menu_state.h"
#include "document/steps.h"

class QAbstractButton;
class QAction;
class QButtonGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QToolButton;

namespace zelkon {

class TAnalysisForm;
class THelpBrowser;

/// Messages of the main window.
inline constexpr char TooManyFilesMessage[] =
    "You can open up to 10 files (data sets) at one time. Close one and try again.";
inline constexpr char FileNotFoundMessage[] = "File not found.";
inline constexpr char ConfirmDeleteAllMessage[] = "Confirm that you want to delete all your data?";
inline constexpr char DuplicateFileName[] = "ZELKON$$.TMP";

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    /// Reads the settings file and the separators, sizes the window and builds the menus.
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    /// The settings file: ZELKON.INI in the folder "Zelkon" of the user's settings folder.
    static QString SettingsPath();

    // Documents --------------------------------------------------------------------------
    /// A new document window: read from `fileName` in the format of `formatCode` when a name
    /// is given (as an untitled copy when `copyFlag` is set), else empty on step 1.  Null when
    /// ten are open or the file could not be read.
    TAnalysisForm* NewDocument(const QString& fileName = {}, int formatCode = 0, bool copyFlag = false);
    /// Opens a data file (refusing files that cannot be read, are not data files or are too
    /// new); an active document without content is closed first.  A file that is open already
    /// is not opened twice: its window comes to the front.
    bool OpenFile(const QString& fileName);
    /// The open document read from (or saved as) the file, if any.
    TAnalysisForm* FormOfFile(const QString& fileName) const;
    /// Makes a document the active window.
    void ActivateForm(TAnalysisForm* form);
    /// Saves a document, asking for a name when `saveAs` is set or it has none yet.  True
    /// when the file was written.
    bool SaveDocument(TAnalysisForm* form, bool saveAs);
    void AddRecentFile(const QString& fileName);
    /// The close query of a document: false while a calculation runs or when the user
    /// cancels (or a save asked for fails).
    bool QueryClose(TAnalysisForm* form);
    bool CloseDocument(TAnalysisForm* form);

    TAnalysisForm* ActiveForm() const;
    QList<TAnalysisForm*> Forms() const;
    QMdiSubWindow* SubWindowOf(const TAnalysisForm* form) const;

    // Commands ---------------------------------------------------------------------------
    void FileNewClick();
    void FileOpenClick();
    void FileCloseClick();
    void DuplicateClick();
    void ClearAllClick();
    void ExitClick();
    void OpenRecentFile(int index);
    /// Window > Tile: the documents side by side inside the document area at its current
    /// size; the main window keeps its size and state.
    void TileClick();
    /// Another copy asked this one to come to the front: a minimised window is restored to
    /// the state it had (maximised or not), then raised.
    void BringToFront();
    /// Another copy handed over a file: this copy comes to the front and opens it (or brings
    /// its window to the front when it is open already).
    void HandOverFile(const QString& fileName);
    /// Shows the window at start-up, maximised when it was left so.
    void ShowAtStart();
    /// After the first document shows its start page: a window whose size was not stored
    /// grows to show that page whole, within the screen's available area, and centred there.
    void FitFirstWindow();
    /// The size the first window needs to show the start page whole, with the menus, tool
    /// bars and status bar.
    QSize StartPageWindowSize();
    /// The command-line argument handled at the first activation of the window.
    void SetStartArgument(const QString& argument);
    /// First activation: opens the file named on the command line, or creates a document
    /// (once; later calls do nothing).
    void FirstActivation(const QString& argument);
    /// The guide on the active document's step (turns the show-hints setting on).
    void ShowGuide();
    void ShowHelpTopic(int topic);
    void ShowHelpPage(const QString& page);
    /// The two help buttons at the lower left, whose captions and topics follow the step.
    void HelpButtonClick(int button);
    /// The status panel with a message and a progress meter; the window is disabled meanwhile.
    void ShowStatus(const QString& text, bool withTimer = false);
    void HideStatus();

    /// Brings menus, toolbar, step buttons and the no-documents panel up to date.
    void UpdateMenus();
    /// Writes the settings file now (also done at exit).
    bool SaveSettings();

    ZelkonSettings& Settings() { return settings_; }
    /// A menu command by its object name ("FileSaveItem", "RecentFile1", ...).
    QAction* Action(const QString& name) const;
    QToolButton* StepButton(Step step) const { return stepButtons_[static_cast<std::size_t>(step) - 1]; }
    QToolButton* BackButton() const { return backButton_; }
    QToolButton* ForwardButton() const { return forwardButton_; }
    QPushButton* HelpButton(int button) const { return helpButtons_[static_cast<std::size_t>(button)]; }
    QLabel* NoDocumentsPanel() const { return noDocuments_; }
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* WindowMenu() const { return windowMenu_; }
    /// The Window menu's entries of the open documents, in order.
    QList<QAction*> WindowListActions() const { return windowListActions_; }
    THelpBrowser* HelpBrowser() const { return help_; }
    QMdiArea* MdiArea() const { return mdi_; }

signals:
    /// The start-up work of the first activation is done (the splash screen may close).
    void firstActivated();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    QAction* MakeAction(QMenu* menu, const char* name, const char* caption, const QKeySequence& key = {});
    void BuildMenus();
    void BuildToolBar();
    void BuildStepBar();
    void RebuildRecentMenu();
    void ApplyStartSize();
    /// Once the window manager has framed the window: the frame is kept inside the screen.
    void FitFrameToScreen();
    void RebuildWindowList();
    void ConnectForm(TAnalysisForm* form);
    void FormStepChanged(TAnalysisForm* form);
    void ShowStepOfActive(Step step);
    std::vector<std::string> OpenNames() const;
    bool Busy() const;

    ZelkonSettings settings_;
    /// Why the settings file cannot be used (told once, at the first activation); while set,
    /// the settings are not saved.
    std::string settingsRefusal_;
    QHash<QString, QAction*> actions_;
    QList<QPointer<TAnalysisForm>> forms_;
    QStackedWidget* centre_ = nullptr;
    QMdiArea* mdi_ = nullptr;
    QLabel* noDocuments_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QAction* windowListSeparator_ = nullptr;
    QList<QAction*> windowListActions_;
    bool fitFramePending_ = true;
    /// No size was stored: the first window takes the size of the start page.
    bool sizeFromStartPage_ = false;
    QList<QAction*> recentActions_;
    QAction* recentSeparator_ = nullptr;
    std::array<QToolButton*, 6> stepButtons_{};
    QButtonGroup* stepGroup_ = nullptr;
    QToolButton* backButton_ = nullptr;
    QToolButton* forwardButton_ = nullptr;
    std::array<QPushButton*, 2> helpButtons_{};
    QLabel* statusText_ = nullptr;
    QProgressBar* statusMeter_ = nullptr;
    THelpBrowser* help_ = nullptr;
    QString argument_;
    bool firstActivation_ = true;
    bool startPending_ = false;
    bool showingGuide_ = false;
};

}  // namespace zelkon
