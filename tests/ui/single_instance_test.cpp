// The hand-over between two copies of the program: a second start of `zelkon` with a data
// file makes the running copy come to the front and open the file, then ends; without a
// running copy nothing answers; a socket left by a crashed copy is replaced; only the user
// can reach the socket.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "app/main_form.h"
#include "app/single_instance.h"
#include "core/document.h"
#include "ui/analysis_form.h"
#include "ui_test_support.h"

using namespace zelkon;

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::InstallTestServices(); }

    void withoutARunningCopyNothingAnswers() {
        TSingleInstance second;
        QVERIFY(!second.HandOver(QStringLiteral("/tmp/x.ZLD"), 500));
    }

    void aLeftoverSocketIsReplaced() {
        // A socket file whose owner is gone, as a crashed copy leaves it behind.
        QFile stale(QDir::tempPath() + QLatin1Char('/') + TSingleInstance::ServerName());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        TSingleInstance first;
        QVERIFY(first.Listen());
        QVERIFY(first.Listening());
        QCOMPARE(first.FullServerName(), stale.fileName());
        // Only the owner may connect: no access for group or others.
        const QFileDevice::Permissions permissions = QFileInfo(first.FullServerName()).permissions();
        QVERIFY(!(permissions & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther |
                                 QFileDevice::WriteOther)));
    }

    void aSecondStartHandsItsFileOver() {
        TMainForm main;
        main.Settings().showHints = false;
        TSingleInstance first;
        QVERIFY(first.Listen());
        QSignalSpy raised(&first, &TSingleInstance::raiseRequested);
        connect(&first, &TSingleInstance::openRequested, &main, [&main](const QString& name) { main.OpenFile(name); },
                Qt::QueuedConnection);

        // The second copy runs in a process of its own, with a file name relative to its
        // working folder.
        QProcess second;
        second.setWorkingDirectory(QStringLiteral(ZELKON_SOURCE_DIR));
        second.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        second.start(QStringLiteral(ZELKON_PROGRAM), {QStringLiteral("examples/smoking_by_age_table.ZLD")});
        QVERIFY(second.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(main.Forms().size(), 1, 5000);
        QCOMPARE(raised.count(), 1);
        QCOMPARE(QString::fromStdString(main.ActiveForm()->Doc().FileName()),
                 QStringLiteral(ZELKON_SOURCE_DIR "/examples/smoking_by_age_table.ZLD"));
        QCOMPARE(main.ActiveForm()->Doc().Format(), DataFormat::LargerTable);

        // A start without a file only brings the running copy to the front.
        QProcess third;
        third.start(QStringLiteral(ZELKON_PROGRAM), {});
        QVERIFY(third.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(third.state() == QProcess::NotRunning, 20000);
        QCOMPARE(third.exitCode(), 0);
        QCOMPARE(raised.count(), 2);
        QCOMPARE(main.Forms().size(), 1);
    }
};

ZELKON_GUI_TEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
