// The hand-over to a copy of the program that is already running.  The first copy listens on
// a local socket whose name is private to the user (and to the user's settings folder); a
// second copy connects, asks the first to come to the front and to open the file named on
// its command line, waits until the name was taken, and ends.  The socket file is created
// with access for its owner only, so only the same user can hand over.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace zelkon {

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    /// The longest file name handed over (longer requests are refused).
    static constexpr int MaxRequestBytes = 8192;

    explicit TSingleInstance(QObject* parent = nullptr);
    ~TSingleInstance() override;

    /// The name of the local socket for this user and settings folder.
    static QString ServerName();

    /// As a second copy: when a first copy listens, asks it to come to the front and to open
    /// `fileName` (absolute, or empty), waits up to `timeoutMs` for the answer and returns
    /// true.  False when no copy is running.
    bool HandOver(const QString& fileName, int timeoutMs = 5000);
    /// As the first copy: starts listening (a socket file left by a crashed copy is removed
    /// and listening retried).  False when the socket cannot be created.
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

    QLocalServer* server_ = nullptr;
};

}  // namespace zelkon
