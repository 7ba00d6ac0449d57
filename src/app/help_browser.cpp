#include "app/help_browser.h"

#include <QAbstractTextDocumentLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "core/help_topics.h"

namespace zelkon {

QString HelpPageOfTopic(int topic) {
    switch (topic) {
        case HelpContentsTopic: return QStringLiteral("contents.html");
        case HelpWhatZelkonDoesTopic: return QStringLiteral("what_zelkon_does.html");
        case HelpTutorialTopic: return QStringLiteral("tutorial.html");
        case HelpCommandsTopic: return QStringLiteral("commands.html");
        case HelpSupportTopic: return QStringLiteral("support.html");
        case HelpCiteTopic: return QStringLiteral("cite.html");
        case OneSampleTHelpTopic: return QStringLiteral("one_sample_t.html");
        case WilcoxonSignedRankHelpTopic: return QStringLiteral("wilcoxon_signed_rank.html");
        case UnpairedTHelpTopic: return QStringLiteral("unpaired_t.html");
        case WelchTHelpTopic: return QStringLiteral("unpaired_t.html#welch");
        case PairedTHelpTopic: return QStringLiteral("paired_t.html");
        case MannWhitneyHelpTopic: return QStringLiteral("mann_whitney.html");
        case WilcoxonMatchedPairsHelpTopic: return QStringLiteral("wilcoxon_matched_pairs.html");
        case OneWayAnovaHelpTopic: return QStringLiteral("one_way_anova.html");
        case RepeatedMeasuresHelpTopic: return QStringLiteral("repeated_measures_anova.html");
        case KruskalWallisHelpTopic: return QStringLiteral("kruskal_wallis.html");
        case FriedmanHelpTopic: return QStringLiteral("friedman.html");
        case TwoByTwoHelpTopic: return QStringLiteral("two_by_two.html");
        case ContingencyHelpTopic: return QStringLiteral("contingency_table.html");
        case LinearRegressionHelpTopic: return QStringLiteral("linear_regression.html");
        case StandardCurveHelpTopic: return QStringLiteral("standard_curve.html");
        case PearsonHelpTopic: return QStringLiteral("pearson_correlation.html");
        case SpearmanHelpTopic: return QStringLiteral("spearman_correlation.html");
        case MultipleRegressionHelpTopic: return QStringLiteral("multiple_regression.html");
        case CorrelationMatrixHelpTopic: return QStringLiteral("correlation_matrix.html");
        default: return QStringLiteral("results.html");
    }
}

THelpView::THelpView(const THelpPages& pages, QWidget* parent) : QTextBrowser(parent), pages_(pages) {}

QVariant THelpView::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::HtmlResource && name.scheme() == QLatin1String("qrc") &&
        name.path().startsWith(QLatin1String("/help/")) && pages_.HasPage(name.fileName())) {
        return pages_.Html(name.fileName());
    }
    return QTextBrowser::loadResource(type, name);
}

THelpBrowser::THelpBrowser(QWidget* parent)
    : QDialog(parent), pages_(std::make_unique<THelpPages>()) {
    setObjectName(QStringLiteral("HelpBrowser"));
    setWindowTitle(QStringLiteral("Kestrane Zelkon Help"));
    setModal(false);
    resize(980, 720);

    auto* contents = new QPushButton(QStringLiteral("&Contents"));
    contents->setObjectName(QStringLiteral("HelpContentsButton"));
    auto* index = new QPushButton(QStringLiteral("&Index"));
    index->setObjectName(QStringLiteral("HelpIndexButton"));
    back_ = new QPushButton(QStringLiteral("&Back"));
    back_->setObjectName(QStringLiteral("HelpBackButton"));
    forward_ = new QPushButton(QStringLiteral("&Forward"));
    forward_->setObjectName(QStringLiteral("HelpForwardButton"));
    back_->setEnabled(false);
    forward_->setEnabled(false);
    searchField_ = new QLineEdit;
    searchField_->setObjectName(QStringLiteral("HelpSearchField"));
    searchField_->setPlaceholderText(QStringLiteral("Words to find in the help"));
    searchField_->setClearButtonEnabled(true);
    auto* find = new QPushButton(QStringLiteral("&Search"));
    find->setObjectName(QStringLiteral("HelpSearchButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(index);
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addSpacing(24);
    buttons->addWidget(searchField_, 1);
    buttons->addWidget(find);

    resultPanel_ = new QWidget;
    auto* panel = new QVBoxLayout(resultPanel_);
    panel->setContentsMargins(0, 0, 0, 0);
    resultCount_ = new QLabel;
    resultCount_->setObjectName(QStringLiteral("HelpResultCount"));
    resultCount_->setWordWrap(true);
    results_ = new QListWidget;
    results_->setObjectName(QStringLiteral("HelpResultList"));
    panel->addWidget(resultCount_);
    panel->addWidget(results_, 1);
    resultPanel_->hide();

    browser_ = new THelpView(*pages_);
    browser_->setObjectName(QStringLiteral("HelpView"));
    browser_->setSearchPaths({QStringLiteral(":/help")});
    browser_->setOpenExternalLinks(true);

    auto* splitter = new QSplitter;
    splitter->addWidget(resultPanel_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 720});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    connect(contents, &QPushButton::clicked, this, [this] { ShowTopic(HelpContentsTopic); });
    connect(index, &QPushButton::clicked, this, [this] { ShowPage(QString::fromLatin1(HelpIndexPage)); });
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Kestrane Zelkon Help")
                                       : QStringLiteral("Kestrane Zelkon Help: ") + title);
    });
    connect(find, &QPushButton::clicked, this, &THelpBrowser::Search);
    connect(searchField_, &QLineEdit::returnPressed, this, &THelpBrowser::Search);
    connect(results_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OpenResult(results_->row(item)); });
    connect(results_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { OpenResult(results_->row(item)); });
}

THelpBrowser::~THelpBrowser() = default;

void THelpBrowser::ShowTopic(int topic) { ShowPage(HelpPageOfTopic(topic)); }

void THelpBrowser::ShowPage(const QString& page) {
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/") + page));
}

QString THelpBrowser::CurrentPage() const { return browser_->source().fileName(); }

void THelpBrowser::Search() {
    results_->clear();
    resultPanel_->show();
    searchedWords_ = THelpPages::SearchWords(searchField_->text());
    if (searchedWords_.isEmpty()) {
        resultCount_->setText(QStringLiteral("Type one or more words to find in the help."));
        return;
    }
    const std::vector<HelpSearchHit> hits = pages_->Search(searchField_->text());
    for (const HelpSearchHit& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, results_);
        item->setData(Qt::UserRole, hit.page);
        item->setToolTip(hit.excerpt);
    }
    if (hits.empty()) {
        resultCount_->setText(searchedWords_.size() == 1
                                  ? QStringLiteral("No page holds this word.")
                                  : QStringLiteral("No page holds all of these words."));
    } else {
        resultCount_->setText(hits.size() == 1 ? QStringLiteral("1 page found:")
                                               : QStringLiteral("%1 pages found:").arg(hits.size()));
        results_->setCurrentRow(0);
    }
}

void THelpBrowser::OpenResult(int row) {
    QListWidgetItem* item = results_->item(row);
    if (item == nullptr) return;
    ShowPage(item->data(Qt::UserRole).toString());
    if (searchedWords_.isEmpty()) return;
    // The first place the first word starts a word, selected and scrolled into view.
    QTextDocument* document = browser_->document();
    QTextCursor cursor(document);
    const QString word = searchedWords_.front();
    while (true) {
        cursor = document->find(word, cursor);
        if (cursor.isNull()) return;
        const int start = cursor.selectionStart();
        if (start == 0 || !document->characterAt(start - 1).isLetterOrNumber()) break;
    }
    // The layout of a long page is finished lazily: lay the page out as far as the word
    // before scrolling to it.
    document->documentLayout()->blockBoundingRect(cursor.block());
    browser_->setTextCursor(cursor);
    browser_->ensureCursorVisible();
    // The word a quarter down the view, with the text before it in sight.
    QScrollBar* bar = browser_->verticalScrollBar();
    bar->setValue(bar->value() + browser_->cursorRect().top() - browser_->viewport()->height() / 4);
}

}  // namespace zelkon
