// TReportForm: the "Printing...." window shown while a text is printed, with a Cancel button
// that ends the job after the line being printed.
#pragma once

#include <QDialog>

class QPushButton;

namespace zelkon {

class TReportForm final : public QDialog {
    Q_OBJECT
public:
    explicit TReportForm(QWidget* parent = nullptr);

    /// True once Cancel was pressed.
    bool Cancelled() const { return cancelled_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    /// Closing the window counts as Cancel.
    void reject() override;

private:
    QPushButton* cancel_ = nullptr;
    bool cancelled_ = false;
};

}  // namespace zelkon
