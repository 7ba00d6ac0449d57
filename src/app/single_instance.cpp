#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QVariant>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zelkon {

namespace {

// A request is a series of frames: a kind byte, the payload's length as four bytes (most
// significant first) and the payload.  The running copy answers the end frame with "OK\n".
constexpr char RaiseFrame = 'R';
constexpr char OpenFrame = 'O';
constexpr char EndFrame = 'E';
constexpr int FrameHeaderBytes = 5;
/// The most a request may hold: a raise frame, one name and the end frame.
constexpr int MaxRequestBytes = 3 * FrameHeaderBytes + TSingleInstance::MaxNameBytes;
constexpr char AnswerLine[] = "OK\n";
constexpr char PendingProperty[] = "zelkonRequest";

void AppendFrame(QByteArray& request, char kind, const QByteArray& payload) {
    const auto n = static_cast<quint32>(payload.size());
    request += kind;
    for (int shift = 24; shift >= 0; shift -= 8) request += static_cast<char>((n >> shift) & 0xFF);
    request += payload;
}

/// True when the folder is one only this user can enter: a real folder (not a link), owned
/// by the user, with no access for group or others.
bool IsPrivateFolder(const QByteArray& folder) {
    struct stat st {};
    return ::lstat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

/// The uid of the process at the other end of a connected local socket, or -1.
long long PeerUid(qintptr descriptor) {
    ucred credentials {};
    socklen_t size = sizeof credentials;
    if (descriptor < 0 ||
        ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return -1;
    return credentials.uid;
}

bool PeerIsThisUser(qintptr descriptor) {
    return PeerUid(descriptor) == static_cast<long long>(::geteuid());
}

bool FillAddress(const QByteArray& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

/// True when a process listens on the socket file: a connect is answered (or the queue of
/// waiting connections is full, which only a live listener has).  The connect never waits.
bool SomeoneAnswers(const QByteArray& path) {
    sockaddr_un address {};
    if (!FillAddress(path, address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return true;  // cannot tell: leave the file alone
    const bool answered = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ||
                          errno == EAGAIN || errno == EINPROGRESS;
    ::close(fd);
    return answered;
}

/// A listening socket bound at `path`, or -1 with errno set (EADDRINUSE when the name is
/// taken).
int BindListeningSocket(const QByteArray& path) {
    sockaddr_un address {};
    if (!FillAddress(path, address)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int err = errno;
        ::close(fd);
        errno = err;
        return -1;
    }
    // The folder keeps everyone else out already; the socket itself is the owner's too.
    ::chmod(path.constData(), 0600);
    if (::listen(fd, 16) != 0) {
        const int err = errno;
        ::unlink(path.constData());
        ::close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

}  // namespace

TSingleInstance::TSingleInstance(QObject* parent) : TSingleInstance(SocketPath(), parent) {}

TSingleInstance::TSingleInstance(const QString& socketPath, QObject* parent)
    : QObject(parent), path_(socketPath) {}

TSingleInstance::~TSingleInstance() {
    if (server_ == nullptr || !server_->isListening()) return;
    server_->close();
    // Remove the socket file only while it is still the one made here.
    const QByteArray path = QFile::encodeName(path_);
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_dev == socketDevice_ &&
        st.st_ino == socketInode_)
        ::unlink(path.constData());
}

QString TSingleInstance::SocketPath() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(config.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && IsPrivateFolder(runtime))
        return QFile::decodeName(runtime) + QStringLiteral("/zelkon-") + hash;
    // A folder of the user's own: made here with no access for others, or found so.
    const QString folder = QDir::tempPath() + QStringLiteral("/zelkon-%1").arg(::geteuid());
    const QByteArray local = QFile::encodeName(folder);
    if (::mkdir(local.constData(), 0700) != 0 && errno != EEXIST) return {};
    if (!IsPrivateFolder(local)) return {};
    return folder + QLatin1Char('/') + hash;
}

bool TSingleInstance::HandOver(const QString& fileName, int timeoutMs) {
    if (path_.isEmpty()) return false;
    QLocalSocket socket;
    socket.connectToServer(path_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    // Whoever listens there must be this user: another user's socket is sent nothing.
    if (!PeerIsThisUser(socket.socketDescriptor())) {
        socket.abort();
        return false;
    }
    QByteArray request;
    AppendFrame(request, RaiseFrame, {});
    if (!fileName.isEmpty()) AppendFrame(request, OpenFrame, QFile::encodeName(fileName));
    AppendFrame(request, EndFrame, {});
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
    if (path_.isEmpty()) return false;
    const QByteArray path = QFile::encodeName(path_);
    int fd = BindListeningSocket(path);
    if (fd < 0 && errno == EADDRINUSE) {
        // A copy that crashed leaves its socket file behind, and nobody answers there; a
        // copy that is busy still answers, and its socket stays.
        struct stat st {};
        if (SomeoneAnswers(path) || ::lstat(path.constData(), &st) != 0 || !S_ISSOCK(st.st_mode) ||
            st.st_uid != ::geteuid())
            return false;
        ::unlink(path.constData());
        fd = BindListeningSocket(path);
    }
    if (fd < 0) return false;
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0) {
        socketDevice_ = st.st_dev;
        socketInode_ = st.st_ino;
    }
    server_ = new QLocalServer(this);
    if (!server_->listen(fd)) {
        ::close(fd);
        ::unlink(path.constData());
        delete server_;
        server_ = nullptr;
        return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
    return true;
}

bool TSingleInstance::Listening() const { return server_ != nullptr && server_->isListening(); }

QString TSingleInstance::FullServerName() const { return Listening() ? path_ : QString(); }

void TSingleInstance::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Only this user's copies are listened to.
        if (!PeerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        if (socket->bytesAvailable() > 0) Read(socket);
    }
}

void TSingleInstance::Read(QLocalSocket* socket) {
    QByteArray buffer = socket->property(PendingProperty).toByteArray() + socket->readAll();
    if (buffer.size() > MaxRequestBytes) {
        socket->abort();
        return;
    }
    bool raise = false;
    bool ended = false;
    QString name;
    int pos = 0;
    while (!ended && buffer.size() - pos >= FrameHeaderBytes) {
        const char kind = buffer.at(pos);
        quint32 length = 0;
        for (int i = 1; i < FrameHeaderBytes; ++i)
            length = (length << 8) | static_cast<unsigned char>(buffer.at(pos + i));
        if ((kind != RaiseFrame && kind != OpenFrame && kind != EndFrame) || length > MaxNameBytes) {
            socket->abort();
            return;
        }
        if (buffer.size() - pos - FrameHeaderBytes < static_cast<int>(length)) break;  // more to come
        const QByteArray payload = buffer.mid(pos + FrameHeaderBytes, static_cast<int>(length));
        pos += FrameHeaderBytes + static_cast<int>(length);
        if (kind == RaiseFrame) raise = true;
        if (kind == OpenFrame) name = QFile::decodeName(payload);
        if (kind == EndFrame) ended = true;
    }
    if (!ended) {
        // The frames read so far stay pending until the end frame arrives.
        socket->setProperty(PendingProperty, buffer);
        return;
    }
    socket->setProperty(PendingProperty, QByteArray());
    // The order of the hand-over: come to the front, take the name (and answer), open it.
    if (raise) emit raiseRequested();
    socket->write(AnswerLine);
    socket->flush();
    if (!name.isEmpty()) emit openRequested(name);
}

}  // namespace zelkon
