// The notes window: the document's notes loaded into the editor and stored back (a final
// line break not stored, the end-of-text mark ending the text), the 8000-character bound
// for typing and pasting, "Append to Notes" through the open window (all or nothing), the
// pop-up menu and its "P&rint".
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <QTextCursor>

#include "data/notes.h"
#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui/notes_form.h"
#include "ui/results_page.h"
#include "ui/results_viewer.h"
#include "ui/ui_services.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

// A report of 100 lines of 20 characters, in place of the analysis.
void HundredLines(const OneColumnRequest&, AnalysisOutput& out) {
    for (int i = 0; i < 100; ++i) out.report.WriteLine("Line of the results.");
}

QStringList Captions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* action : menu.actions()) {
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return captions;
}

}  // namespace

class NotesFormTest : public QObject {
    Q_OBJECT
private slots:
    void loadAndStoreRoundTrip() {
        test::InstallTestServices();
        TAnalysisForm form;
        Document& doc = form.Doc();
        const std::string text = "Rats of litter 3, weighed on day 12.\r\nScale recalibrated before run 2.";
        doc.Notes() = text + "\x1a" "left over";  // the end-of-text mark ends the notes
        form.ViewNotesCommand();
        TNotesForm* notes = form.NotesWindow();
        TNotesEditor* editor = notes->NotesEditor();
        QVERIFY(notes->isVisible() && notes->windowTitle() == QStringLiteral("Zelkon Notes"));
        QCOMPARE(editor->EngineText(), text);
        test::SaveScreenshot(*notes, QStringLiteral("notes_window"));
        doc.SetModified(false);

        // A final line break is not stored: the notes stay as they were.
        editor->moveCursor(QTextCursor::End);
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(editor->toPlainText().endsWith(QLatin1Char('\n')));
        QVERIFY(LoadNotes(doc.Notes()) == text && !doc.Modified());
        QTest::keyClicks(editor, QStringLiteral("x"));
        QVERIFY(doc.Notes() == text + "\r\nx" && doc.Modified());

        // Closed and shown again, the window reads the notes back without a final empty line.
        QTest::keyClick(editor, Qt::Key_Return);
        notes->close();
        form.ViewNotesCommand();
        QCOMPARE(editor->EngineText(), text + "\r\nx");

        QCOMPARE(Captions(*editor->PopupMenu()),
                 (QStringList{"&Cut", "&Copy", "&Paste", "-", "Select All", "-", "P&rint"}));
        QVERIFY(editor->lineWrapColumnOrWidth() == 70 && QFontInfo(editor->font()).fixedPitch());

        // Clear All empties the notes and the open window with them.
        form.ClearAllData();
        QVERIFY(editor->toPlainText().isEmpty() && doc.Notes().empty());

        // "P&rint" stores the text first, then prints through the print dialog.
        test::TestServices& services = test::InstallTestServices();
        editor->setPlainText(QStringLiteral("To print"));
        doc.Notes() = "stale";
        editor->PrintItem()->trigger();
        QVERIFY(doc.Notes() == "To print" && services.dialogsRun == 1);
    }

    void limitOf8000Characters() {
        test::TestServices& services = test::InstallTestServices();
        TAnalysisForm form;
        form.Doc().Notes() = std::string(7998, 'a');
        form.ViewNotesCommand();
        TNotesEditor* editor = form.NotesWindow()->NotesEditor();
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, QStringLiteral("b"));
        QCOMPARE(form.NotesWindow()->Room(), std::size_t(1));
        // A line break is CR LF: two characters, one too many.
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(editor->toPlainText().size(), 7999);
        QCOMPARE(services.prompts.beeps, 1);
        QTest::keyClicks(editor, QStringLiteral("cd"));
        QVERIFY(editor->toPlainText().size() == 8000 && editor->toPlainText().endsWith(QStringLiteral("bc")));
        QCOMPARE(services.prompts.beeps, 2);

        // Pasting is refused as a whole when it would not fit, taken when it replaces enough.
        QApplication::clipboard()->setText(QStringLiteral("xyz"));
        editor->moveCursor(QTextCursor::End);
        editor->moveCursor(QTextCursor::Left, QTextCursor::KeepAnchor);
        editor->moveCursor(QTextCursor::Left, QTextCursor::KeepAnchor);
        editor->paste();
        QVERIFY(editor->toPlainText().endsWith(QStringLiteral("abc")));
        QCOMPARE(services.prompts.beeps, 3);
        editor->moveCursor(QTextCursor::Left, QTextCursor::KeepAnchor);
        editor->paste();
        QVERIFY(editor->toPlainText().size() == 8000 && editor->toPlainText().endsWith(QStringLiteral("aaxyz")));
        QCOMPARE(form.Doc().Notes().size(), std::size_t(8000));
        QCOMPARE(form.NotesWindow()->Room(), std::size_t(0));
    }

    void appendGoesThroughTheWindowAllOrNothing() {
        test::TestServices& services = test::InstallTestServices();
        AnalysisEntryPoints entries;
        entries.oneColumn = HundredLines;
        TAnalysisForm form;
        form.SetEntryPoints(&entries);
        test::TypeColumn(form.Doc(), 0, {1, 2, 3});
        QVERIFY(form.ShowStep(Step::Results));

        // 7990 characters of notes and a report of over 100 lines: refused as a whole.
        const std::string long_notes(7990, 'n');
        form.Doc().Notes() = long_notes;
        form.ViewNotesCommand();
        TNotesEditor* editor = form.NotesWindow()->NotesEditor();
        form.AppendToNotesCommand();
        QCOMPARE(services.prompts.told,
                 std::vector<std::string>{"The text is too large to copy to notes."});
        QCOMPARE(editor->toPlainText().size(), 7990);
        QCOMPARE(form.Doc().Notes(), long_notes);

        // With room, the whole report (nothing is selected) goes into the window's text after
        // what the user typed there, and the document's notes follow the window.
        editor->setPlainText(QStringLiteral("Seen by me.\n"));
        services.prompts.Clear();
        form.AppendToNotesCommand();
        QVERIFY(services.prompts.told.empty());
        const QStringList shown = editor->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(shown.first(), QStringLiteral("Seen by me."));
        QCOMPARE(shown.count(QStringLiteral("Line of the results.")), 100);
        QCOMPARE(shown.last(), QString());  // each appended line ends with a line break
        QCOMPARE(form.Doc().Notes(), StoreNotes(editor->EngineText()));
        QVERIFY(form.Doc().Notes().rfind("Seen by me.\r\n", 0) == 0);
    }
};

ZELKON_GUI_TEST_MAIN(NotesFormTest)

#include "notes_form_test.moc"
