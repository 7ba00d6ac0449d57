#include "app/main_form.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>

#include "app/guide.h"
#include "app/help_browser.h"
#include "app/shell_rules.h"
#include "core/calc_status.h"
#include "document/choice_texts.h"
#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui/print_commands.h"
#include "ui/ui_services.h"

namespace zelkon {

namespace {

/// The help buttons at the lower left: caption and page per step (an empty caption hides
/// the button; "guide" opens the guide, "results" the topic of the analysis that ran).
struct HelpButtonEntry {
    const char* caption;
    const char* page;
};
constexpr std::array<std::array<HelpButtonEntry, 2>, 6> HelpButtons = {{
    {{{"Help", "step1_data_format.html"}, {"Zelkon Guide", "guide"}}},
    {{{"Arrange data", "step2_arrange_data.html"}, {"Import data", "step2_import_data.html"}}},
    {{{"Explain the results", "step3_column_stats.html"}, {"", ""}}},
    {{{"Help me choose", "step4_choose_test.html"}, {"", ""}}},
    {{{"Checklist", "results"}, {"What's next", "step5_whats_next.html"}}},
    {{{"Graph help", "step6_graph.html"}, {"", ""}}},
}};

constexpr std::array<const char*, 6> StepButtonNames = {"StartButton",       "DataTableButton",
                                                        "SummaryStatsButton", "ChooseTestButton",
                                                        "ResultsButton",     "GraphButton"};

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Kestrane Zelkon"));
    settings_ = LoadSettingsFile(QFile::encodeName(SettingsPath()).toStdString(), nullptr,
                                 &settingsRefusal_);
    Services().separators = SystemSeparators();

    centre_ = new QStackedWidget;
    noDocuments_ = new QLabel(ToQt(NoDocumentsPanelText));
    noDocuments_->setObjectName(QStringLiteral("NoDocumentsPanel"));
    noDocuments_->setAlignment(Qt::AlignCenter);
    noDocuments_->setWordWrap(true);
    mdi_ = new QMdiArea;
    mdi_->setObjectName(QStringLiteral("MdiArea"));
    centre_->addWidget(noDocuments_);
    centre_->addWidget(mdi_);
    setCentralWidget(centre_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { UpdateMenus(); });

    BuildMenus();
    BuildToolBar();
    BuildStepBar();
    statusText_ = new QLabel;
    statusText_->setObjectName(QStringLiteral("StatusText"));
    statusMeter_ = new QProgressBar;
    statusMeter_->setRange(0, 0);
    statusMeter_->setMaximumWidth(160);
    statusBar()->addWidget(statusText_, 1);
    statusBar()->addPermanentWidget(statusMeter_);
    statusText_->hide();
    statusMeter_->hide();
    help_ = new THelpBrowser(this);
    RebuildRecentMenu();
    ApplyStartSize();
    UpdateMenus();
}

TMainForm::~TMainForm() {
    // Closing the window afterwards deactivates the document windows: nothing of this form
    // may answer then.
    mdi_->disconnect(this);
}

QString TMainForm::SettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Zelkon/ZELKON.INI");
}

QAction* TMainForm::Action(const QString& name) const {
    if (QAction* action = actions_.value(name)) return action;
    for (QAction* action : recentActions_) {
        if (action->objectName() == name) return action;
    }
    return nullptr;
}

QAction* TMainForm::MakeAction(QMenu* menu, const char* name, const char* caption, const QKeySequence& key) {
    auto* action = new QAction(QString::fromLatin1(caption), this);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) action->setShortcut(key);
    if (menu != nullptr) menu->addAction(action);
    actions_.insert(action->objectName(), action);
    return action;
}

void TMainForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    fileMenu_ = bar->addMenu(QStringLiteral("&File"));
    QMenu* file = fileMenu_;
    connect(MakeAction(file, "FileNewItem", "&New File", QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, &TMainForm::FileNewClick);
    connect(MakeAction(file, "FileOpenItem", "&Open Zelkon File", QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &TMainForm::FileOpenClick);
    connect(MakeAction(file, "FileCloseItem", "&Close", QKeySequence(Qt::CTRL | Qt::Key_W)),
            &QAction::triggered, this, &TMainForm::FileCloseClick);
    connect(MakeAction(file, "FileSaveItem", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, [this] {
                if (!Busy() && ActiveForm() != nullptr) SaveDocument(ActiveForm(), false);
            });
    connect(MakeAction(file, "FileSaveAsItem", "Save &As..."), &QAction::triggered, this, [this] {
        if (!Busy() && ActiveForm() != nullptr) SaveDocument(ActiveForm(), true);
    });
    file->addSeparator();
    connect(MakeAction(file, "FilePrinterSetupItem", "Printer Setup"), &QAction::triggered, this, [this] {
        if (!Busy()) PrinterSetup(this);
    });
    connect(MakeAction(file, "FilePrintItem", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, [this] {
                if (TAnalysisForm* form = ActiveForm(); form != nullptr && !Busy()) form->PrintCommand();
            });
    connect(MakeAction(file, "FilePrintPreviewItem", "Print Pre&view"), &QAction::triggered, this, [this] {
        if (TAnalysisForm* form = ActiveForm(); form != nullptr && !Busy()) form->PrintPreviewCommand();
    });
    file->addSeparator();
    connect(MakeAction(file, "FileImportItem", "&Import Data (text)..."), &QAction::triggered, this, [this] {
        TAnalysisForm* form = ActiveForm();
        if (form == nullptr || Busy()) return;
        QString folder = QFile::decodeName(QByteArray::fromStdString(settings_.importFolder));
        form->ImportCommand(&folder, [this](const QString& text) {
            if (text.isEmpty()) {
                HideStatus();
            } else {
                ShowStatus(text);
            }
        });
        settings_.importFolder = QFile::encodeName(folder).toStdString();
        // After the dialogs the sheet has the keyboard again.
        form->FocusPage();
    });
    connect(MakeAction(file, "FileExportItem", "&Export..."), &QAction::triggered, this, [this] {
        if (TAnalysisForm* form = ActiveForm(); form != nullptr && !Busy()) {
            form->ExportCommand();
            form->FocusPage();
        }
    });
    file->addSeparator();
    connect(MakeAction(file, "FileExitItem", "E&xit Zelkon", QKeySequence(Qt::ALT | Qt::Key_F4)),
            &QAction::triggered, this, &TMainForm::ExitClick);
    recentSeparator_ = file->addSeparator();

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    MakeAction(edit, "EditCutItem", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(MakeAction(edit, "EditCopyItem", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)),
            &QAction::triggered, this, [this] {
                if (TAnalysisForm* form = ActiveForm()) form->CopyCommand();
            });
    MakeAction(edit, "EditPasteItem", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V));
    MakeAction(edit, "EditTransposePasteItem", "T&ranspose Paste");
    connect(MakeAction(edit, "EditAppendNotesItem", "Append to &Notes"), &QAction::triggered, this, [this] {
        if (TAnalysisForm* form = ActiveForm(); form != nullptr && !Busy()) form->AppendToNotesCommand();
    });
    edit->addSeparator();
    MakeAction(edit, "EditClearItem", "Cl&ear", QKeySequence(Qt::Key_Delete));
    connect(MakeAction(edit, "EditClearAllItem", "Clear All"), &QAction::triggered, this,
            &TMainForm::ClearAllClick);
    edit->addSeparator();
    MakeAction(edit, "EditSelectColumnItem", "Select C&olumn", QKeySequence(Qt::CTRL | Qt::Key_Space));
    MakeAction(edit, "EditSelectRowItem", "Select &Row", QKeySequence(Qt::SHIFT | Qt::Key_Space));
    connect(MakeAction(edit, "EditSelectAllItem", "Select &All", QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, this, [this] {
                if (TAnalysisForm* form = ActiveForm()) form->SelectAllCommand();
            });
    edit->addSeparator();
    MakeAction(edit, "EditDeleteCellsItem", "&Delete cells...");
    MakeAction(edit, "EditInsertCellsItem", "&Insert cells...");
    edit->addSeparator();
    connect(MakeAction(edit, "EditViewNotesItem", "View No&tes", QKeySequence(Qt::CTRL | Qt::Key_T)),
            &QAction::triggered, this, [this] {
                if (TAnalysisForm* form = ActiveForm()) form->ViewNotesCommand();
            });

    QMenu* data = bar->addMenu(QStringLiteral("&Data"));
    connect(MakeAction(data, "DataTransformItem", "&Transform"), &QAction::triggered, this, [this] {
        if (TAnalysisForm* form = ActiveForm(); form != nullptr && !Busy()) form->TransformCommand();
    });
    connect(MakeAction(data, "DataCombineItem", "Combine &Variables"), &QAction::triggered, this, [this] {
        if (TAnalysisForm* form = ActiveForm(); form != nullptr && !Busy()) form->CombineCommand();
    });
    connect(MakeAction(data, "DataNumberFormatItem", "&Number Format"), &QAction::triggered, this, [this] {
        if (TAnalysisForm* form = ActiveForm(); form != nullptr && !Busy()) form->NumberFormatCommand();
    });
    MakeAction(data, "DataExcludeItem", "&Exclude", QKeySequence(Qt::CTRL | Qt::Key_E));

    // The commands of the data sheet go to the active document, which passes them to its
    // spreadsheet when step 2 shows it.
    using SheetCommand = void (*)(TAnalysisForm*);
    const std::pair<const char*, SheetCommand> sheetCommands[] = {
        {"EditCutItem", [](TAnalysisForm* f) { f->CutCommand(); }},
        {"EditPasteItem", [](TAnalysisForm* f) { f->PasteCommand(false); }},
        {"EditTransposePasteItem", [](TAnalysisForm* f) { f->PasteCommand(true); }},
        {"EditClearItem", [](TAnalysisForm* f) { f->ClearCommand(); }},
        {"EditSelectColumnItem", [](TAnalysisForm* f) { f->SelectColumnCommand(); }},
        {"EditSelectRowItem", [](TAnalysisForm* f) { f->SelectRowCommand(); }},
        {"EditDeleteCellsItem", [](TAnalysisForm* f) { f->DeleteCellsCommand(); }},
        {"EditInsertCellsItem", [](TAnalysisForm* f) { f->InsertCellsCommand(); }},
        {"DataExcludeItem", [](TAnalysisForm* f) { f->ExcludeCommand(); }},
    };
    for (const auto& [name, command] : sheetCommands) {
        connect(Action(QString::fromLatin1(name)), &QAction::triggered, this, [this, command = command] {
            if (TAnalysisForm* form = ActiveForm(); form != nullptr && !Busy()) command(form);
        });
    }

    QMenu* steps = bar->addMenu(ToQt(texts::StepsMenu));
    connect(MakeAction(steps, "StepsNextItem", "&Next Step", QKeySequence(Qt::Key_F10)),
            &QAction::triggered, this, [this] {
                if (TAnalysisForm* form = ActiveForm(); form != nullptr && !Busy()) form->NextStep();
            });
    connect(MakeAction(steps, "StepsPreviousItem", "&Previous Step", QKeySequence(Qt::Key_F9)),
            &QAction::triggered, this, [this] {
                if (TAnalysisForm* form = ActiveForm(); form != nullptr && !Busy()) form->PreviousStep();
            });
    steps->addSeparator();
    for (const StepInfo& info : StepInfos()) {
        const QByteArray name = QByteArray("Step") + QByteArray::number(static_cast<int>(info.step)) + "Item";
        const QByteArray caption = QByteArray(info.menuItem.data(), static_cast<int>(info.menuItem.size()));
        QAction* action = MakeAction(steps, name.constData(), caption.constData(),
                                     QKeySequence(ToQt(info.shortcut)));
        const Step step = info.step;
        connect(action, &QAction::triggered, this, [this, step] { ShowStepOfActive(step); });
    }

    QMenu* window = bar->addMenu(QStringLiteral("&Window"));
    windowMenu_ = window;
    window->setObjectName(QStringLiteral("WindowMenu"));
    connect(MakeAction(window, "WindowCascadeItem", "&Cascade"), &QAction::triggered, this, [this] {
        if (!Busy()) mdi_->cascadeSubWindows();
    });
    connect(MakeAction(window, "WindowTileItem", "&Tile"), &QAction::triggered, this, &TMainForm::TileClick);
    connect(MakeAction(window, "WindowDuplicateItem", "&Duplicate"), &QAction::triggered, this,
            &TMainForm::DuplicateClick);
    connect(MakeAction(window, "WindowNextItem", "Next Window", QKeySequence(Qt::CTRL | Qt::Key_F6)),
            &QAction::triggered, mdi_, &QMdiArea::activateNextSubWindow);
    // Then the open documents, the active one checked.
    windowListSeparator_ = window->addSeparator();
    connect(window, &QMenu::aboutToShow, this, &TMainForm::RebuildWindowList);

    QMenu* helpMenu = bar->addMenu(QStringLiteral("&Help"));
    connect(MakeAction(helpMenu, "HelpContentsItem", "&Contents", QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, [this] { ShowHelpTopic(HelpContentsTopic); });
    connect(MakeAction(helpMenu, "HelpSearchItem", "Search"), &QAction::triggered, this,
            [this] {
                ShowHelpPage(QString::fromLatin1(HelpIndexPage));
                help_->SearchField()->setFocus();
            });
    connect(MakeAction(helpMenu, "HelpWhatItem", "What Zelkon does"), &QAction::triggered, this,
            [this] { ShowHelpTopic(HelpWhatZelkonDoesTopic); });
    connect(MakeAction(helpMenu, "HelpTutorialItem", "Tutorial"), &QAction::triggered, this,
            [this] { ShowHelpTopic(HelpTutorialTopic); });
    connect(MakeAction(helpMenu, "HelpGuideItem", "Zelkon Guide"), &QAction::triggered, this,
            &TMainForm::ShowGuide);
    connect(MakeAction(helpMenu, "HelpCommandsItem", "Commands"), &QAction::triggered, this,
            [this] { ShowHelpTopic(HelpCommandsTopic); });
    connect(MakeAction(helpMenu, "HelpSupportItem", "Technical Support"), &QAction::triggered, this,
            [this] { ShowHelpTopic(HelpSupportTopic); });
    connect(MakeAction(helpMenu, "HelpCiteItem", "How to Cite Zelkon"), &QAction::triggered, this,
            [this] { ShowHelpTopic(HelpCiteTopic); });
}

void TMainForm::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Commands"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    QStyle* s = style();
    // Each button has a short label of its own (the menus keep their captions), so that the
    // bar fits a small screen.
    struct Button {
        const char* action;
        QStyle::StandardPixmap icon;
        const char* label;
        const char* hint;
    };
    const Button buttons[] = {
        {"FileNewItem", QStyle::SP_FileIcon, "New", "New file"},
        {"FileOpenItem", QStyle::SP_DialogOpenButton, "Open", "Open a Zelkon file"},
        {"FileSaveItem", QStyle::SP_DialogSaveButton, "Save", "Save the file"},
        {"EditCutItem", QStyle::SP_CustomBase, "Cut", "Cut"},
        {"EditCopyItem", QStyle::SP_CustomBase, "Copy", "Copy"},
        {"EditPasteItem", QStyle::SP_CustomBase, "Paste", "Paste"},
        {"FilePrintItem", QStyle::SP_CustomBase, "Print", "Print"},
        {"FileImportItem", QStyle::SP_ArrowDown, "Import", "Import data (text)"},
        {"FileExportItem", QStyle::SP_ArrowUp, "Export", "Export"},
        {"EditViewNotesItem", QStyle::SP_FileDialogDetailedView, "Notes", "View notes"},
        {"EditClearAllItem", QStyle::SP_TrashIcon, "Clear All", "Delete all data"},
        {"HelpContentsItem", QStyle::SP_DialogHelpButton, "Help", "Help"},
    };
    for (const Button& b : buttons) {
        QAction* action = Action(QString::fromLatin1(b.action));
        if (b.icon != QStyle::SP_CustomBase) action->setIcon(s->standardIcon(b.icon));
        action->setIconText(QString::fromLatin1(b.label));
        action->setToolTip(QString::fromLatin1(b.hint));
        bar->addAction(action);
    }
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

void TMainForm::BuildStepBar() {
    QToolBar* bar = new QToolBar(QStringLiteral("Steps"));
    bar->setObjectName(QStringLiteral("StepBar"));
    bar->setMovable(false);
    addToolBar(Qt::BottomToolBarArea, bar);
    auto* panel = new QWidget;
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 2);
    for (std::size_t i = 0; i < helpButtons_.size(); ++i) {
        helpButtons_[i] = new QPushButton;
        helpButtons_[i]->setObjectName(QStringLiteral("HelpButton%1").arg(i + 1));
        layout->addWidget(helpButtons_[i]);
        const int button = static_cast<int>(i);
        connect(helpButtons_[i], &QPushButton::clicked, this, [this, button] { HelpButtonClick(button); });
    }
    layout->addStretch(1);
    backButton_ = new QToolButton;
    backButton_->setObjectName(QStringLiteral("GoBackButton"));
    backButton_->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    backButton_->setToolTip(ToQt(texts::PreviousStepHint));
    layout->addWidget(backButton_);
    stepGroup_ = new QButtonGroup(this);
    stepGroup_->setExclusive(true);
    for (const StepInfo& info : StepInfos()) {
        auto* button = new QToolButton;
        const std::size_t i = static_cast<std::size_t>(info.step) - 1;
        button->setObjectName(QString::fromLatin1(StepButtonNames[i]));
        button->setText(info.step == Step::Start ? ToQt(texts::StartButtonCaption) : ToQt(info.page));
        button->setToolTip(ToQt(info.hint));
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        stepGroup_->addButton(button, static_cast<int>(info.step));
        stepButtons_[i] = button;
        layout->addWidget(button);
        const Step step = info.step;
        connect(button, &QToolButton::clicked, this, [this, step] { ShowStepOfActive(step); });
    }
    forwardButton_ = new QToolButton;
    forwardButton_->setObjectName(QStringLiteral("GoForwardButton"));
    forwardButton_->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    forwardButton_->setToolTip(ToQt(texts::NextStepHint));
    layout->addWidget(forwardButton_);
    bar->addWidget(panel);
    connect(backButton_, &QToolButton::clicked, Action(QStringLiteral("StepsPreviousItem")), &QAction::trigger);
    connect(forwardButton_, &QToolButton::clicked, Action(QStringLiteral("StepsNextItem")), &QAction::trigger);
}

namespace {

QRect AvailableArea(const QWidget* widget) {
    const QScreen* screen = widget->screen() != nullptr ? widget->screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

WindowRect RectOf(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRect QtRect(const WindowRect& r) { return {r.left, r.top, r.width, r.height}; }

}  // namespace

QSize TMainForm::StartPageWindowSize() {
    // A document on its start page, inside the menus, the tool bars and the status bar.
    TAnalysisForm probe;
    probe.ensurePolished();
    const QSize page = probe.StartPageSizeHint();
    QToolBar* tools = findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QToolBar* steps = findChild<QToolBar*>(QStringLiteral("StepBar"));
    int width = page.width();
    int height = page.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    for (const QToolBar* bar : {tools, steps}) {
        if (bar == nullptr) continue;
        width = std::max(width, bar->sizeHint().width());
        height += bar->sizeHint().height();
    }
    // The document area's own edges.
    constexpr int Slack = 8;
    return {width + Slack, height + Slack};
}

void TMainForm::ApplyStartSize() {
    sizeFromStartPage_ = settings_.width <= 0 || settings_.height <= 0;
    const QSize wanted = StartPageWindowSize();
    const zelkon::WindowSize size =
        StartWindowSize(settings_.width, settings_.height, {wanted.width(), wanted.height()});
    // The frame is not known before the window shows; FitFrameToScreen corrects for it then.
    const WindowRect place = PlaceInArea(size, {0, 0}, RectOf(AvailableArea(this)));
    resize(place.width, place.height);
    move(place.left, place.top);
}

void TMainForm::FitFirstWindow() {
    TAnalysisForm* form = ActiveForm();
    if (!sizeFromStartPage_ || form == nullptr || form->CurrentStep() != Step::Start ||
        (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        FitFrameToScreen();
        return;
    }
    sizeFromStartPage_ = false;
    const QSize grow = (form->StartPageSizeHint() - form->size()).expandedTo(QSize(0, 0));
    const QSize extra = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    const WindowRect place = PlaceInArea({width() + grow.width(), height() + grow.height()},
                                         {extra.width(), extra.height()}, RectOf(AvailableArea(this)));
    resize(place.width, place.height);
    move(place.left, place.top);
    fitFramePending_ = false;
}

void TMainForm::FitFrameToScreen() {
    fitFramePending_ = false;
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return;
    const QRect area = AvailableArea(this);
    const QRect frame = frameGeometry();
    if (area.contains(frame)) return;
    const QSize extra = frame.size() - size();
    const WindowRect place = PlaceInArea({width(), height()}, {extra.width(), extra.height()}, RectOf(area));
    resize(place.width, place.height);
    move(place.left, place.top);
}

void TMainForm::ShowAtStart() {
    if (settings_.maximized) {
        showMaximized();
    } else {
        show();
    }
}

void TMainForm::TileClick() {
    if (Busy()) return;
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isVisible() && !sub->isMinimized()) windows << sub;
    }
    const QRect area = mdi_->viewport()->rect();
    const std::vector<WindowRect> tiles = TileRects(static_cast<int>(windows.size()), RectOf(area));
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* sub = windows[i];
        if (sub->isMaximized()) sub->showNormal();
        sub->setGeometry(QtRect(tiles[static_cast<std::size_t>(i)]));
    }
}

void TMainForm::BringToFront() {
    // Restoring with showNormal() would forget a maximised state.
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    if (!isVisible()) show();
    raise();
    activateWindow();
}

void TMainForm::HandOverFile(const QString& fileName) {
    BringToFront();
    if (!fileName.isEmpty()) OpenFile(fileName);
}

void TMainForm::RebuildWindowList() {
    for (QAction* action : windowListActions_) {
        windowMenu_->removeAction(action);
        delete action;
    }
    windowListActions_.clear();
    const QList<TAnalysisForm*> open = Forms();
    std::vector<std::string> names;
    int active = -1;
    TAnalysisForm* current = ActiveForm();
    for (qsizetype i = 0; i < open.size(); ++i) {
        QMdiSubWindow* sub = SubWindowOf(open[i]);
        names.push_back(FromQt(sub != nullptr ? sub->windowTitle() : QString()));
        if (open[i] == current) active = static_cast<int>(i);
    }
    const std::vector<WindowMenuEntry> entries = WindowMenuEntries(names, active);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto* action = new QAction(ToQt(entries[i].caption), this);
        action->setObjectName(QStringLiteral("WindowListItem%1").arg(i + 1));
        action->setCheckable(true);
        action->setChecked(entries[i].checked);
        TAnalysisForm* form = open[static_cast<qsizetype>(i)];
        connect(action, &QAction::triggered, this, [this, form] {
            if (forms_.contains(form)) ActivateForm(form);
        });
        windowMenu_->addAction(action);
        windowListActions_ << action;
    }
    windowListSeparator_->setVisible(!entries.empty());
}

bool TMainForm::Busy() const { return GlobalCalcStatus().Calculating(); }

void TMainForm::ShowStepOfActive(Step step) {
    if (TAnalysisForm* form = ActiveForm()) form->ShowStep(step);
    UpdateMenus();
}

void TMainForm::UpdateMenus() {
    TAnalysisForm* form = ActiveForm();
    MenuContext context;
    context.documentCount = static_cast<int>(Forms().size());
    if (form != nullptr) {
        context.step = form->CurrentStep();
        context.format = form->Doc().Format();
    }
    const MenuState m = ComputeMenuState(context);
    const auto set = [this](const char* name, bool enabled) {
        if (QAction* action = Action(QString::fromLatin1(name))) action->setEnabled(enabled);
    };
    set("EditCutItem", m.cut);
    set("EditCopyItem", m.copy);
    set("EditPasteItem", m.paste);
    set("EditTransposePasteItem", m.transposePaste);
    set("EditAppendNotesItem", m.appendToNotes);
    set("EditClearItem", m.clear);
    set("EditClearAllItem", m.clearAll);
    set("EditSelectColumnItem", m.selectColumn);
    set("EditSelectRowItem", m.selectRow);
    set("EditSelectAllItem", m.selectAll);
    set("EditDeleteCellsItem", m.deleteCells);
    set("EditInsertCellsItem", m.insertCells);
    set("EditViewNotesItem", m.viewNotes);
    set("DataTransformItem", m.transform);
    set("DataCombineItem", m.combineVariables);
    set("DataNumberFormatItem", m.numberFormat);
    set("DataExcludeItem", m.exclude);
    set("FileCloseItem", m.close);
    set("FileSaveItem", m.save);
    set("FileSaveAsItem", m.saveAs);
    set("FilePrintItem", m.print);
    set("FilePrintPreviewItem", m.print);
    set("FileImportItem", m.import);
    set("FileExportItem", m.exportData);
    set("StepsNextItem", m.nextStep);
    set("StepsPreviousItem", m.previousStep);
    set("WindowCascadeItem", m.cascade);
    set("WindowTileItem", m.tile);
    set("WindowDuplicateItem", m.duplicate);
    set("WindowNextItem", m.nextWindow);
    Action(QStringLiteral("FilePrintItem"))->setText(ToQt(m.printCaption));
    if (QMenu* edit = menuBar()->findChild<QMenu*>(QStringLiteral("EditMenu"))) {
        edit->menuAction()->setEnabled(m.editMenu);
    }
    for (int s = 0; s < 6; ++s) {
        set(QByteArray("Step" + QByteArray::number(s + 1) + "Item").constData(), m.steps[s]);
        stepButtons_[static_cast<std::size_t>(s)]->setEnabled(m.steps[s]);
    }
    backButton_->setEnabled(m.previousStep);
    forwardButton_->setEnabled(m.nextStep);
    if (form != nullptr) {
        stepButtons_[static_cast<std::size_t>(form->CurrentStep()) - 1]->setChecked(true);
    } else {
        // With no document no step is shown: no button stays down.
        stepGroup_->setExclusive(false);
        for (QToolButton* button : stepButtons_) button->setChecked(false);
        stepGroup_->setExclusive(true);
    }
    RebuildWindowList();
    centre_->setCurrentWidget(m.noDocumentsPanel ? static_cast<QWidget*>(noDocuments_) : mdi_);

    const Step step = form != nullptr ? form->CurrentStep() : Step::Start;
    for (std::size_t b = 0; b < helpButtons_.size(); ++b) {
        const HelpButtonEntry& entry = HelpButtons[static_cast<std::size_t>(step) - 1][b];
        helpButtons_[b]->setText(QString::fromLatin1(entry.caption));
        helpButtons_[b]->setVisible(entry.caption[0] != '\0');
    }
}

void TMainForm::HelpButtonClick(int button) {
    TAnalysisForm* form = ActiveForm();
    const Step step = form != nullptr ? form->CurrentStep() : Step::Start;
    const HelpButtonEntry& entry = HelpButtons[static_cast<std::size_t>(step) - 1][static_cast<std::size_t>(button)];
    const QString page = QString::fromLatin1(entry.page);
    if (page == QLatin1String("guide")) {
        ShowGuide();
    } else if (page == QLatin1String("results")) {
        ShowHelpTopic(form != nullptr ? form->Doc().ResultsHelpTopic() : 0);
    } else if (!page.isEmpty()) {
        ShowHelpPage(page);
    }
}

void TMainForm::ShowHelpTopic(int topic) { ShowHelpPage(HelpPageOfTopic(topic)); }

void TMainForm::ShowHelpPage(const QString& page) {
    help_->ShowPage(page);
    help_->show();
    help_->raise();
}

void TMainForm::ShowGuide() {
    if (showingGuide_) return;
    showingGuide_ = true;
    settings_.showHints = true;
    TAnalysisForm* form = ActiveForm();
    const Step step = form != nullptr ? form->CurrentStep() : Step::Start;
    TZelkonGuide guide(step, settings_.showHints, this);
    guide.move(GuidePosition(frameGeometry(), guide.frameGeometry().size(), step));
    Services().runDialog(guide);
    settings_.showHints = guide.ShowHints();
    showingGuide_ = false;
    // The keyboard goes back to the page, not to whatever had it before the guide.
    if (TAnalysisForm* active = ActiveForm()) active->FocusPage();
}

void TMainForm::FormStepChanged(TAnalysisForm* form) {
    UpdateMenus();
    if (form == ActiveForm() && settings_.showHints) ShowGuide();
}

void TMainForm::ShowStatus(const QString& text, bool withTimer) {
    statusText_->setText(text);
    statusText_->show();
    statusMeter_->setVisible(withTimer);
    centre_->setEnabled(false);
    menuBar()->setEnabled(false);
}

void TMainForm::HideStatus() {
    statusText_->hide();
    statusMeter_->hide();
    centre_->setEnabled(true);
    menuBar()->setEnabled(true);
}

bool TMainForm::SaveSettings() {
    if (!settingsRefusal_.empty()) return false;  // a file that could not be read stays
    // The size kept is that of the window when not maximised; the maximised state is kept
    // beside it, so that the next start shows the window as it was left.
    const bool maximized = (windowState() & Qt::WindowMaximized) != 0;
    const QRect normal = maximized || isMinimized() ? normalGeometry() : geometry();
    if (normal.width() > 0 && normal.height() > 0) {
        settings_.width = normal.width();
        settings_.height = normal.height();
    }
    settings_.maximized = maximized;
    return SaveSettingsFile(QFile::encodeName(SettingsPath()).toStdString(), settings_);
}

void TMainForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) Services().separators = SystemSeparators();
    QMainWindow::changeEvent(event);
}

void TMainForm::SetStartArgument(const QString& argument) {
    argument_ = argument;
    startPending_ = true;
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && fitFramePending_) {
        QTimer::singleShot(0, this, &TMainForm::FitFrameToScreen);
    }
    if (event->type() == QEvent::WindowActivate && startPending_) {
        startPending_ = false;
        QTimer::singleShot(0, this, [this] { FirstActivation(argument_); });
    }
    return QMainWindow::event(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (Busy()) {
        // While a calculation runs, closing only cancels it.
        GlobalCalcStatus().RequestCancel();
        event->ignore();
        return;
    }
    for (TAnalysisForm* form : Forms()) {
        if (!CloseDocument(form)) {
            event->ignore();
            return;
        }
    }
    SaveSettings();
    help_->close();
    event->accept();
}

}  // namespace zelkon
