// The hand-over to a copy of the program that is already running.  The first copy listens on
// a local socket in a folder only the user can enter ($XDG_RUNTIME_DIR, or a 0700 folder of
// the user's own under the temporary folder); a second copy connects, makes sure the socket
// belongs to a process of the same user, asks the first to come to the front and to open the
// file named on its command line, waits until the name was taken, and ends.  Requests are
// framed (a kind byte and a length before each name), so any byte of a name stays in it.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace zelkon {

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    /// The longest file name handed over, in bytes (longer requests are refused).
    static constexpr int MaxNameBytes = 8192;

    /// The hand-over of this user and settings folder (at SocketPath()).
    explicit TSingleInstance(QObject* parent = nullptr);
    /// The hand-over through the socket at `socketPath` (empty: no hand-over at all).
    explicit TSingleInstance(const QString& socketPath, QObject* parent = nullptr);
    ~TSingleInstance() override;

    /// The socket of this user and settings folder, in a private folder that is created
    /// (mode 0700) when needed and checked for owner and mode; empty when no such folder can
    /// be had, and then there is no hand-over.
    static QString SocketPath();

    /// As a second copy: when a copy of the same user listens, asks it to come to the front
    /// and to open `fileName` (absolute, or empty), waits up to `timeoutMs` for the answer and
    /// returns true.  False when no copy answers or the socket belongs to another user (who
    /// is then sent nothing).
    bool HandOver(const QString& fileName, int timeoutMs = 5000);
    /// As the first copy: starts listening.  A socket file left by a crashed copy (nothing
    /// answers a connect) is replaced; one where a process answers is left alone, and false
    /// is returned.  False too when the socket cannot be created.
    bool Listen();
    bool Listening() const;
    /// The path of the listening socket (empty when not listening).
    QString FullServerName() const;

signals:
    /// Another copy asked this one to come to the front.
    void raiseRequested();
    /// Another copy handed over a file name to open.
    void openRequested(const QString& fileName);

private:
    void Accept();
    void Read(QLocalSocket* socket);

    QString path_;
    QLocalServer* server_ = nullptr;
    /// The socket file made by Listen (device and inode), removed again only while it is ours.
    unsigned long long socketDevice_ = 0;
    unsigned long long socketInode_ = 0;
};

}  // namespace zelkon
