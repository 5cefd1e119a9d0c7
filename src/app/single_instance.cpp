#include "app/single_instance.h"

#include "model/log.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr mode_t kOthersAccess = 077;

// A real folder (not a link) of this user that nobody else may enter.
bool IsPrivateFolder(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && QDir::isAbsolutePath(path) &&
           ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & kOthersAccess) == 0;
}

// The folder, created private when missing; nullopt when it is there but not private.
std::optional<QString> OwnPrivateFolder(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    QDir().mkpath(QFileInfo(path).absolutePath());
    ::mkdir(QFile::encodeName(path).constData(), 0700);
    if (IsPrivateFolder(path))
        return path;
    LogWarning("single instance: " + path.toStdString() + " is not a private folder of this user");
    return std::nullopt;
}

// The user of the process at the other end of a local socket.
std::optional<uid_t> PeerUser(qintptr descriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (descriptor < 0 || ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED,
                                       &credentials, &size) != 0)
        return std::nullopt;
    return credentials.uid;
}

} // namespace

std::optional<QString> PrivateRuntimeFolder() {
    if (const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR"); IsPrivateFolder(runtime))
        return runtime;
    const QString own = QStringLiteral("/zorvanta-orvo");
    if (auto folder = OwnPrivateFolder(QDir::tempPath() + own + QLatin1Char('-') +
                                       QString::number(::geteuid())))
        return folder;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return cache.isEmpty() ? std::nullopt : OwnPrivateFolder(cache + own);
}

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), m_allowedUser(::geteuid()) {
    if (const auto folder = PrivateRuntimeFolder())
        m_path = *folder + QLatin1Char('/') + name;
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::askRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    // Only a program of this user counts as the running instance.
    if (PeerUser(socket.socketDescriptor()) != m_allowedUser)
        return false;
    socket.write(kShowRequest);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::claim() {
    if (m_path.isEmpty()) {
        LogWarning("single instance: no private folder for the socket; later starts are not "
                   "detected");
        return true;
    }
    if (askRunningInstance())
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_path)) {
        // A socket file left by a program that crashed answers nobody: take it over. When
        // another start won the race meanwhile, ask that one instead.
        if (askRunningInstance())
            return false;
        QLocalServer::removeServer(m_path);
        if (!m_server->listen(m_path))
            LogWarning("single instance: cannot listen for later starts");
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::readRequests);
    return true;
}

void SingleInstance::readRequests() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (PeerUser(socket->socketDescriptor()) != m_allowedUser) {
            LogWarning("single instance: refused a request from another user");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains("show"))
                Q_EMIT showRequested();
        });
    }
}

} // namespace orvo
