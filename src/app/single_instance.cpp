#include "app/single_instance.h"

#include "model/log.h"
#include "model/runtime_folder.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/stat.h>
#include <unistd.h>

namespace orvo {

namespace {

constexpr int kConnectTimeoutMs = 1000;

} // namespace

std::optional<QString> PrivateRuntimeFolder() {
    const auto folder = UserRuntimeFolder(RuntimeEnvironment::FromProcess());
    if (!folder)
        return std::nullopt;
    return QFile::decodeName(QByteArray::fromStdString(folder->string()));
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
    if (SocketPeerUser(static_cast<int>(socket.socketDescriptor())) != m_allowedUser)
        return false;
    socket.write(kShowRequest.data(), static_cast<qint64>(kShowRequest.size()));
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
        if (SocketPeerUser(static_cast<int>(socket->socketDescriptor())) != m_allowedUser) {
            LogWarning("single instance: refused a request from another user");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray request = socket->readAll();
            if (request.contains("show"))
                Q_EMIT showRequested();
            if (request.contains("refresh"))
                Q_EMIT refreshRequested();
        });
    }
}

} // namespace orvo
