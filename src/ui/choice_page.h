// The common part of the choose-test pages: the document they write into, the preparation
// that shows the record, and the signals by which a page reports a changed choice, asks for
// the results (a double click on an option) or for the column and pair dialogs.
#pragma once

#include <QWidget>

class QAbstractButton;
class QButtonGroup;

namespace zelkon {

class Document;
class OptionWatcher;

class TChoicePage : public QWidget {
    Q_OBJECT
public:
    explicit TChoicePage(Document& document, QWidget* parent = nullptr);

    /// Shows the document's choices and the states the rules give the controls.
    virtual void Prepare() = 0;

signals:
    /// A choice was written into the record (the document is marked modified).
    void edited();
    /// An option was double-clicked: show the results.
    void showResultsRequested();
    void selectColumnsRequested();
    void selectPairsRequested();

protected:
    /// Marks the document modified, reports the change and shows the page again.
    void Changed();
    /// Marks the document modified and reports the change, without showing the page again.
    void MarkChanged();
    /// Double clicks on the widget show the results.
    void WatchOption(QWidget* option);
    OptionWatcher* Watcher() const { return watcher_; }

    Document& document_;

private:
    OptionWatcher* watcher_ = nullptr;
};

/// Checks one button of a group, or none when `button` is null.
void CheckInGroup(QButtonGroup* group, QAbstractButton* button);

}  // namespace zelkon
