#include "ui/analysis_form.h"

#include <algorithm>

#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/calc_status.h"
#include "data/notes.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "ui/choose_test_page.h"
#include "ui/data_grid.h"
#include "ui/graph_page.h"
#include "ui/notes_form.h"
#include "ui/results_page.h"
#include "ui/results_viewer.h"
#include "ui/spread_grid.h"
#include "ui/start_page.h"
#include "ui/statistics_page.h"
#include "ui/two_by_two_entry_page.h"
#include "ui/ui_services.h"

namespace zelkon {

namespace {
int PageIndex(Step step) { return static_cast<int>(step) - 1; }

/// The pages, as large as the page shown needs (not as the largest of them), so that the
/// window scrolls only when that page does not fit.
class TPageStack final : public QStackedWidget {
public:
    TPageStack() {
        layout()->setSizeConstraint(QLayout::SetNoConstraint);
        connect(this, &QStackedWidget::currentChanged, this, [this] { updateGeometry(); });
    }
    QSize sizeHint() const override {
        const QWidget* page = currentWidget();
        return page != nullptr ? page->sizeHint() : QStackedWidget::sizeHint();
    }
    QSize minimumSizeHint() const override {
        const QWidget* page = currentWidget();
        return page != nullptr ? page->minimumSizeHint() : QStackedWidget::minimumSizeHint();
    }
    bool hasHeightForWidth() const override {
        const QWidget* page = currentWidget();
        return page != nullptr && page->hasHeightForWidth();
    }
    int heightForWidth(int width) const override {
        const QWidget* page = currentWidget();
        return page != nullptr ? page->heightForWidth(width) : -1;
    }
};
}  // namespace

TAnalysisForm::TAnalysisForm(QWidget* parent)
    : QWidget(parent), document_(std::make_unique<Document>()), entries_(&DefaultAnalysisEntryPoints()) {
    setObjectName(QStringLiteral("AnalysisForm"));
    Document& doc = *document_;
    auto* layout = new QVBoxLayout(this);
    caption_ = new QLabel;
    caption_->setObjectName(QStringLiteral("PageCaption"));
    QFont font = caption_->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    caption_->setFont(font);
    layout->addWidget(caption_);

    // The pages scroll when the window is smaller than a page needs (tiled windows), so the
    // window itself can take any size the document area gives it.
    pages_ = new TPageStack;
    auto* scroller = new QScrollArea;
    scroller->setObjectName(QStringLiteral("PageScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(pages_);
    layout->addWidget(scroller, 1);
    start_ = new TStartPage(doc);
    start_->setObjectName(QStringLiteral("StartPage"));
    dataPages_ = new QStackedWidget;
    dataPages_->setObjectName(QStringLiteral("DataTablePage"));
    grid_ = new TDataGridPage(doc);
    twoByTwo_ = new TTwoByTwoEntryPage(doc);
    dataPages_->addWidget(grid_);
    dataPages_->addWidget(twoByTwo_);
    statistics_ = new TStatisticsPage(doc);
    statistics_->setObjectName(QStringLiteral("SummaryStatsPage"));
    choose_ = new TChooseTestPage(doc);
    choose_->setObjectName(QStringLiteral("ChooseTestPage"));
    results_ = new TResultsPage(doc);
    results_->setObjectName(QStringLiteral("ResultsPage"));
    graph_ = new TGraphPage(doc);
    for (QWidget* page : {static_cast<QWidget*>(start_), static_cast<QWidget*>(dataPages_),
                          static_cast<QWidget*>(statistics_), static_cast<QWidget*>(choose_),
                          static_cast<QWidget*>(results_), static_cast<QWidget*>(graph_)}) {
        pages_->addWidget(page);
    }

    connect(start_, &TStartPage::formatChanged, this, [this] {
        Edited();
        emit formatChanged();
    });
    connect(start_, &TStartPage::nextStepRequested, this, &TAnalysisForm::NextStep);
    connect(grid_, &TDataGridPage::edited, this, &TAnalysisForm::Edited);
    // F10 / F9 that reach the data sheet (no window shortcut took them) move between steps.
    connect(grid_->Grid(), &TSpreadGrid::nextStepRequested, this, &TAnalysisForm::NextStep);
    connect(grid_->Grid(), &TSpreadGrid::previousStepRequested, this, &TAnalysisForm::PreviousStep);
    ConnectDataCommands();
    connect(twoByTwo_, &TTwoByTwoEntryPage::edited, this, &TAnalysisForm::Edited);
    connect(statistics_, &TStatisticsPage::edited, this, &TAnalysisForm::Edited);
    connect(choose_, &TChooseTestPage::edited, this, &TAnalysisForm::Edited);
    connect(graph_, &TGraphPage::edited, this, &TAnalysisForm::Edited);
    connect(choose_, &TChooseTestPage::showResultsRequested, this, [this] { ShowStep(Step::Results); });
    connect(results_->Viewer(), &TResultsViewer::appendToNotesRequested, this,
            &TAnalysisForm::AppendToNotesCommand);

    // Shift+F9 and Shift+F10 move between the steps from every control of the document.
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F9), this);
    previous->setContext(Qt::WidgetWithChildrenShortcut);
    connect(previous, &QShortcut::activated, this, &TAnalysisForm::PreviousStep);
    auto* next = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, &TAnalysisForm::NextStep);

    PreparePage(Step::Start);
    pages_->setCurrentIndex(PageIndex(Step::Start));
    caption_->setText(ToQt(StepInfoOf(Step::Start).page));
}

TAnalysisForm::~TAnalysisForm() {
    // The pages refer to the document: they go before it does.
    delete pages_;
}

Step TAnalysisForm::CurrentStep() const { return step_; }

bool TAnalysisForm::StepAvailable(Step step) const { return StepEnabled(document_->Format(), step); }

bool TAnalysisForm::ShowsTwoByTwoPage() const { return document_->Format() == DataFormat::TwoByTwo; }

void TAnalysisForm::SetEntryPoints(const AnalysisEntryPoints* entries) {
    entries_ = entries != nullptr ? entries : &DefaultAnalysisEntryPoints();
}

void TAnalysisForm::PreparePage(Step step) {
    Document& doc = *document_;
    switch (step) {
        case Step::Start: start_->Prepare(); break;
        case Step::DataTable:
            doc.Data().PrepareDataPage();
            if (ShowsTwoByTwoPage()) {
                twoByTwo_->Prepare();
                dataPages_->setCurrentWidget(twoByTwo_);
            } else {
                grid_->Prepare();
                dataPages_->setCurrentWidget(grid_);
            }
            break;
        case Step::SummaryStats: statistics_->Prepare(); break;
        case Step::ChooseTest: choose_->Prepare(); break;
        case Step::Results: results_->Prepare(*entries_); break;
        case Step::Graph: graph_->Prepare(*entries_); break;
    }
}

bool TAnalysisForm::ShowStep(Step step) {
    if (GlobalCalcStatus().Calculating() || !StepAvailable(step)) return false;
    CommitPendingEdits();
    step_ = step;
    document_->SetCurrentStep(step);
    caption_->setText(ToQt(StepInfoOf(step).page));
    pages_->setCurrentIndex(PageIndex(step));
    PreparePage(step);
    FocusPage();
    emit stepChanged(step);
    return true;
}

void TAnalysisForm::FocusPage() {
    if (step_ != Step::DataTable) return;
    if (ShowsTwoByTwoPage()) {
        twoByTwo_->CountEdit(0)->setFocus(Qt::OtherFocusReason);
    } else {
        grid_->Grid()->setFocus(Qt::OtherFocusReason);
    }
}

QSize TAnalysisForm::StartPageSizeHint() const {
    // The form's column: its margins, the caption, then the start page.
    const QMargins margins = layout()->contentsMargins();
    QSize page = start_->sizeHint().expandedTo(start_->minimumSizeHint());
    // Wrapped labels: the height the page needs at that width.
    if (start_->hasHeightForWidth()) page.setHeight(std::max(page.height(), start_->heightForWidth(page.width())));
    const QSize caption = caption_->sizeHint();
    return {margins.left() + std::max(page.width(), caption.width()) + margins.right(),
            margins.top() + caption.height() + layout()->spacing() + page.height() + margins.bottom()};
}

void TAnalysisForm::FileNameChanged() {
    if (notes_ != nullptr) notes_->UpdateCaption();
}

bool TAnalysisForm::NextStep() {
    const auto next = zelkon::NextStep(document_->Format(), step_, GlobalCalcStatus().Calculating());
    return next && ShowStep(*next);
}

bool TAnalysisForm::PreviousStep() {
    const auto previous =
        zelkon::PreviousStep(document_->Format(), step_, GlobalCalcStatus().Calculating());
    return previous && ShowStep(*previous);
}

void TAnalysisForm::RebuildPages() {
    start_->Prepare();
    grid_->Prepare();
    twoByTwo_->Prepare();
    results_->Viewer()->SetReport(&document_->Report());
    if (step_ != Step::Start && StepAvailable(step_)) PreparePage(step_);
    ReloadNotesWindow();
}

void TAnalysisForm::CommitPendingEdits() {
    switch (step_) {
        case Step::DataTable:
            if (ShowsTwoByTwoPage()) {
                twoByTwo_->CommitPendingEdits();
            } else {
                grid_->CommitPendingEdits();
            }
            break;
        case Step::SummaryStats: statistics_->CommitPendingEdits(); break;
        default: break;
    }
}

void TAnalysisForm::ClearAllData() {
    Document& doc = *document_;
    const bool wasVisible = isVisible();
    hide();
    doc.Reset();
    // Averaged data are entered as SD again, unless the format kept asks for SEM.
    doc.Data().SetErrorIsSD(doc.Format() != DataFormat::MeanSEMN);
    doc.MarkModified();
    grid_->ScrollHome();
    statistics_->ScrollHome();
    RebuildPages();
    if (wasVisible) show();
    if (step_ != Step::DataTable) {
        step_ = Step::Start;
        doc.SetCurrentStep(step_);
        caption_->setText(ToQt(StepInfoOf(step_).page));
        pages_->setCurrentIndex(PageIndex(step_));
        start_->Prepare();
        emit stepChanged(step_);
    } else {
        PreparePage(step_);
    }
    emit modified();
}

void TAnalysisForm::CopyCommand() {
    if (TSpreadGrid* sheet = DataSheet()) sheet->CopyToClipboard();
    if (step_ == Step::SummaryStats) statistics_->CopyToClipboard();
    if (step_ == Step::Results) results_->Viewer()->CopyToClipboard();
    if (step_ == Step::Graph) graph_->CopyToClipboard();
}

void TAnalysisForm::SelectAllCommand() {
    switch (step_) {
        case Step::Results: results_->Viewer()->selectAll(); break;
        case Step::DataTable:
            if (TSpreadGrid* sheet = DataSheet()) sheet->SelectAll();
            break;
        default: break;
    }
}

void TAnalysisForm::AppendToNotesCommand() {
    if (step_ != Step::Results) return;
    if (AppendResultsToNotes(results_->Viewer()->Selection())) {
        emit modified();
    }
}

void TAnalysisForm::Edited() { emit modified(); }

void TAnalysisForm::closeEvent(QCloseEvent* event) {
    if (closeQuery_ && !closeQuery_()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace zelkon
