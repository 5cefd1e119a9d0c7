#include "app/single_instance.h"

#include "model/log.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace orvo {

namespace {
constexpr int kConnectTimeoutMs = 1000;
} // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::askRunningInstance() {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kShowRequest);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::claim() {
    if (askRunningInstance())
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // A socket file left by a program that crashed answers nobody: take it over. When
        // another start won the race meanwhile, ask that one instead.
        if (askRunningInstance())
            return false;
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            LogWarning("single instance: cannot listen for later starts");
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::readRequests);
    return true;
}

void SingleInstance::readRequests() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains("show"))
                Q_EMIT showRequested();
        });
    }
}

} // namespace orvo
