// The built-in help: short pages of our own, addressed by the topic numbers of the help
// menu and the results, or by name for the pages of the steps, shown in a browser window.
#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace zelkon {

/// Help topic numbers of the help menu.
inline constexpr int HelpContentsTopic = 1;
inline constexpr int HelpWhatZelkonDoesTopic = 509;
inline constexpr int HelpTutorialTopic = 496;
inline constexpr int HelpCommandsTopic = 505;
inline constexpr int HelpSupportTopic = 229;
inline constexpr int HelpCiteTopic = 507;

/// The page of a topic number: the menu's topics, the results topics the analyses name, and
/// the general results page for any other number.
QString HelpPageOfTopic(int topic);
/// The page that "Search" opens.
inline constexpr char HelpIndexPage[] = "index.html";

class THelpBrowser : public QDialog {
    Q_OBJECT
public:
    explicit THelpBrowser(QWidget* parent = nullptr);

    void ShowTopic(int topic);
    /// Shows a page by its file name ("step4_choose_test.html").
    void ShowPage(const QString& page);
    /// The page shown.
    QString CurrentPage() const;
    QTextBrowser* Browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
};

}  // namespace zelkon
