// The hand-over between two copies of the program: a second start of `zelkon` with a data
// file makes the running copy come to the front and open the file, then ends; without a
// running copy nothing answers; the socket lives in a folder only the user can enter; a
// socket left by a crashed copy is replaced, a live one is not; any byte of a name stays in
// it; another user's socket is sent nothing; a handed-over FIFO does not block the opening.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "app/main_form.h"
#include "app/single_instance.h"
#include "document/document.h"
#include "ui/analysis_form.h"
#include "ui_test_support.h"

using namespace zelkon;

namespace {

/// A socket address for a path.
sockaddr_un AddressOf(const QByteArray& path) {
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return address;
}

/// A socket file with nobody listening, as a crashed copy leaves it.
bool MakeStaleSocket(const QString& path) {
    const QByteArray local = QFile::encodeName(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = AddressOf(local);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

/// Hands a name over from a thread of its own, so that this thread's event loop can serve
/// the listening copy meanwhile.
bool HandOverFromThread(const QString& socketPath, const QString& name) {
    std::atomic<bool> done = false;
    bool handed = false;
    std::thread second([&] {
        TSingleInstance instance(socketPath);
        handed = instance.HandOver(name, 5000);
        done = true;
    });
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    second.join();
    QCoreApplication::processEvents();
    return handed;
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void init() { test::InstallTestServices(); }

    void withoutARunningCopyNothingAnswers() {
        TSingleInstance second(QDir(test::TestHome()).filePath(QStringLiteral("nobody-here")));
        QVERIFY(!second.HandOver(QStringLiteral("/tmp/x.ZLD"), 500));
    }

    void theSocketLivesInAFolderOnlyTheUserCanEnter() {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        QVERIFY(TSingleInstance::SocketPath().startsWith(QFile::decodeName(runtime) + QLatin1Char('/')));
        // A runtime folder that others may enter is not used: a private folder of the user's
        // own takes its place.
        const QString open = QDir(test::TestHome()).filePath(QStringLiteral("open-runtime"));
        QVERIFY(QDir().mkpath(open));
        QVERIFY(::chmod(QFile::encodeName(open).constData(), 0755) == 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open));
        const QString path = TSingleInstance::SocketPath();
        qputenv("XDG_RUNTIME_DIR", runtime);
        QVERIFY(!path.isEmpty());
        QVERIFY(!path.startsWith(open));
        struct stat st {};
        QVERIFY(::lstat(QFile::encodeName(QFileInfo(path).path()).constData(), &st) == 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_uid, ::geteuid());
        QCOMPARE(st.st_mode & 077, 0u);
    }

    void aLeftoverSocketIsReplacedALiveOneIsNot() {
        const QString path = QDir(test::TestHome()).filePath(QStringLiteral("leftover"));
        QVERIFY(MakeStaleSocket(path));
        TSingleInstance first(path);
        QVERIFY(first.Listen());
        QCOMPARE(first.FullServerName(), path);
        // Only the owner may connect: no access for group or others.
        const QFileDevice::Permissions permissions = QFileInfo(path).permissions();
        QVERIFY(!(permissions & (QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                 QFileDevice::ReadOther | QFileDevice::WriteOther)));
        // A copy that starts while the first is busy (it does not read its socket now) leaves
        // the live socket alone.
        TSingleInstance late(path);
        QVERIFY(!late.Listen());
        QVERIFY(first.Listening());
        QVERIFY(QFileInfo::exists(path));
        QSignalSpy raised(&first, &TSingleInstance::raiseRequested);
        QVERIFY(HandOverFromThread(path, QString()));
        QCOMPARE(raised.count(), 1);
    }

    void anyByteOfANameStaysInIt() {
        const QString path = QDir(test::TestHome()).filePath(QStringLiteral("names"));
        TSingleInstance first(path);
        QVERIFY(first.Listen());
        QSignalSpy opened(&first, &TSingleInstance::openRequested);
        const QString name = QStringLiteral("/tmp/a\nOPEN /etc/passwd\nEND\nb \xe9.ZLD");
        QVERIFY(HandOverFromThread(path, name));
        QCOMPARE(opened.count(), 1);
        QCOMPARE(opened.at(0).at(0).toString(), name);
    }

    void anotherUsersSocketIsSentNothing() {
        if (::geteuid() != 0) QSKIP("needs root to run the fake copy as another user (nobody)");
        const passwd* nobody = ::getpwnam("nobody");
        if (nobody == nullptr) QSKIP("there is no user nobody here");
        // A folder the other user can write to, as a shared folder is.
        char pattern[] = "/tmp/zelkon-squat-XXXXXX";
        QVERIFY(::mkdtemp(pattern) != nullptr);
        QVERIFY(::chmod(pattern, 0777) == 0);
        const QByteArray socketPath = QByteArray(pattern) + "/socket";
        int ready[2];
        int report[2];
        QVERIFY(::pipe(ready) == 0 && ::pipe(report) == 0);
        const pid_t child = ::fork();
        if (child == 0) {
            // The squatter: listens as nobody and reports how many bytes it was sent.
            if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(2);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            const sockaddr_un address = AddressOf(socketPath);
            if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
                ::chmod(socketPath.constData(), 0777) != 0 || ::listen(fd, 4) != 0)
                ::_exit(3);
            (void)!::write(ready[1], "r", 1);
            pollfd waiting{fd, POLLIN, 0};
            long received = 0;
            if (::poll(&waiting, 1, 10000) == 1) {
                const int peer = ::accept(fd, nullptr, nullptr);
                char buffer[4096];
                pollfd data{peer, POLLIN, 0};
                while (::poll(&data, 1, 2000) == 1) {
                    const ssize_t n = ::read(peer, buffer, sizeof buffer);
                    if (n <= 0) break;
                    received += n;
                }
            }
            (void)!::write(report[1], &received, sizeof received);
            ::_exit(0);
        }
        QVERIFY(child > 0);
        char byte = 0;
        QCOMPARE(::read(ready[0], &byte, 1), ssize_t{1});
        TSingleInstance second(QFile::decodeName(socketPath));
        QVERIFY(!second.HandOver(QStringLiteral("/home/u/secret_patients.ZLD"), 3000));
        long received = -1;
        QCOMPARE(::read(report[0], &received, sizeof received), ssize_t(sizeof received));
        int status = 0;
        ::waitpid(child, &status, 0);
        QCOMPARE(received, 0L);
        // The second copy then starts on its own: it does not take over the other's socket.
        QVERIFY(!second.Listen());
        QVERIFY(QFileInfo::exists(QFile::decodeName(socketPath)));
        for (int fd : {ready[0], ready[1], report[0], report[1]}) ::close(fd);
        ::unlink(socketPath.constData());
        ::rmdir(pattern);
    }

    void aHandedOverFifoDoesNotBlock() {
        TMainForm main;
        main.Settings().showHints = false;
        const QByteArray fifo = QFile::encodeName(QDir(test::TestHome()).filePath(QStringLiteral("pipe.ZLD")));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!main.OpenFile(QFile::decodeName(fifo)));
        QVERIFY(timer.elapsed() < 1000);
        QVERIFY(main.Forms().isEmpty());
        ::unlink(fifo.constData());
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
