#include "app/about_form.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace zelkon {

TAboutForm::TAboutForm(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("AboutForm"));
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(30, 24, 30, 24);
    auto* title = new QLabel(QStringLiteral("Kestrane Zelkon"));
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 2.2);
    font.setBold(true);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* version = new QLabel(QStringLiteral("Version 3.00"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    auto* text = new QLabel(QStringLiteral(
        "Statistics for small data sets in biology and medicine:\n"
        "t tests, rank tests, ANOVA with post tests, contingency tables,\n"
        "regression and correlation, explained in plain language."));
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    adjustSize();
}

}  // namespace zelkon
