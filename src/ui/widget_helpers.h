// Small widgets and helpers the pages share: a label that reacts to clicks, a watcher of
// double clicks and focus on option controls, and constructors of captioned options.
#pragma once

#include <QLabel>
#include <QObject>

#include <string_view>

class QBoxLayout;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zelkon {

/// A label that emits clicked() when the mouse is pressed on it.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

/// Watches widgets for mouse presses, and options (buttons) for double clicks.
class OptionWatcher : public QObject {
    Q_OBJECT
public:
    explicit OptionWatcher(QObject* parent = nullptr) : QObject(parent) {}
    void Watch(QWidget* widget);

signals:
    void doubleClicked(QWidget* widget);
    void pressed(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

/// A radio button with a stored caption ("&&" shows one ampersand) and an object name,
/// added to the layout.
QRadioButton* AddRadio(QBoxLayout* layout, std::string_view caption, const char* name);
QCheckBox* AddCheck(QBoxLayout* layout, std::string_view caption, const char* name);
QPushButton* MakeButton(std::string_view caption, const char* name);
/// A titled group box with a vertical layout.
QGroupBox* MakeQuestion(std::string_view caption, const char* name);
/// The "Data title:" row at the top of the data and statistics pages, added to `layout`;
/// returns its field (at most `length` characters).
QLineEdit* AddDataTitleRow(QBoxLayout* layout, const char* name, int length);
/// A label showing a stored text, word-wrapped.
QLabel* MakeLabel(std::string_view text, const char* name = nullptr);

}  // namespace zelkon
