#include "ui/results_page.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "document/analysis_run.h"
#include "document/document.h"
#include "ui/results_viewer.h"
#include "ui/ui_services.h"

namespace zelkon {

TResultsPage::TResultsPage(Document& document, QWidget* parent) : QWidget(parent), document_(document) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    panel_ = new QFrame;
    panel_->setObjectName(QStringLiteral("CalcStatusPanel"));
    panel_->setFrameShape(QFrame::StyledPanel);
    auto* panelLayout = new QGridLayout(panel_);
    message_ = new QLabel;
    message_->setObjectName(QStringLiteral("CalcStatusMessage"));
    panelLayout->addWidget(message_, 0, 0, 1, 2);
    const std::array<std::string_view, 3> captionTexts = {ApproximatePLabel, PercentDoneLabel,
                                                          SecondsLeftLabel};
    const std::array<const char*, 3> names = {"ApproxP", "PercentDone", "SecondsLeft"};
    for (std::size_t i = 0; i < 3; ++i) {
        captions_[i] = new QLabel(ToQt(captionTexts[i]));
        captions_[i]->setObjectName(QString::fromLatin1(names[i]) + QStringLiteral("Label"));
        values_[i] = new QLabel;
        values_[i]->setObjectName(QString::fromLatin1(names[i]) + QStringLiteral("Value"));
        panelLayout->addWidget(captions_[i], static_cast<int>(i) + 1, 0);
        panelLayout->addWidget(values_[i], static_cast<int>(i) + 1, 1);
    }
    cancel_ = new QPushButton(ToQt(CancelButtonCaption));
    cancel_->setObjectName(QStringLiteral("CalcCancelButton"));
    panelLayout->addWidget(cancel_, 4, 0, 1, 2, Qt::AlignLeft);
    layout->addWidget(panel_);
    panel_->hide();

    viewer_ = new TResultsViewer;
    layout->addWidget(viewer_, 1);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("CalcStatusTimer"));
    timer_->setInterval(static_cast<int>(CalcStatus::StatusTimerMs));
    connect(timer_, &QTimer::timeout, this, [this] {
        timer_->stop();
        GlobalCalcStatus().StatusTimerFired();
    });
    connect(cancel_, &QPushButton::clicked, this, [] { GlobalCalcStatus().RequestCancel(); });
}

TResultsPage::~TResultsPage() {
    if (GlobalCalcStatus().Host() == this) GlobalCalcStatus().SetHost(nullptr);
    if (busyCursor_) QApplication::restoreOverrideCursor();
}

bool TResultsPage::Prepare(const AnalysisEntryPoints& entries) {
    CalcStatus& status = GlobalCalcStatus();
    ProgressHost* previous = status.Host();
    status.SetHost(this);
    const bool ran = ShowResults(document_, entries);
    status.SetHost(previous);
    viewer_->SetReport(&document_.Report());
    return ran;
}

void TResultsPage::SetLabelsVisible(bool visible) {
    for (std::size_t i = 0; i < 3; ++i) {
        captions_[i]->setVisible(visible);
        values_[i]->setVisible(visible);
    }
}

void TResultsPage::RunStarted() {
    if (!busyCursor_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busyCursor_ = true;
    }
    timer_->start();
    panel_->hide();
    viewer_->hide();
}

void TResultsPage::RunEnded() {
    timer_->stop();
    panel_->hide();
    message_->hide();
    cancel_->hide();
    SetLabelsVisible(false);
    viewer_->show();
    if (busyCursor_) {
        QApplication::restoreOverrideCursor();
        busyCursor_ = false;
    }
}

void TResultsPage::ShowStatusPanel(std::string_view message, std::string_view cancelCaption) {
    message_->setText(ToQt(message));
    message_->show();
    cancel_->setText(ToQt(cancelCaption));
    cancel_->show();
    SetLabelsVisible(false);
    panel_->show();
}

void TResultsPage::ExactCalculationStarted(std::string_view approximateP) {
    timer_->stop();
    panel_->show();
    cancel_->show();
    message_->hide();
    SetLabelsVisible(false);
    values_[0]->setText(ToQt(approximateP));
}

void TResultsPage::ShowProgress(std::string_view message, std::string_view approximateP,
                                std::string_view percentDone, std::string_view secondsLeft) {
    message_->setText(ToQt(message));
    message_->show();
    values_[0]->setText(ToQt(approximateP));
    values_[1]->setText(ToQt(percentDone));
    values_[2]->setText(ToQt(secondsLeft));
    SetLabelsVisible(true);
}

void TResultsPage::ExactCalculationEnded() {
    message_->hide();
    cancel_->hide();
    SetLabelsVisible(false);
}

void TResultsPage::ProcessPendingInput() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

}  // namespace zelkon
