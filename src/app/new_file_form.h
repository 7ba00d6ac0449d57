// The "Create a new file" dialog of the new-file command when documents are open: close the
// current file and create a new one, create another one, or duplicate the current file.
#pragma once

#include <QDialog>

#include <array>

class QRadioButton;

namespace zelkon {

class TNewFileForm : public QDialog {
    Q_OBJECT
public:
    enum class Choice { CloseAndCreate, CreateAnother, Duplicate };

    explicit TNewFileForm(QWidget* parent = nullptr);

    Choice Chosen() const;
    QRadioButton* ChoiceButton(Choice choice) const {
        return buttons_[static_cast<std::size_t>(choice)];
    }

private:
    std::array<QRadioButton*, 3> buttons_{};
};

}  // namespace zelkon
