// File, Save when the save fails: a write that breaks off midway and a read-only folder.  The
// user is told "Error: #" with the code and its message, the previous file keeps its bytes,
// and the document keeps its name, its window title and its changed-since-saved mark.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QTest>

#include <cerrno>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

#include "app/main_form.h"
#include "core/file_io.h"
#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

int writerCalls = 0;

// Writes half of the first block, then reports an input/output fault.
std::ptrdiff_t HalfThenFail(int fd, const void* data, std::size_t size) {
    if (writerCalls++ == 0) return ::write(fd, data, size / 2);
    errno = EIO;
    return -1;
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class SaveFaultGuiTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        services_ = &test::InstallTestServices();
        QFile::remove(TMainForm::SettingsPath());
    }

    void writeFailingMidway() {
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* form = Saved(main, QDir(test::TestHome()).filePath(QStringLiteral("midway")));
        QVERIFY(form != nullptr);
        const QByteArray before = Bytes(path_);
        test::TypeColumn(form->Doc(), 1, std::vector<Extended>(300, 2.5));
        form->Doc().MarkModified();

        writerCalls = 0;
        const FileBlockWriter previous = SetFileBlockWriterForTesting(&HalfThenFail);
        const bool saved = main.SaveDocument(form, false);
        SetFileBlockWriterForTesting(previous);
        QVERIFY(!saved);
        ExpectKept(main, form, before, "Error: #160  Device write error");
        // The same save goes through once the device works again.
        QVERIFY(main.SaveDocument(form, false));
        QVERIFY(!form->Doc().Modified());
        QVERIFY(Bytes(path_) != before);
    }

    void readOnlyFolder() {
        const QString folder = QDir(test::TestHome()).filePath(QStringLiteral("readonly"));
        QDir().mkpath(folder);
        const QByteArray local = QFile::encodeName(folder);
        // The superuser writes into any folder, so it gets a read-only file system instead.
        const bool root = ::geteuid() == 0;
        struct Unmount {
            const char* dir = nullptr;
            ~Unmount() {
                if (dir != nullptr) ::umount2(dir, MNT_DETACH);
            }
        } unmount;
        if (root) {
            if (::mount("tmpfs", local.constData(), "tmpfs", 0, "size=64k") != 0)
                QSKIP("cannot mount a small tmpfs here");
            unmount.dir = local.constData();
        }
        TMainForm main;
        main.Settings().showHints = false;
        TAnalysisForm* form = Saved(main, folder);
        QVERIFY(form != nullptr);
        const QByteArray before = Bytes(path_);
        test::TypeColumn(form->Doc(), 1, {7, 8, 9});
        form->Doc().MarkModified();
        if (root) {
            QCOMPARE(::mount(nullptr, local.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
        } else {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        const bool saved = main.SaveDocument(form, false);
        if (!root) QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!saved);
        ExpectKept(main, form, before,
                   root ? "Error: #150  Disk is write-protected." : "Error: #5  File access denied.");
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

private:
    // A document with a column of values, saved as <folder>/litter.ZLD through Save.
    TAnalysisForm* Saved(TMainForm& main, const QString& folder) {
        QDir().mkpath(folder);
        TAnalysisForm* form = main.NewDocument();
        test::TypeColumn(form->Doc(), 0, {1.5, 2.5, 3.5});
        form->Doc().MarkModified();
        path_ = QDir(folder).filePath(QStringLiteral("litter.ZLD"));
        services_->files = {path_};
        if (!main.SaveDocument(form, false) || form->Doc().Modified()) return nullptr;
        services_->prompts.Clear();
        return form;
    }

    void ExpectKept(TMainForm& main, TAnalysisForm* form, const QByteArray& before, const char* message) {
        QCOMPARE(services_->prompts.told.size(), std::size_t{1});
        QCOMPARE(services_->prompts.told[0], std::string(message));
        QCOMPARE(Bytes(path_), before);
        QVERIFY(form->Doc().Modified());
        QCOMPARE(QString::fromStdString(form->Doc().FileName()), path_);
        QCOMPARE(main.SubWindowOf(form)->windowTitle(), path_);
        services_->prompts.Clear();
    }

    test::TestServices* services_ = nullptr;
    QString path_;
};

ZELKON_GUI_TEST_MAIN(SaveFaultGuiTest)
#include "save_fault_gui_test.moc"
