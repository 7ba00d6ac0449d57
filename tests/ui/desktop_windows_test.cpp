// The main window as a new user meets it: Tile inside the document area at its size, Ctrl+W,
// the first window and the remembered size and state, the Window menu's list of documents,
// the step buttons with no document, the notes window's place and caption, the sizes of the
// file dialogs, the copy dialog and the print preview.  And what it never does: replace a
// file it did not read as a data file, open one file in two windows, forget a maximised state
// on a hand-over, or call a missing file "not a data file".
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include "app/main_form.h"
#include "core/file_io.h"
#include "document/data_file.h"
#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui/cell_dialogs.h"
#include "ui/notes_form.h"
#include "ui/spread_grid.h"
#include "ui/ui_services.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

QString Example(const char* name) { return test::ExamplePath(name); }

QString Folder(const QString& name) { return test::TestFolder(name); }

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString CopyOfExample(const char* example, const QString& path) {
    QFile::remove(path);
    QFile::copy(Example(example), path);
    return path;
}

}  // namespace

class DesktopWindowsTest : public QObject {
    Q_OBJECT

    test::TestServices* services_ = nullptr;

private slots:
    void init() {
        services_ = &test::InstallTestServices();
        QFile::remove(TMainForm::SettingsPath());
    }

    // Window > Tile with 3 and 7 documents in a maximised main window: the documents share the
    // document area at its size; the main window keeps its size and stays maximised.
    void tileStaysInsideTheDocumentArea() {
        TMainForm main;
        main.Settings().showHints = false;
        main.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        for (int documents : {3, 7}) {
            while (main.Forms().size() < documents) main.NewDocument();
            const QSize before = main.size();
            main.Action(QStringLiteral("WindowTileItem"))->trigger();
            QApplication::processEvents();
            QCOMPARE(main.size(), before);
            QVERIFY(main.isMaximized());
            const QRect area = main.MdiArea()->viewport()->rect();
            const QList<QMdiSubWindow*> windows = main.MdiArea()->subWindowList();
            QCOMPARE(windows.size(), documents);
            long long covered = 0;
            for (QMdiSubWindow* sub : windows) {
                QVERIFY2(area.contains(sub->geometry()), qPrintable(QStringLiteral("%1 documents").arg(documents)));
                QVERIFY(!sub->isMaximized());
                covered += static_cast<long long>(sub->width()) * sub->height();
            }
            QCOMPARE(covered, static_cast<long long>(area.width()) * area.height());
        }
    }

    // File > Close's Ctrl+W closes the active document, asking to save it, and is not
    // ambiguous with the document window's own Close key.
    void ctrlWClosesTheActiveDocument() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Ambiguous shortcut")));
        TMainForm main;
        main.Settings().showHints = false;
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        main.NewDocument();
        TAnalysisForm* second = main.NewDocument();
        test::TypeColumn(second->Doc(), 0, {1, 2});
        second->Doc().MarkModified();
        services_->prompts.answers = {PromptAnswer::No};
        QTest::keyClick(&main, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(services_->prompts.asked.size(), std::size_t{1});
        QCOMPARE(services_->prompts.asked[0], std::string("Do you want to save changes to \"DATASET2.ZLD\"?"));
        QApplication::processEvents();
        QCOMPARE(main.Forms().size(), 1);
        QTest::keyClick(&main, Qt::Key_W, Qt::ControlModifier);  // empty: no question
        QApplication::processEvents();
        QCOMPARE(main.Forms().size(), 0);
        QCOMPARE(services_->prompts.asked.size(), std::size_t{1});
    }

    // With fresh settings the first window shows the start page whole, inside the screen;
    // leaving it maximised keeps its normal size and the maximised state for the next start.
    void firstWindowAndRememberedState() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        {
            TMainForm main;
            main.Settings().showHints = false;
            main.show();
            QVERIFY(QTest::qWaitForWindowExposed(&main));
            TAnalysisForm* form = main.NewDocument();
            main.FitFirstWindow();
            QApplication::processEvents();
            QVERIFY(screen.contains(main.frameGeometry()));
            const QSize need = form->StartPageSizeHint();
            QVERIFY(form->width() >= need.width() || main.width() == screen.width());
            QVERIFY(form->height() >= need.height() || main.frameGeometry().height() == screen.height());
            main.resize(760, 520);
            main.showMaximized();
            QApplication::processEvents();
            QVERIFY(main.SaveSettings());
        }
        std::string text;
        QVERIFY(ReadWholeFile(TMainForm::SettingsPath().toStdString(), text));
        for (const char* line : {"Width=760", "Height=520", "Maximized=True"}) {
            QVERIFY2(text.find(std::string(line) + "\r\n") != std::string::npos, line);
        }
        TMainForm again;
        QVERIFY(again.Settings().maximized);
        QCOMPARE(again.size(), QSize(760, 520));
        again.ShowAtStart();
        QVERIFY(again.isMaximized());
        again.showNormal();
        QVERIFY(again.SaveSettings());
        QVERIFY(ReadWholeFile(TMainForm::SettingsPath().toStdString(), text));
        QVERIFY(text.find("Maximized=False\r\n") != std::string::npos);
        QVERIFY(text.find("Width=760\r\n") != std::string::npos);
    }

    // The Window menu lists the open documents with a check on the active one; choosing an
    // entry brings that document to the front.  With no document no step button is down.
    void windowMenuAndStepButtons() {
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* first = main.NewDocument();
        main.NewDocument();
        TAnalysisForm* third = main.NewDocument();
        QList<QAction*> entries = main.WindowListActions();
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0]->text(), QStringLiteral("&1 DATASET1.ZLD"));
        QCOMPARE(entries[2]->text(), QStringLiteral("&3 DATASET3.ZLD"));
        QVERIFY(!entries[0]->isChecked() && entries[2]->isChecked());
        QVERIFY(main.WindowMenu()->actions().contains(entries[1]));
        entries[0]->trigger();
        QCOMPARE(main.ActiveForm(), first);
        entries = main.WindowListActions();
        QVERIFY(entries[0]->isChecked() && !entries[2]->isChecked());

        third->ShowStep(Step::DataTable);
        main.ActivateForm(third);
        QVERIFY(main.StepButton(Step::DataTable)->isChecked());
        for (TAnalysisForm* form : main.Forms()) QVERIFY(main.CloseDocument(form));
        QApplication::processEvents();
        QVERIFY(main.WindowListActions().isEmpty());
        for (int step = 1; step <= 6; ++step) {
            QToolButton* button = main.StepButton(static_cast<Step>(step));
            QVERIFY(!button->isChecked());
            QVERIFY(!button->isEnabled());
        }
    }

    // A text of numbers one per line is not a data file: it is refused (its third line "3" is
    // no longer taken for a format code), and no save ever replaces it.
    void aTextFileIsRefusedAndLeftByteIdentical() {
        TMainForm main;
        main.Settings().showHints = false;
        const QString folder = Folder(QStringLiteral("numbers"));
        const QString numbers = folder + QStringLiteral("/numbers.txt");
        QByteArray text;
        for (int i = 1; i <= 1200; ++i) text += QByteArray::number(i) + '\n';
        QVERIFY(WriteFileAtomically(numbers.toStdString(), text.toStdString()));

        QVERIFY(!main.OpenFile(numbers));
        QCOMPARE(main.Forms().size(), 0);
        QCOMPARE(services_->prompts.told.back(), std::string(NotDataFileMessage));

        // Save As onto it is refused; the dialog comes again and the other name is taken.
        TAnalysisForm* form = main.NewDocument();
        test::TypeColumn(form->Doc(), 0, {5, 6});
        form->Doc().MarkModified();
        const QString other = folder + QStringLiteral("/kept.ZLD");
        services_->files = {numbers, other};
        QVERIFY(main.SaveDocument(form, true));
        QCOMPARE(services_->filesAsked, 2);
        QVERIFY(services_->prompts.told.back().find("is not an Zelkon data file") != std::string::npos);
        QCOMPARE(QString::fromStdString(form->Doc().FileName()), other);
        QVERIFY(QFile::exists(other));
        // A file replaced on disk by text since it was opened is not saved over either.
        QVERIFY(QFile::remove(other));
        QVERIFY(QFile::copy(numbers, other));
        form->Doc().MarkModified();
        services_->files.clear();  // the dialog that comes is cancelled
        QVERIFY(!main.SaveDocument(form, false));
        QVERIFY(form->Doc().Modified());
        QCOMPARE(Bytes(numbers), text);
        QCOMPARE(Bytes(other), text);
    }

    // The same file handed over (or opened) again gives its window back, not a second one;
    // a hand-over restores a minimised window to the maximised state it had.
    void handOverOfAnOpenFileGivesOneWindow() {
        TMainForm main;
        main.Settings().showHints = false;
        const QString folder = Folder(QStringLiteral("handover"));
        const QString a = CopyOfExample("blood_pressure_raw.ZLD", folder + QStringLiteral("/a.ZLD"));
        const QString b = CopyOfExample("wound_infection_2x2.ZLD", folder + QStringLiteral("/b.ZLD"));
        main.HandOverFile(a);
        QCOMPARE(main.Forms().size(), 1);
        TAnalysisForm* first = main.ActiveForm();
        main.HandOverFile(a);
        QCOMPARE(main.Forms().size(), 1);
        QVERIFY(main.OpenFile(b));
        QCOMPARE(main.Forms().size(), 2);
        main.HandOverFile(folder + QStringLiteral("/./a.ZLD"));  // the same file by another path
        QCOMPARE(main.Forms().size(), 2);
        QCOMPARE(main.ActiveForm(), first);
        QVERIFY(services_->prompts.told.empty());

        main.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.showMinimized();
        main.BringToFront();
        QVERIFY(!main.isMinimized());
        QVERIFY(main.isMaximized());
    }

    // A file that does not exist says so, with the data file's error text.
    void aMissingFileIsNotFound() {
        TMainForm main;
        main.Settings().showHints = false;
        QVERIFY(!main.OpenFile(Folder(QStringLiteral("missing")) + QStringLiteral("/gone.ZLD")));
        QCOMPARE(services_->prompts.told.back(), std::string("Error: #2  File not found."));
        QVERIFY(!main.OpenFile(QStringLiteral("/nonexistent-zelkon-folder/gone.ZLD")));
        QCOMPARE(services_->prompts.told.back(), std::string("Error: #3  Path not found."));
        QCOMPARE(main.Forms().size(), 0);
    }

    // On the data step the sheet has the keyboard: after the guide closes (which hands the
    // focus back to whatever had it) and after a file opens.
    void theSheetHasTheKeyboardOnTheDataStep() {
        TMainForm main;
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QVERIFY(main.Settings().showHints);
        services_->onDialog = [&](QDialog&) {
            main.HelpButton(0)->setFocus();
            return int(QDialog::Accepted);
        };
        TAnalysisForm* form = main.NewDocument();
        form->ShowStep(Step::DataTable);
        QVERIFY(services_->dialogsRun >= 2);  // the guide of steps 1 and 2
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->DataSheet()));

        main.Settings().showHints = false;
        QVERIFY(main.OpenFile(Example("blood_pressure_raw.ZLD")));
        TAnalysisForm* opened = main.ActiveForm();
        main.HelpButton(0)->setFocus();
        main.StepButton(Step::DataTable)->click();
        QCOMPARE(opened->CurrentStep(), Step::DataTable);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(opened->DataSheet()));
    }

    // The notes window opens inside the main window's document area, clear of the menus and
    // tool bar, and its caption names its document.
    void notesWindowInsideTheMainWindow() {
        TMainForm main;
        main.Settings().showHints = false;
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        TAnalysisForm* form = main.NewDocument();
        form->ViewNotesCommand();
        TNotesForm* notes = form->NotesWindow();
        QVERIFY(QTest::qWaitForWindowExposed(notes));
        QCOMPARE(notes->windowTitle(), QStringLiteral("Zelkon Notes - DATASET1.ZLD"));
        const QWidget* centre = main.centralWidget();
        const QRect area(centre->mapToGlobal(QPoint(0, 0)), centre->size());
        QVERIFY(area.contains(notes->frameGeometry()));
        const QString saved = Folder(QStringLiteral("notes")) + QStringLiteral("/trial.ZLD");
        services_->files = {saved};
        QVERIFY(main.SaveDocument(form, false));
        QCOMPARE(notes->windowTitle(), QStringLiteral("Zelkon Notes - trial.ZLD"));
        // The place rule: at the right of the area, within it less a margin and the title.
        QCOMPARE(NotesWindowPlace(QRect(100, 200, 800, 500), QSize(600, 400), 20), QRect(288, 212, 600, 400));
        QCOMPARE(NotesWindowPlace(QRect(0, 0, 500, 300), QSize(600, 400), 20), QRect(12, 12, 476, 256));
    }

    // File dialogs are wide enough for their size, type and date columns; the copy dialog for
    // its caption; the print preview shows the page at a readable size.
    void dialogsAreSizedForTheirTexts() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        FileDialogRequest request;
        request.title = QStringLiteral("Open");
        request.folder = QString::fromLatin1(ZELKON_SOURCE_DIR "/examples");
        request.filters = {QStringLiteral("Zelkon data file (*.ZLD *.zld)")};
        const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(nullptr, request);
        QCOMPARE(dialog->width(), std::min(860, static_cast<int>(screen.width() * 0.9)));
        QCOMPARE(dialog->height(), std::min(540, static_cast<int>(screen.height() * 0.8)));
        auto* details = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        QVERIFY(details != nullptr);
        QCOMPARE(details->header()->sectionResizeMode(0), QHeaderView::Stretch);
        for (int column = 1; column < details->header()->count(); ++column) {
            QCOMPARE(details->header()->sectionResizeMode(column), QHeaderView::ResizeToContents);
        }

        TIncludeTitlesForm copy;
        const int caption = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(copy.windowTitle());
        QCOMPARE(copy.windowTitle(), QStringLiteral("Copy to clipboard"));
        QVERIFY(copy.minimumWidth() > caption + 80);
        QVERIFY(copy.minimumWidth() > 200);

        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* form = main.NewDocument();
        test::TypeColumn(form->Doc(), 0, {1, 2, 3});
        form->ShowStep(Step::DataTable);
        QSize previewSize;
        QPrintPreviewWidget::ZoomMode zoom = QPrintPreviewWidget::CustomZoom;
        services_->onDialog = [&](QDialog& shown) {
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(&shown)) {
                previewSize = preview->size();
                zoom = preview->findChild<QPrintPreviewWidget*>()->zoomMode();
            }
            return int(QDialog::Rejected);
        };
        form->PrintPreviewCommand();
        QVERIFY(previewSize.width() >= std::max(640, static_cast<int>(screen.width() * 0.75)) - 1);
        QVERIFY(previewSize.height() >= std::min(screen.height(), static_cast<int>(screen.height() * 0.9)) - 1);
        QCOMPARE(zoom, QPrintPreviewWidget::FitToWidth);
    }
};

ZELKON_GUI_TEST_MAIN(DesktopWindowsTest)
#include "desktop_windows_test.moc"
