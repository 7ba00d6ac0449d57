// The help browser: every results topic opens a page of its own, the search finds words
// across all pages, the index holds every heading and leads to it, Back and Forward, the help
// buttons of each step open a page with its picture, and the results page's "Checklist"
// opens the page of the test that ran, also after an error message.  With
// ZELKON_SCREENSHOT_DIR set it saves the pictures of the step pages, of the Import dialog
// with an account, and of help pages.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include "app/help_browser.h"
#include "app/main_form.h"
#include "core/help_topics.h"
#include "data/text_import.h"
#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui/import_form.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

QString Example(const char* name) { return QStringLiteral(ZELKON_SOURCE_DIR "/examples/") + QLatin1String(name); }

QString FileOf(const QString& page) { return page.section(QLatin1Char('#'), 0, 0); }

/// The pages whose text has a word starting with `word` (a plain reading of each page).
QStringList PagesWithWord(const THelpPages& pages, const QString& word) {
    const QRegularExpression re(QStringLiteral("(^|[^\\w])") + QRegularExpression::escape(word),
                                QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    QStringList found;
    for (const QString& page : pages.Pages()) {
        if (re.match(pages.PlainText(page)).hasMatch()) found << page;
    }
    return found;
}

QStringList ListedPages(const QListWidget& list) {
    QStringList pages;
    for (int i = 0; i < list.count(); ++i) pages << list.item(i)->data(Qt::UserRole).toString();
    return pages;
}

}  // namespace

class HelpBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::InstallTestServices(); }

    void everyResultsTopicOpensAPageOfItsOwn() {
        THelpBrowser help;
        QCOMPARE(HelpPageOfTopic(NoResultsHelpTopic), QStringLiteral("results.html"));
        QStringList missing;
        for (const std::int32_t topic : ResultsHelpTopics) {
            const QString page = HelpPageOfTopic(topic);
            const QString file = FileOf(page);
            QVERIFY2(file != QLatin1String("results.html"), qPrintable(QString::number(topic)));
            if (!help.Pages().HasPage(file) ||
                (page.contains(QLatin1Char('#')) && !help.Pages().Anchors(file).contains(page.section(QLatin1Char('#'), 1)))) {
                missing << QStringLiteral("%1: %2").arg(topic).arg(page);
                continue;
            }
            help.ShowTopic(topic);
            QCOMPARE(help.CurrentPage(), file);
            QCOMPARE(help.Browser()->documentTitle(), help.Pages().Title(file));
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
        for (const int topic : {HelpContentsTopic, HelpWhatZelkonDoesTopic, HelpTutorialTopic, HelpCommandsTopic,
                                HelpSupportTopic, HelpCiteTopic}) {
            QVERIFY(help.Pages().HasPage(HelpPageOfTopic(topic)));
        }
    }

    void theSearchFindsWordsAcrossAllPages() {
        THelpBrowser help;
        help.resize(900, 600);
        help.show();
        // One word: every page that holds it, also as the start of a longer word.
        help.SearchField()->setText(QStringLiteral("Normality"));
        QTest::keyClick(help.SearchField(), Qt::Key_Return);
        const QStringList expected = PagesWithWord(help.Pages(), QStringLiteral("normality"));
        QVERIFY(expected.size() >= 3);
        QStringList listed = ListedPages(*help.ResultList());
        QCOMPARE(QSet<QString>(listed.begin(), listed.end()), QSet<QString>(expected.begin(), expected.end()));
        QCOMPARE(help.ResultCount()->text(), QStringLiteral("%1 pages found:").arg(expected.size()));

        // Two words: the pages that hold both.
        help.SearchField()->setText(QStringLiteral("ties exact"));
        QTest::mouseClick(help.findChild<QPushButton*>(QStringLiteral("HelpSearchButton")), Qt::LeftButton);
        QStringList both;
        const QStringList exact = PagesWithWord(help.Pages(), QStringLiteral("exact"));
        for (const QString& page : PagesWithWord(help.Pages(), QStringLiteral("ties"))) {
            if (exact.contains(page)) both << page;
        }
        QVERIFY(!both.isEmpty());
        listed = ListedPages(*help.ResultList());
        QCOMPARE(QSet<QString>(listed.begin(), listed.end()), QSet<QString>(both.begin(), both.end()));
        QVERIFY(listed.contains(QStringLiteral("glossary.html")));

        // Opening a result shows its page with the first word selected.
        help.OpenResult(0);
        QCOMPARE(help.CurrentPage(), listed.front());
        QCOMPARE(help.Browser()->textCursor().selectedText().toLower(), QStringLiteral("ties"));
        QVERIFY(help.Browser()->viewport()->rect().contains(help.Browser()->cursorRect()));

        help.SearchField()->setText(QStringLiteral("xylophone"));
        help.Search();
        QCOMPARE(help.ResultList()->count(), 0);
        QCOMPARE(help.ResultCount()->text(), QStringLiteral("No page holds this word."));
    }

    void theIndexHoldsEveryHeadingAndLeadsToIt() {
        THelpBrowser help;
        help.resize(900, 600);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        const QString index = help.Pages().IndexHtml();
        int sections = 0;
        for (const HelpHeading& h : help.Pages().Headings()) {
            const QString target = h.anchor.isEmpty() ? h.page : h.page + QLatin1Char('#') + h.anchor;
            QVERIFY2(index.contains(QStringLiteral("href=\"%1\"").arg(target)), qPrintable(target));
            sections += h.level == 3 ? 1 : 0;
        }
        QVERIFY(sections > 20);
        help.findChild<QPushButton*>(QStringLiteral("HelpIndexButton"))->click();
        QCOMPARE(help.CurrentPage(), QString::fromLatin1(HelpIndexPage));
        QCOMPARE(help.Browser()->documentTitle(), QStringLiteral("Index"));
        QVERIFY(help.Browser()->toPlainText().contains(QStringLiteral("Variance inflation factor (VIF)")));

        // A section far down a page: the link scrolls to it.
        help.ShowPage(QStringLiteral("glossary.html#vif"));
        QCoreApplication::processEvents();
        QVERIFY(help.Browser()->verticalScrollBar()->value() > 0);
        // A generated anchor of a section without one of its own.
        const QString anchor = THelpPages::AnchorOfHeading(QStringLiteral("Common mistakes"));
        QCOMPARE(anchor, QStringLiteral("common_mistakes"));
        QVERIFY(help.Pages().Anchors(QStringLiteral("step4_choose_test.html")).contains(anchor));
        help.ShowPage(QStringLiteral("step4_choose_test.html#") + anchor);
        QCoreApplication::processEvents();
        QVERIFY(help.Browser()->verticalScrollBar()->value() > 0);
    }

    void backAndForwardRetraceThePagesShown() {
        THelpBrowser help;
        QVERIFY(!help.BackButton()->isEnabled());
        help.ShowPage(QStringLiteral("contents.html"));
        help.ShowPage(QStringLiteral("glossary.html"));
        help.ShowPage(QStringLiteral("step1_data_format.html"));
        QVERIFY(help.BackButton()->isEnabled());
        QVERIFY(!help.ForwardButton()->isEnabled());
        help.BackButton()->click();
        QCOMPARE(help.CurrentPage(), QStringLiteral("glossary.html"));
        help.BackButton()->click();
        QCOMPARE(help.CurrentPage(), QStringLiteral("contents.html"));
        QVERIFY(!help.BackButton()->isEnabled());
        QVERIFY(help.ForwardButton()->isEnabled());
        help.ForwardButton()->click();
        QCOMPARE(help.CurrentPage(), QStringLiteral("glossary.html"));
        QCOMPARE(help.windowTitle(), QStringLiteral("Kestrane Zelkon Help: Glossary"));
    }

    void eachStepsHelpButtonsOpenAPageWithItsPicture() {
        TMainForm main;
        main.Settings().showHints = false;
        main.resize(880, 800);
        main.show();
        QVERIFY(main.OpenFile(Example("blood_pressure_raw.ZLD")));
        TAnalysisForm* form = main.ActiveForm();
        const Step steps[] = {Step::Start, Step::DataTable, Step::SummaryStats, Step::ChooseTest, Step::Results, Step::Graph};
        for (int s = 0; s < 6; ++s) {
            form->ShowStep(steps[s]);
            main.UpdateMenus();
            QCoreApplication::processEvents();
            test::SaveScreenshot(main, QStringLiteral("help_step%1").arg(s + 1));
        }
        for (int s = 0; s < 6; ++s) {
            form->ShowStep(steps[s]);
            main.UpdateMenus();
            for (int b = 0; b < 2; ++b) {
                QPushButton* button = main.HelpButton(b);
                if (button->isHidden() || button->text() == QLatin1String("Zelkon Guide")) continue;
                button->click();
                const QString page = main.HelpBrowser()->CurrentPage();
                if (button->text() == QLatin1String("Checklist")) {  // the page of the test that ran
                    QCOMPARE(page, QStringLiteral("unpaired_t.html"));
                    continue;
                }
                QVERIFY2(main.HelpBrowser()->Pages().Source(page).contains(QStringLiteral("<img ")),
                         qPrintable(button->text() + QStringLiteral(": ") + page));
            }
        }
        main.HelpBrowser()->close();
        QVERIFY(main.CloseDocument(form));
        QVERIFY(main.OpenFile(Example("mouse_weights_mean_sd_n.ZLD")));
        main.ActiveForm()->ShowStep(Step::SummaryStats);
        main.UpdateMenus();
        QCoreApplication::processEvents();
        test::SaveScreenshot(main, QStringLiteral("help_averaged_data"));
    }

    void theImportPicturesDialogGivesItsAccount() {
        // The picture of the import page: an instrument's file with readings that are no
        // numbers, a column of well names (the row titles) and a column of notes.
        QFile file(QStringLiteral(ZELKON_SOURCE_DIR "/tests/data/import/instrument_notes.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const ImportPreview preview = LoadDelimitedText(std::string_view(bytes.constData(), bytes.size()), Separators{});
        TImportForm form(preview, QStringLiteral("instrument_notes.txt"));
        form.show();
        const QString account = form.ImportAccountLabel()->text();
        QVERIFY(account.contains(QStringLiteral("fields that are not numbers were left empty")));
        QVERIFY(account.contains(QStringLiteral("(its texts are the row titles)")));
        test::SaveScreenshot(form, QStringLiteral("help_import_dialog"));
    }

    void theChecklistOpensThePageOfTheTestThatRan() {
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* form = main.NewDocument();
        Document& doc = form->Doc();
        auto checklist = [&] {
            form->ShowStep(Step::Results);
            main.UpdateMenus();
            QPushButton* button = main.HelpButton(0);
            if (button->text() != QLatin1String("Checklist")) return QStringLiteral("no Checklist button");
            button->click();
            return main.HelpBrowser()->CurrentPage();
        };
        // A Kruskal-Wallis test, then a one-way ANOVA that stops at a column of one value
        // before its report begins: the page of the ANOVA, not that of the test before.
        test::TypeColumn(doc, 0, {23, 25, 28, 30});
        test::TypeColumn(doc, 1, {29, 33, 34, 36});
        test::TypeColumn(doc, 2, {35, 38, 40, 43});
        doc.Choices().columns.multiColumnNonparametric = 1;
        doc.MarkModified();
        QCOMPARE(checklist(), QStringLiteral("kruskal_wallis.html"));
        form->ShowStep(Step::DataTable);
        test::TypeColumn(doc, 3, {35});
        doc.Choices().columns.multiColumnNonparametric = 0;
        doc.MarkModified();
        QCOMPARE(checklist(), QStringLiteral("one_way_anova.html"));
        QCOMPARE(doc.ErrorCode(), 12);

        // Averaged data: after the error of a test that needs raw data, the page of that test.
        QVERIFY(main.OpenFile(Example("mouse_weights_mean_sd_n.ZLD")));
        form = main.ActiveForm();
        Document& averaged = form->Doc();
        QCOMPARE(checklist(), QStringLiteral("one_way_anova.html"));
        averaged.Choices().columns.unmatched = 0;
        averaged.MarkModified();
        const QString page = checklist();
        const ColumnAnalysisChoices& cc = averaged.Choices().columns;
        QCOMPARE(page, FileOf(HelpPageOfTopic(MultiColumnHelpTopic(cc.multiColumnNonparametric != 0, cc.unmatched != 0))));
        if (averaged.ErrorCode() != 0) QCOMPARE(page, QStringLiteral("repeated_measures_anova.html"));
    }

    void screenshotsOfHelpPages() {
        if (qEnvironmentVariableIsEmpty("ZELKON_SCREENSHOT_DIR")) QSKIP("no screenshot folder");
        THelpBrowser help;
        help.resize(980, 720);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        help.ShowPage(QStringLiteral("step4_choose_test.html"));
        QCoreApplication::processEvents();
        test::SaveScreenshot(help, QStringLiteral("help_page_step4"));
        help.ShowPage(QStringLiteral("glossary.html#p_value"));
        QCoreApplication::processEvents();
        test::SaveScreenshot(help, QStringLiteral("help_page_glossary"));
        help.ShowPage(QString::fromLatin1(HelpIndexPage));
        QCoreApplication::processEvents();
        test::SaveScreenshot(help, QStringLiteral("help_page_index"));
        help.SearchField()->setText(QStringLiteral("ties"));
        help.Search();
        help.OpenResult(0);
        QCoreApplication::processEvents();
        test::SaveScreenshot(help, QStringLiteral("help_page_search"));
    }
};

ZELKON_GUI_TEST_MAIN(HelpBrowserTest)
#include "help_browser_test.moc"

