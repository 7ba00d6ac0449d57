#include "app/new_file_form.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zelkon {

TNewFileForm::TNewFileForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NewFileForm"));
    setWindowTitle(QStringLiteral("Create a new file"));
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(QStringLiteral(
        "Zelkon allows you to open up to ten files at once, each in its own window. Do you want "
        "to:"));
    question->setWordWrap(true);
    layout->addWidget(question);
    const char* captions[3] = {
        "Close the file you are working on and create a new one.",
        "Create a new empty file, in addition to the one(s) open now.",
        "Duplicate the current file, so you can edit and analyze the copies independently."};
    const char* names[3] = {"CloseAndCreateRadioButton", "CreateAnotherRadioButton",
                            "DuplicateRadioButton"};
    for (std::size_t i = 0; i < 3; ++i) {
        buttons_[i] = new QRadioButton(QString::fromLatin1(captions[i]));
        buttons_[i]->setObjectName(QString::fromLatin1(names[i]));
        layout->addWidget(buttons_[i]);
    }
    buttons_[1]->setChecked(true);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TNewFileForm::Choice TNewFileForm::Chosen() const {
    if (buttons_[0]->isChecked()) return Choice::CloseAndCreate;
    if (buttons_[2]->isChecked()) return Choice::Duplicate;
    return Choice::CreateAnother;
}

}  // namespace zelkon
