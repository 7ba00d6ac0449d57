#include "ui/widget_helpers.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include "ui/ui_services.h"

namespace zelkon {

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QLabel::mousePressEvent(event);
}

void OptionWatcher::Watch(QWidget* widget) { widget->installEventFilter(this); }

bool OptionWatcher::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr) {
        // Only an option (a radio button or check box) is chosen by a double click; inside a
        // field it selects a word, as everywhere.
        if (event->type() == QEvent::MouseButtonDblClick) {
            if (qobject_cast<QAbstractButton*>(widget) != nullptr) emit doubleClicked(widget);
        } else if (event->type() == QEvent::MouseButtonPress) {
            emit pressed(widget);
        }
    }
    return QObject::eventFilter(watched, event);
}

QRadioButton* AddRadio(QBoxLayout* layout, std::string_view caption, const char* name) {
    auto* radio = new QRadioButton(ToQt(caption));
    radio->setObjectName(QString::fromLatin1(name));
    layout->addWidget(radio);
    return radio;
}

QCheckBox* AddCheck(QBoxLayout* layout, std::string_view caption, const char* name) {
    auto* check = new QCheckBox(ToQt(caption));
    check->setObjectName(QString::fromLatin1(name));
    layout->addWidget(check);
    return check;
}

QPushButton* MakeButton(std::string_view caption, const char* name) {
    auto* button = new QPushButton(ToQt(caption));
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QGroupBox* MakeQuestion(std::string_view caption, const char* name) {
    auto* box = new QGroupBox(LabelText(caption));
    box->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(2);
    return box;
}

QLabel* MakeLabel(std::string_view text, const char* name) {
    auto* label = new QLabel(LabelText(text));
    label->setWordWrap(true);
    if (name != nullptr) label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* AddDataTitleRow(QBoxLayout* layout, const char* name, int length) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Data title:")));
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(length);
    row->addWidget(field, 1);
    layout->addLayout(row);
    return field;
}

}  // namespace zelkon
