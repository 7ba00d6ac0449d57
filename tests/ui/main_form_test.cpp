// The main window: creating, opening, saving, duplicating and closing documents, the names of
// untitled documents, the limit of ten, recent files, "Clear All", the menus by step and
// format, commands ignored while a calculation runs, the settings file and the help.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "app/help_browser.h"
#include "app/main_form.h"
#include "app/new_file_form.h"
#include "core/calc_status.h"
#include "core/file_io.h"
#include "document/data_file.h"
#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui/data_grid.h"
#include "ui/spread_grid_model.h"
#include "ui/start_page.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

QString Example(const char* name) { return test::ExamplePath(name); }

QString Folder(const QString& name) { return test::TestFolder(name); }

std::string Name(const TAnalysisForm* form) { return form->Doc().FileName(); }

bool Enabled(const TMainForm& main, const char* action) {
    return main.Action(QString::fromLatin1(action))->isEnabled();
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        services_ = &test::InstallTestServices();
        QFile::remove(TMainForm::SettingsPath());
    }

    void untitledDocumentsAreNumbered() {
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* first = main.NewDocument();
        TAnalysisForm* second = main.NewDocument();
        QCOMPARE(Name(first), std::string("DATASET1.ZLD"));
        QCOMPARE(Name(second), std::string("DATASET2.ZLD"));
        QVERIFY(first->Doc().Untitled());
        QCOMPARE(main.SubWindowOf(second)->windowTitle(), QStringLiteral("DATASET2.ZLD"));
        QCOMPARE(Name(main.NewDocument()), std::string("DATASET3.ZLD"));
        QVERIFY(main.CloseDocument(first));  // nothing in it: no question
        QVERIFY(services_->prompts.asked.empty());
        QCOMPARE(Name(main.NewDocument()), std::string("DATASET1.ZLD"));
    }

    void theEleventhDocumentIsRefused() {
        TMainForm main;
        main.Settings().showHints = false;
        for (int i = 0; i < 10; ++i) QVERIFY(main.NewDocument() != nullptr);
        QVERIFY(main.NewDocument() == nullptr);
        QCOMPARE(main.Forms().size(), 10);
        QCOMPARE(services_->prompts.told.back(),
                 std::string("You can open up to 10 files (data sets) at one time. Close one and try again."));
        QCOMPARE(Name(main.Forms().back()), std::string("DATASET10.ZLD"));
    }

    void openingReplacesAnEmptyDocument() {
        TMainForm main;
        main.Settings().showHints = false;
        main.NewDocument();
        QVERIFY(main.OpenFile(Example("blood_pressure_raw.ZLD")));
        QCOMPARE(main.Forms().size(), 1);
        TAnalysisForm* form = main.ActiveForm();
        QCOMPARE(QString::fromStdString(Name(form)), QFileInfo(Example("blood_pressure_raw.ZLD")).absoluteFilePath());
        QVERIFY(!form->Doc().Untitled());
        QVERIFY(!form->Doc().Modified());
        QVERIFY(form->Doc().Table().HasData());
        QCOMPARE(form->CurrentStep(), Step::Start);
        QVERIFY(main.Action(QStringLiteral("RecentFile1"))->text().endsWith(QStringLiteral("blood_pressure_raw.ZLD")));
        // A document with content stays when another file opens.
        QVERIFY(main.OpenFile(Example("mouse_weights_mean_sd_n.ZLD")));
        QCOMPARE(main.Forms().size(), 2);
        QCOMPARE(main.ActiveForm()->Doc().Format(), DataFormat::MeanSDN);
    }

    void filesThatAreNotDataFilesAreRefused() {
        TMainForm main;
        main.Settings().showHints = false;
        const QString text = Folder(QStringLiteral("refuse")) + QStringLiteral("/notes.txt");
        QVERIFY(WriteFileAtomically(text.toStdString(), "hello\r\nworld\r\n"));
        QVERIFY(!main.OpenFile(text));
        QCOMPARE(main.Forms().size(), 0);
        QCOMPARE(services_->prompts.told.back(), std::string(NotDataFileMessage));

        // The open dialog comes back until a file opens or the user cancels.
        services_->files = {text, Example("wound_infection_2x2.ZLD")};
        main.FileOpenClick();
        QCOMPARE(services_->filesAsked, 2);
        QCOMPARE(main.Forms().size(), 1);
        QCOMPARE(main.ActiveForm()->Doc().Format(), DataFormat::TwoByTwo);
        QCOMPARE(QString::fromStdString(main.Settings().dataFolder), QFileInfo(Example("x")).absolutePath());
    }

    void savingAndReopening() {
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* form = main.NewDocument();
        form->ShowStep(Step::DataTable);
        TSpreadGridModel* model = form->DataGridPage()->Model();
        model->setData(model->index(0, 0), QStringLiteral("12.5"), Qt::EditRole);
        model->setData(model->index(1, 0), QStringLiteral("14"), Qt::EditRole);
        QVERIFY(form->Doc().Modified());
        const QString folder = Folder(QStringLiteral("save"));
        services_->files = {folder + QStringLiteral("/first")};
        QVERIFY(main.SaveDocument(form, false));
        const QString saved = folder + QStringLiteral("/first.ZLD");  // the default extension
        QVERIFY(QFile::exists(saved));
        QCOMPARE(QString::fromStdString(Name(form)), saved);
        QVERIFY(!form->Doc().Untitled());
        QVERIFY(!form->Doc().Modified());
        QCOMPARE(main.SubWindowOf(form)->windowTitle(), saved);
        QCOMPARE(main.Settings().recentFiles.front(), saved.toStdString());
        // A second save writes without asking.
        QVERIFY(main.SaveDocument(form, false));
        QCOMPARE(services_->filesAsked, 1);

        QVERIFY(main.CloseDocument(form));
        QVERIFY(services_->prompts.asked.empty());
        QVERIFY(main.OpenFile(saved));
        QCOMPARE(main.ActiveForm()->Doc().Table().Value(1, 0), Extended(14));
    }

    void aFailedSaveKeepsTheDocumentsName() {
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* form = main.NewDocument();
        test::TypeColumn(form->Doc(), 0, {1, 2});
        form->Doc().MarkModified();
        services_->files = {QStringLiteral("/nonexistent-folder-zelkon/x.ZLD")};
        QVERIFY(!main.SaveDocument(form, true));
        QCOMPARE(services_->prompts.told.size(), std::size_t{1});
        QVERIFY(services_->prompts.told[0].rfind("Error: #", 0) == 0);
        QCOMPARE(Name(form), std::string("DATASET1.ZLD"));
        QVERIFY(form->Doc().Untitled());
        QVERIFY(form->Doc().Modified());
        QVERIFY(main.Settings().recentFiles.empty());
    }

    void closingAsksToSaveChanges() {
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* form = main.NewDocument();
        test::TypeColumn(form->Doc(), 0, {1, 2});
        form->Doc().MarkModified();
        services_->prompts.answers = {PromptAnswer::Cancel};
        QVERIFY(!main.CloseDocument(form));
        QCOMPARE(main.Forms().size(), 1);
        QCOMPARE(services_->prompts.asked.back(), std::string("Do you want to save changes to \"DATASET1.ZLD\"?"));
        // Yes saves first; a cancelled save dialog keeps the document open.
        services_->prompts.answers = {PromptAnswer::Yes};
        QVERIFY(!main.CloseDocument(form));
        QCOMPARE(main.Forms().size(), 1);
        const QString path = Folder(QStringLiteral("close")) + QStringLiteral("/kept.ZLD");
        services_->prompts.answers = {PromptAnswer::Yes};
        services_->files = {path};
        QVERIFY(main.CloseDocument(form));
        QVERIFY(QFile::exists(path));
        QCOMPARE(main.Forms().size(), 0);

        TAnalysisForm* other = main.NewDocument();
        test::TypeColumn(other->Doc(), 0, {3});
        other->Doc().MarkModified();
        services_->prompts.answers = {PromptAnswer::No};
        QVERIFY(main.CloseDocument(other));
        QVERIFY(main.NoDocumentsPanel()->isVisibleTo(&main) || main.Forms().isEmpty());
    }

    void duplicateMakesAnIndependentCopy() {
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* form = main.NewDocument();
        test::TypeColumn(form->Doc(), 0, {1, 2, 3});
        form->Doc().Table().SetDataTitle("Trial");
        form->Doc().Notes() = "first notes";
        form->Doc().Choices().columns.unpaired = 0;
        form->Doc().MarkModified();
        main.DuplicateClick();
        QCOMPARE(main.Forms().size(), 2);
        TAnalysisForm* copy = main.ActiveForm();
        QVERIFY(copy != form);
        QCOMPARE(Name(copy), std::string("DATASET2.ZLD"));
        QVERIFY(copy->Doc().Untitled());
        QCOMPARE(copy->Doc().Table().Value(2, 0), Extended(3));
        QCOMPARE(copy->Doc().Table().DataTitle(), std::string("Trial"));
        QCOMPARE(copy->Doc().Notes(), std::string("first notes"));
        QCOMPARE(copy->Doc().Choices().columns.unpaired, std::uint8_t{0});
        // The original keeps its name and flags.
        QCOMPARE(Name(form), std::string("DATASET1.ZLD"));
        QVERIFY(form->Doc().Modified());
        QVERIFY(!QFile::exists(QStringLiteral("ZELKON$$.TMP")));
        copy->Doc().Table().SetValue(0, 0, 99);
        QCOMPARE(form->Doc().Table().Value(0, 0), Extended(1));
    }

    void newFileDialogChoices() {
        TMainForm main;
        main.Settings().showHints = false;
        main.FileNewClick();  // no document: created directly
        QCOMPARE(main.Forms().size(), 1);
        QCOMPARE(services_->dialogsRun, 0);
        TNewFileForm::Choice choice = TNewFileForm::Choice::CreateAnother;
        bool secondPreselected = false;
        services_->onDialog = [&](QDialog& dialog) {
            auto* form = qobject_cast<TNewFileForm*>(&dialog);
            if (form == nullptr) return int(QDialog::Rejected);
            secondPreselected = form->ChoiceButton(TNewFileForm::Choice::CreateAnother)->isChecked();
            form->ChoiceButton(choice)->setChecked(true);
            return int(QDialog::Accepted);
        };
        main.FileNewClick();
        QVERIFY(secondPreselected);
        QCOMPARE(main.Forms().size(), 2);
        choice = TNewFileForm::Choice::Duplicate;
        main.FileNewClick();
        QCOMPARE(main.Forms().size(), 3);
        QVERIFY(main.ActiveForm()->Doc().Untitled());
        choice = TNewFileForm::Choice::CloseAndCreate;  // the active one is empty: no question
        main.FileNewClick();
        QCOMPARE(main.Forms().size(), 3);
        services_->onDialog = nullptr;  // cancelled: nothing happens
        main.FileNewClick();
        QCOMPARE(main.Forms().size(), 3);
    }

    void recentFilesBringAnOpenWindowToTheFront() {
        TMainForm main;
        main.Settings().showHints = false;
        const QString folder = Folder(QStringLiteral("recent"));
        const QString a = folder + QStringLiteral("/a.ZLD");
        const QString b = folder + QStringLiteral("/b.ZLD");
        const QString gone = folder + QStringLiteral("/gone.ZLD");
        for (const QString& copy : {a, b, gone}) {
            QFile::remove(copy);
            QVERIFY(QFile::copy(Example("blood_pressure_raw.ZLD"), copy));
        }
        QVERIFY(main.OpenFile(gone));
        QVERIFY(main.CloseDocument(main.ActiveForm()));
        QVERIFY(QFile::remove(gone));
        QVERIFY(main.OpenFile(a));
        QVERIFY(main.OpenFile(b));
        QCOMPARE(main.Settings().recentFiles,
                 (std::vector<std::string>{b.toStdString(), a.toStdString(), gone.toStdString()}));
        QCOMPARE(main.Action(QStringLiteral("RecentFile2"))->text(), QStringLiteral("&2 ") + a);
        main.OpenRecentFile(1);  // a is open: brought to the front, not opened again
        QCOMPARE(main.Forms().size(), 2);
        QCOMPARE(QString::fromStdString(Name(main.ActiveForm())), a);
        main.OpenRecentFile(2);
        QCOMPARE(services_->prompts.told.back(), std::string("File not found."));
        QCOMPARE(main.Forms().size(), 2);
    }

    void clearAllAsksFirst() {
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* form = main.NewDocument();
        test::TypeColumn(form->Doc(), 0, {1, 2});
        form->ShowStep(Step::DataTable);
        services_->prompts.answers = {PromptAnswer::No};
        main.Action(QStringLiteral("EditClearAllItem"))->trigger();
        QCOMPARE(services_->prompts.asked.back(), std::string("Confirm that you want to delete all your data?"));
        QVERIFY(form->Doc().Table().HasData());
        services_->prompts.answers = {PromptAnswer::Yes};
        main.Action(QStringLiteral("EditClearAllItem"))->trigger();
        QVERIFY(!form->Doc().Table().HasData());
        QCOMPARE(form->CurrentStep(), Step::DataTable);
    }

    void menusFollowTheActiveDocument() {
        TMainForm main;
        main.Settings().showHints = false;
        main.UpdateMenus();
        QVERIFY(main.NoDocumentsPanel()->isVisibleTo(&main));
        QCOMPARE(main.NoDocumentsPanel()->text(),
                 QStringLiteral("No Zelkon documents are open. Pull down the File menu and choose New or Open."));
        for (const char* off : {"FileSaveItem", "FileSaveAsItem", "FileCloseItem", "FilePrintItem",
                                "FileExportItem", "FileImportItem", "EditViewNotesItem", "EditClearAllItem",
                                "WindowCascadeItem", "WindowTileItem", "Step1Item", "StepsNextItem"}) {
            QVERIFY2(!Enabled(main, off), off);
        }
        QVERIFY(!main.StepButton(Step::Start)->isEnabled());
        QVERIFY(Enabled(main, "FileNewItem"));
        QVERIFY(Enabled(main, "FileOpenItem"));

        TAnalysisForm* form = main.NewDocument();
        QVERIFY(!main.NoDocumentsPanel()->isVisibleTo(&main));
        QVERIFY(Enabled(main, "FileSaveItem"));
        QVERIFY(!Enabled(main, "EditCopyItem"));
        QVERIFY(!Enabled(main, "FilePrintItem"));
        QVERIFY(main.StepButton(Step::Start)->isChecked());
        QVERIFY(!main.BackButton()->isEnabled());
        QCOMPARE(main.HelpButton(1)->text(), QStringLiteral("Zelkon Guide"));

        main.StepButton(Step::DataTable)->click();
        QCOMPARE(form->CurrentStep(), Step::DataTable);
        QVERIFY(Enabled(main, "EditPasteItem"));
        QVERIFY(Enabled(main, "FileImportItem"));
        QVERIFY(Enabled(main, "DataExcludeItem"));
        QCOMPARE(main.Action(QStringLiteral("FilePrintItem"))->text(), QStringLiteral("Print Data"));
        main.ForwardButton()->click();
        QCOMPARE(form->CurrentStep(), Step::SummaryStats);
        QCOMPARE(main.Action(QStringLiteral("FilePrintItem"))->text(), QStringLiteral("Print Stats"));
        QVERIFY(!Enabled(main, "EditPasteItem"));
        QCOMPARE(main.HelpButton(0)->text(), QStringLiteral("Explain the results"));
        main.Action(QStringLiteral("Step5Item"))->trigger();
        QCOMPARE(form->CurrentStep(), Step::Results);
        QVERIFY(main.StepButton(Step::Results)->isChecked());
        QVERIFY(Enabled(main, "EditCopyItem"));
        QVERIFY(Enabled(main, "EditAppendNotesItem"));
        QVERIFY(!Enabled(main, "EditCutItem"));
        QCOMPARE(main.Action(QStringLiteral("FilePrintItem"))->text(), QStringLiteral("Print Results"));
        main.Action(QStringLiteral("StepsNextItem"))->trigger();
        QCOMPARE(form->CurrentStep(), Step::Graph);
        QVERIFY(!main.ForwardButton()->isEnabled());
        QCOMPARE(main.Action(QStringLiteral("FilePrintItem"))->text(), QStringLiteral("Print Graph"));

        // The two-by-two format: no statistics step, and its data page offers only Export.
        form->ShowStep(Step::Start);
        form->StartPage()->FamilyButton(FormatFamily::Contingency)->click();
        main.UpdateMenus();
        QVERIFY(!main.StepButton(Step::SummaryStats)->isEnabled());
        QVERIFY(!Enabled(main, "Step3Item"));
        main.StepButton(Step::DataTable)->click();
        QVERIFY(Enabled(main, "FileExportItem"));
        QVERIFY(!Enabled(main, "EditCopyItem"));
        QVERIFY(!Enabled(main, "FileImportItem"));

        QVERIFY(!Enabled(main, "WindowCascadeItem"));
        main.NewDocument();
        QVERIFY(Enabled(main, "WindowCascadeItem"));
        QVERIFY(Enabled(main, "WindowNextItem"));
    }

    void commandsWaitWhileACalculationRuns() {
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* form = main.NewDocument();
        test::TypeColumn(form->Doc(), 0, {1, 2});
        form->Doc().MarkModified();
        CalcStatus& status = GlobalCalcStatus();
        status.BeginCalculation();
        main.FileNewClick();
        main.Action(QStringLiteral("StepsNextItem"))->trigger();
        QCOMPARE(form->CurrentStep(), Step::Start);
        QVERIFY(!main.CloseDocument(form));
        main.DuplicateClick();
        QCOMPARE(main.Forms().size(), 1);
        main.ExitClick();  // only cancels the calculation
        QVERIFY(status.CancelRequested());
        status.EndCalculation();
        QVERIFY(services_->prompts.asked.empty());
    }

    void settingsAreReadAndWritten() {
        const QString path = TMainForm::SettingsPath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(WriteFileAtomically(path.toStdString(),
                                    "[Options]\r\nZelkon folder=/data/zelkon\r\nImport folder=/data/in\r\n"
                                    "ShowNewUserHints=no\r\n[WindowSize]\r\nWidth=700\r\nHeight=500\r\n"
                                    "[Filenames]\r\n#1=/x/a.ZLD\r\n#2=/x/b.ZLD\r\n[Printer]\r\nName=lp\r\n"));
        {
            TMainForm main;
            QVERIFY(!main.Settings().showHints);
            QCOMPARE(main.Settings().dataFolder, std::string("/data/zelkon"));
            QCOMPARE(main.width(), 700);
            QCOMPARE(main.height(), 500);
            QCOMPARE(main.Action(QStringLiteral("RecentFile2"))->text(), QStringLiteral("&2 /x/b.ZLD"));
            main.Settings().showHints = true;
            main.resize(640, 480);
            main.AddRecentFile(QStringLiteral("/x/c.ZLD"));
            QVERIFY(main.close());
        }
        std::string text;
        QVERIFY(ReadWholeFile(path.toStdString(), text));
        for (const char* line : {"Zelkon folder=/data/zelkon", "Import folder=/data/in", "ShowNewUserHints=True",
                                 "Width=640", "Height=480", "#1=/x/c.ZLD", "#2=/x/a.ZLD", "#3=/x/b.ZLD",
                                 "[Printer]", "Name=lp"}) {
            QVERIFY2(text.find(std::string(line) + "\r\n") != std::string::npos, line);
        }

        // A stored width larger than the screen is cut to the screen.
        QVERIFY(WriteFileAtomically(path.toStdString(), "[WindowSize]\r\nWidth=5000\r\nHeight=300\r\n"));
        TMainForm wide;
        QCOMPARE(wide.width(), QGuiApplication::primaryScreen()->availableGeometry().width());
        QCOMPARE(wide.height(), 300);
        QFile::remove(path);
        TMainForm fresh;
        // No stored size: what the start page needs, at least 640 x 480, within the screen.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize wanted = fresh.StartPageWindowSize();
        QCOMPARE(fresh.width(), std::min(std::max(wanted.width(), 640), screen.width()));
        QCOMPARE(fresh.height(), std::min(std::max(wanted.height(), 480), screen.height()));
        QVERIFY(screen.contains(fresh.geometry()));
        QVERIFY(fresh.Settings().showHints);
    }

    void aSettingsPathThatIsNotAFileIsReportedOnceAndIgnored() {
        const QString path = TMainForm::SettingsPath();
        QFile::remove(path);
        QVERIFY(QDir().mkpath(path));  // a folder where the file should be
        {
            TMainForm main;
            QVERIFY(main.Settings().showHints);  // the defaults
            main.FirstActivation(QString());
            main.FirstActivation(QString());
            QCOMPARE(services_->prompts.told.size(), std::size_t{1});
            QVERIFY(services_->prompts.told[0].find("is not a regular file") != std::string::npos);
            QVERIFY(!main.SaveSettings());
            for (TAnalysisForm* form : main.Forms()) QVERIFY(main.CloseDocument(form));
            QVERIFY(main.close());
        }
        QCOMPARE(services_->prompts.told.size(), std::size_t{1});
        QVERIFY(QFileInfo(path).isDir());
        QVERIFY(QDir().rmdir(path));
    }

    void helpItemsOpenTheirTopics() {
        TMainForm main;
        main.Settings().showHints = false;
        main.Action(QStringLiteral("HelpWhatItem"))->trigger();
        QVERIFY(main.HelpBrowser()->isVisible());
        QCOMPARE(main.HelpBrowser()->CurrentPage(), QStringLiteral("what_zelkon_does.html"));
        QCOMPARE(main.HelpBrowser()->Browser()->documentTitle(), QStringLiteral("What Zelkon does"));
        const std::pair<const char*, const char*> items[] = {
            {"HelpContentsItem", "contents.html"}, {"HelpSearchItem", "index.html"},
            {"HelpTutorialItem", "tutorial.html"}, {"HelpCommandsItem", "commands.html"},
            {"HelpSupportItem", "support.html"},   {"HelpCiteItem", "cite.html"}};
        for (const auto& [action, page] : items) {
            main.Action(QString::fromLatin1(action))->trigger();
            QCOMPARE(main.HelpBrowser()->CurrentPage(), QString::fromLatin1(page));
            QVERIFY(!main.HelpBrowser()->Browser()->toPlainText().isEmpty());
        }
        QCOMPARE(HelpPageOfTopic(366), QStringLiteral("one_way_anova.html"));
        QCOMPARE(HelpPageOfTopic(12345), QStringLiteral("results.html"));
        // The help buttons follow the step.
        TAnalysisForm* form = main.NewDocument();
        form->ShowStep(Step::ChooseTest);
        main.UpdateMenus();
        QCOMPARE(main.HelpButton(0)->text(), QStringLiteral("Help me choose"));
        QVERIFY(main.HelpButton(1)->isHidden());
        main.HelpButton(0)->click();
        QCOMPARE(main.HelpBrowser()->CurrentPage(), QStringLiteral("step4_choose_test.html"));
        form->ShowStep(Step::Results);
        form->Doc().SetResultsHelpTopic(557);  // as a two-by-two run leaves it
        main.UpdateMenus();
        QCOMPARE(main.HelpButton(0)->text(), QStringLiteral("Checklist"));
        main.HelpButton(0)->click();
        QCOMPARE(main.HelpBrowser()->CurrentPage(), QStringLiteral("two_by_two.html"));
    }

private:
    test::TestServices* services_ = nullptr;
};

ZELKON_GUI_TEST_MAIN(MainFormTest)
#include "main_form_test.moc"
