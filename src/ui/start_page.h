// Step 1, the start page: the goal ("A. Specify your goal"), the data entry format ("B.
// Choose a data entry format") with the example lines of the goal, the tests the format
// offers, and the way on to the next step.
#pragma once

#include <QWidget>

#include <array>

#include "core/data_format.h"
#include "document/steps.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace zelkon {

class Document;

class TStartPage : public QWidget {
    Q_OBJECT
public:
    explicit TStartPage(Document& document, QWidget* parent = nullptr);

    /// Shows the document's format: its family, the formats that family enables (the averaged
    /// ones only while the table is empty; an averaged format of a table with data becomes
    /// "Raw data."), the example lines and the test list.
    void Prepare();

    QRadioButton* FamilyButton(FormatFamily family) const;
    QRadioButton* FormatButton(DataFormat format) const;
    QPushButton* ContinueButton() const { return continueButton_; }
    /// The tests listed for the format, one per line.
    QString TestListText() const;
    QString ExampleText() const;

signals:
    /// The user chose another data format.
    void formatChanged();
    /// The continue button, its label, or a double click on a format: go to the next step.
    void nextStepRequested();

private:
    void ChooseFamily(FormatFamily family);
    void ChooseFormat(DataFormat format);
    void ShowFamily(FormatFamily family);
    void ShowFormat();

    Document& document_;
    std::array<QRadioButton*, 3> familyButtons_{};
    std::array<QRadioButton*, DataFormatCount> formatButtons_{};
    QLabel* exampleLabel_ = nullptr;
    QLabel* testsLabel_ = nullptr;
    QPushButton* continueButton_ = nullptr;
};

}  // namespace zelkon
