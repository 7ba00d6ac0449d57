// Step 5, the results page: the results viewer and the status panel of a run.  The page is
// the front end's ProgressHost while a run is under way: the panel appears when the 250 ms
// status timer fires, an exact calculation shows its approximate P value, percentage done
// and seconds left, pending input is processed so that Cancel can be clicked, and the
// Cancel button asks the calculation status to stop.
#pragma once

#include <QWidget>

#include <array>

#include "core/analysis_entry.h"
#include "core/calc_status.h"

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace zelkon {

class Document;
class TResultsViewer;

class TResultsPage : public QWidget, public ProgressHost {
    Q_OBJECT
public:
    explicit TResultsPage(Document& document, QWidget* parent = nullptr);
    ~TResultsPage() override;

    /// Showing step 5: runs the analysis when the document needs it (with this page as the
    /// progress host) and shows the report.  Returns true when a run happened.
    bool Prepare(const AnalysisEntryPoints& entries);

    TResultsViewer* Viewer() const { return viewer_; }
    QFrame* StatusPanel() const { return panel_; }
    QLabel* StatusMessage() const { return message_; }
    QPushButton* CancelButton() const { return cancel_; }
    QTimer* StatusTimer() const { return timer_; }
    /// The progress labels: captions and values of the approximate P value, the percentage
    /// done and the seconds left.
    QLabel* ProgressCaption(int i) const { return captions_[static_cast<std::size_t>(i)]; }
    QLabel* ProgressValue(int i) const { return values_[static_cast<std::size_t>(i)]; }

    // ProgressHost
    void RunStarted() override;
    void RunEnded() override;
    void ShowStatusPanel(std::string_view message, std::string_view cancelCaption) override;
    void ExactCalculationStarted(std::string_view approximateP) override;
    void ShowProgress(std::string_view message, std::string_view approximateP,
                      std::string_view percentDone, std::string_view secondsLeft) override;
    void ExactCalculationEnded() override;
    void ProcessPendingInput() override;

private:
    void SetLabelsVisible(bool visible);

    Document& document_;
    TResultsViewer* viewer_ = nullptr;
    QFrame* panel_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::array<QLabel*, 3> captions_{};
    std::array<QLabel*, 3> values_{};
    QTimer* timer_ = nullptr;
    bool busyCursor_ = false;
};

}  // namespace zelkon
