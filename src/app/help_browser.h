// The built-in help: pages of our own in a browser window with Contents, the Index built
// from the headings of every page, Back and Forward, and a search field that finds words
// across all pages and lists the pages that hold them.  Pages are addressed by the topic
// numbers of the help menu and of the results, or by name for the pages of the steps.
#pragma once

#include <QDialog>
#include <QString>
#include <QTextBrowser>
#include <memory>

#include "app/help_browser_pages.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zelkon {

/// Help topic numbers of the help menu.
inline constexpr int HelpContentsTopic = 1;
inline constexpr int HelpWhatZelkonDoesTopic = 509;
inline constexpr int HelpTutorialTopic = 496;
inline constexpr int HelpCommandsTopic = 505;
inline constexpr int HelpSupportTopic = 229;
inline constexpr int HelpCiteTopic = 507;

/// The page of a topic number ("unpaired_t.html", or with the anchor of a section): the
/// menu's topics and the results topics the analyses leave; the general results page for
/// topic 0 (no analysis ran) and any number unknown.
QString HelpPageOfTopic(int topic);

/// The viewer of the help browser: shows the pages as `THelpPages` gives them.
class THelpView : public QTextBrowser {
    Q_OBJECT
public:
    THelpView(const THelpPages& pages, QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    const THelpPages& pages_;
};

class THelpBrowser : public QDialog {
    Q_OBJECT
public:
    explicit THelpBrowser(QWidget* parent = nullptr);
    ~THelpBrowser() override;

    void ShowTopic(int topic);
    /// Shows a page by its file name ("step4_choose_test.html", "glossary.html#p_value").
    void ShowPage(const QString& page);
    /// The file name of the page shown.
    QString CurrentPage() const;
    /// Searches every page for the words of the search field and lists the pages found.
    void Search();
    /// Shows the page of entry `row` of the result list, the first word found selected.
    void OpenResult(int row);

    QTextBrowser* Browser() const { return browser_; }
    const THelpPages& Pages() const { return *pages_; }
    QLineEdit* SearchField() const { return searchField_; }
    QListWidget* ResultList() const { return results_; }
    QLabel* ResultCount() const { return resultCount_; }
    QPushButton* BackButton() const { return back_; }
    QPushButton* ForwardButton() const { return forward_; }

private:
    std::unique_ptr<THelpPages> pages_;
    THelpView* browser_ = nullptr;
    QLineEdit* searchField_ = nullptr;
    QListWidget* results_ = nullptr;
    QLabel* resultCount_ = nullptr;
    QWidget* resultPanel_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
    QStringList searchedWords_;
};

}  // namespace zelkon
