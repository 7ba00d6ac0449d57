#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QVariant>

#include <unistd.h>

namespace zelkon {

namespace {
constexpr char RaiseLine[] = "RAISE";
constexpr char OpenPrefix[] = "OPEN ";
constexpr char EndLine[] = "END";
constexpr char AnswerLine[] = "OK\n";
}  // namespace

TSingleInstance::TSingleInstance(QObject* parent) : QObject(parent) {}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::ServerName() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QByteArray hash =
        QCryptographicHash::hash(config.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("zelkon-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool TSingleInstance::HandOver(const QString& fileName, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(timeoutMs)) return false;
    QByteArray request = QByteArray(RaiseLine) + '\n';
    if (!fileName.isEmpty()) request += QByteArray(OpenPrefix) + fileName.toUtf8() + '\n';
    request += QByteArray(EndLine) + '\n';
    socket.write(request);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    // Wait until the running copy has taken the name.
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (!socket.waitForReadyRead(timeoutMs)) break;
        answer += socket.readAll();
    }
    socket.disconnectFromServer();
    return answer.startsWith(AnswerLine);
}

bool TSingleInstance::Listen() {
    if (server_ != nullptr) return server_->isListening();
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(ServerName())) {
        // A copy that crashed leaves its socket file behind; nobody answers there.
        QLocalServer::removeServer(ServerName());
        if (!server_->listen(ServerName())) return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
    return true;
}

bool TSingleInstance::Listening() const { return server_ != nullptr && server_->isListening(); }

QString TSingleInstance::FullServerName() const {
    return Listening() ? server_->fullServerName() : QString();
}

void TSingleInstance::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0) Read(socket);
    }
}

void TSingleInstance::Read(QLocalSocket* socket) {
    QByteArray buffer = socket->property("zelkonRequest").toByteArray() + socket->readAll();
    if (buffer.size() > MaxRequestBytes) {
        socket->abort();
        return;
    }
    if (!buffer.contains(QByteArray("\n") + EndLine + '\n') && !buffer.startsWith(QByteArray(EndLine) + '\n')) {
        socket->setProperty("zelkonRequest", buffer);
        return;
    }
    socket->setProperty("zelkonRequest", QByteArray());
    bool raise = false;
    QString name;
    for (const QByteArray& line : buffer.split('\n')) {
        if (line == RaiseLine) raise = true;
        if (line.startsWith(OpenPrefix)) name = QString::fromUtf8(line.mid(int(sizeof OpenPrefix) - 1));
    }
    // The order of the hand-over: come to the front, take the name (and answer), open it.
    if (raise) emit raiseRequested();
    socket->write(AnswerLine);
    socket->flush();
    if (!name.isEmpty()) emit openRequested(name);
}

}  // namespace zelkon
