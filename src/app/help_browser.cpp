#include "app/help_browser.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace zelkon {

QString HelpPageOfTopic(int topic) {
    switch (topic) {
        case HelpContentsTopic: return QStringLiteral("contents.html");
        case HelpWhatZelkonDoesTopic: return QStringLiteral("what_zelkon_does.html");
        case HelpTutorialTopic: return QStringLiteral("tutorial.html");
        case HelpCommandsTopic: return QStringLiteral("commands.html");
        case HelpSupportTopic: return QStringLiteral("support.html");
        case HelpCiteTopic: return QStringLiteral("cite.html");
        case 366: return QStringLiteral("one_way_anova.html");
        case 551: return QStringLiteral("repeated_measures_anova.html");
        case 555: return QStringLiteral("kruskal_wallis.html");
        case 567: return QStringLiteral("friedman.html");
        case 557: return QStringLiteral("two_by_two.html");
        case 612: return QStringLiteral("contingency_table.html");
        case 210: return QStringLiteral("multiple_regression.html");
        case 208: return QStringLiteral("correlation_matrix.html");
        default: return QStringLiteral("results.html");
    }
}

THelpBrowser::THelpBrowser(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HelpBrowser"));
    setWindowTitle(QStringLiteral("Kestrane Zelkon Help"));
    setModal(false);
    resize(620, 520);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    auto* contents = new QPushButton(QStringLiteral("&Contents"));
    auto* index = new QPushButton(QStringLiteral("&Index"));
    auto* back = new QPushButton(QStringLiteral("&Back"));
    buttons->addWidget(contents);
    buttons->addWidget(index);
    buttons->addWidget(back);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    browser_ = new QTextBrowser;
    browser_->setSearchPaths({QStringLiteral(":/help")});
    browser_->setOpenExternalLinks(true);
    layout->addWidget(browser_, 1);
    connect(contents, &QPushButton::clicked, this, [this] { ShowTopic(HelpContentsTopic); });
    connect(index, &QPushButton::clicked, this, [this] { ShowPage(QString::fromLatin1(HelpIndexPage)); });
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
}

void THelpBrowser::ShowTopic(int topic) { ShowPage(HelpPageOfTopic(topic)); }

void THelpBrowser::ShowPage(const QString& page) {
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/") + page));
}

QString THelpBrowser::CurrentPage() const { return browser_->source().fileName(); }

}  // namespace zelkon
