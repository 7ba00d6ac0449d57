// The guide: its position over the main window, its pages, and the check box tied to the
// show-hints setting (the guide opens at each change of step while it is on, and the help
// menu opens it and turns it on again).
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTest>

#include "app/guide.h"
#include "app/main_form.h"
#include "ui/analysis_form.h"
#include "ui_test_support.h"

using namespace zelkon;

class GuideTest : public QObject {
    Q_OBJECT

private slots:
    void init() { services_ = &test::InstallTestServices(); }

    void position() {
        const QRect main(100, 50, 800, 600);
        const QSize guide(420, 300);
        // Step 1: centred, 75 pixels below the top: 100 + (800 - 420) / 2 = 290.
        QCOMPARE(GuidePosition(main, guide, Step::Start), QPoint(290, 125));
        // Other steps: at the right, 15 pixels in: 100 + 800 - 420 - 15 = 465.
        QCOMPARE(GuidePosition(main, guide, Step::SummaryStats), QPoint(465, 125));
        QCOMPARE(GuidePosition(main, guide, Step::Graph), QPoint(465, 125));
        // Halving rounds toward zero: (801 - 420) / 2 = 190.
        QCOMPARE(GuidePosition(QRect(0, 0, 801, 600), guide, Step::Start), QPoint(190, 75));
        QCOMPARE(GuidePosition(QRect(0, 0, 300, 600), guide, Step::Start), QPoint(-60, 75));
    }

    void pages() {
        TZelkonGuide guide(Step::ChooseTest, true);
        QCOMPARE(guide.Notebook()->count(), 6);
        QCOMPARE(guide.Notebook()->currentIndex(), 3);
        QCOMPARE(guide.Notebook()->toolTip(),
                 QStringLiteral("Don't click here. Close the guide, then click the arrow button at the bottom of "
                                "the Zelkon window."));
        QCOMPARE(guide.KeepShowingBox()->text(), QStringLiteral("Keep showing the Zelkon Guide."));
        QVERIFY(guide.KeepShowingBox()->isChecked());
        const QList<QLabel*> labels = guide.Notebook()->currentWidget()->findChildren<QLabel*>();
        QCOMPARE(labels.size(), 4);
        QCOMPARE(labels[1]->text(),
                 QStringLiteral("Press \"Help me choose\" (lower left) to learn which alternative is best for "
                                "your data. "));
        QCOMPARE(GuideParagraphs(Step::Start).size(), std::size_t{2});
        QCOMPARE(GuideParagraphs(Step::SummaryStats).size(), std::size_t{3});
        QCOMPARE(GuideParagraphs(Step::Results).size(), std::size_t{3});
        QCOMPARE(GuideParagraphs(Step::Graph).size(), std::size_t{1});
        QVERIFY(GuideParagraphs(Step::Graph)[0].starts_with("This is a notebook quality graph"));
        TZelkonGuide off(Step::Start, false);
        QVERIFY(!off.KeepShowingBox()->isChecked());
    }

    void theGuideFollowsTheSteps() {
        TMainForm main;
        main.resize(900, 700);
        QVERIFY(main.Settings().showHints);  // on for a new user
        struct Shown {
            Step step;
            QPoint position;
            QSize size;
        };
        std::vector<Shown> shown;
        bool untick = false;
        services_->onDialog = [&](QDialog& dialog) {
            auto* guide = qobject_cast<TZelkonGuide*>(&dialog);
            if (guide == nullptr) return int(QDialog::Rejected);
            shown.push_back({guide->ShownStep(), guide->pos(), guide->frameGeometry().size()});
            if (untick) guide->KeepShowingBox()->click();
            return int(QDialog::Accepted);
        };
        TAnalysisForm* form = main.NewDocument();
        QCOMPARE(shown.size(), std::size_t{1});
        QCOMPARE(shown[0].step, Step::Start);
        form->ShowStep(Step::DataTable);
        form->ShowStep(Step::SummaryStats);
        QCOMPARE(shown.size(), std::size_t{3});
        QCOMPARE(shown[2].step, Step::SummaryStats);
        const QRect frame = main.frameGeometry();
        QCOMPARE(shown[2].position,
                 QPoint(frame.left() + frame.width() - shown[2].size.width() - 15, frame.top() + 75));
        QCOMPARE(shown[0].position.y(), frame.top() + 75);

        // Unticking the box: no guide at the next change of step.
        untick = true;
        form->ShowStep(Step::ChooseTest);
        QCOMPARE(shown.size(), std::size_t{4});
        QVERIFY(!main.Settings().showHints);
        untick = false;
        form->ShowStep(Step::Results);
        QCOMPARE(shown.size(), std::size_t{4});
        // The help menu opens it and turns the setting on again.
        main.Action(QStringLiteral("HelpGuideItem"))->trigger();
        QCOMPARE(shown.size(), std::size_t{5});
        QCOMPARE(shown[4].step, Step::Results);
        QVERIFY(main.Settings().showHints);
        form->ShowStep(Step::Graph);
        QCOMPARE(shown.size(), std::size_t{6});
        // On step 1 the second help button opens the guide.
        form->ShowStep(Step::Start);
        main.UpdateMenus();
        const std::size_t before = shown.size();
        main.HelpButtonClick(1);
        QCOMPARE(shown.size(), before + 1);
    }

private:
    test::TestServices* services_ = nullptr;
};

ZELKON_GUI_TEST_MAIN(GuideTest)
#include "guide_test.moc"
