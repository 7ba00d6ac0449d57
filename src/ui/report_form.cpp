// The "Printing...." window.
#include "ui/report_form.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "output/print_layout.h"
#include "ui/ui_services.h"

namespace zelkon {

TReportForm::TReportForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReportForm"));
    setWindowTitle(QStringLiteral("Kestrane Zelkon"));
    auto* label = new QLabel(ToQt(PrintingCaption));
    label->setObjectName(QStringLiteral("PrintingLabel"));
    label->setAlignment(Qt::AlignCenter);
    cancel_ = new QPushButton(QStringLiteral("Cancel"));
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    connect(cancel_, &QPushButton::clicked, this, &TReportForm::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(cancel_, 0, Qt::AlignCenter);
    setMinimumWidth(220);
    // Shown without a modal loop, but the other windows take no input while pages are drawn.
    setWindowModality(Qt::ApplicationModal);
}

void TReportForm::reject() {
    cancelled_ = true;
    cancel_->setEnabled(false);
}

}  // namespace zelkon
