#include "app/single_instance.h"

#include "model/log.h"
#include "model/runtime_folder.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <memory>

#include <sys/socket.h>
#include <unistd.h>

namespace orvo {

namespace {

std::filesystem::path NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

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

SingleInstance::~SingleInstance() {
    // Each child notifier watches a descriptor of ours: the listening socket and the
    // connections still open. The socket file stays for the next start to take over.
    for (QSocketNotifier* notifier : findChildren<QSocketNotifier*>()) {
        const int fd = static_cast<int>(notifier->socket());
        delete notifier;
        CloseDescriptor(fd);
    }
}

bool SingleInstance::askRunningInstance() const {
    return SendInstanceRequestTo(NativePath(m_path), kShowRequest);
}

bool SingleInstance::claim() {
    if (m_path.isEmpty()) {
        LogWarning("single instance: no private folder for the socket; later starts are not "
                   "detected");
        return true;
    }
    if (askRunningInstance())
        return false;
    m_listening = ListenOnInstanceSocket(NativePath(m_path));
    // When another start won the race meanwhile, ask that one instead.
    if (m_listening < 0 && askRunningInstance())
        return false;
    if (m_listening < 0) {
        LogWarning("single instance: cannot listen for later starts");
        return true;
    }
    auto* notifier = new QSocketNotifier(m_listening, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections() {
    for (int fd; (fd = AcceptInstanceConnection(m_listening)) >= 0;) {
        if (SocketPeerUser(fd) != m_allowedUser) {
            LogWarning("single instance: refused a request from another user");
            CloseDescriptor(fd);
            continue;
        }
        auto* connection = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        auto received = std::make_shared<QByteArray>();
        connect(connection, &QSocketNotifier::activated, this,
                [this, connection, received] { readFrom(connection, received.get()); });
    }
}

// A client sends its request and closes; the request counts once the whole of it is in.
void SingleInstance::readFrom(QSocketNotifier* connection, QByteArray* received) {
    const int fd = static_cast<int>(connection->socket());
    char buffer[kLongestInstanceRequest + 1];
    const ssize_t count = ::recv(fd, buffer, sizeof buffer, 0);
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (count > 0)
        received->append(buffer, count);
    const bool ended = count <= 0;
    const bool tooLong = received->size() > static_cast<qsizetype>(kLongestInstanceRequest);
    if (!ended && !tooLong)
        return;
    connection->setEnabled(false);
    connection->setParent(nullptr); // no longer one of ours to close
    connection->deleteLater();
    CloseDescriptor(fd);
    if (tooLong) {
        LogWarning("single instance: ignored an overlong request");
        return;
    }
    const InstanceRequests requests = ParseInstanceRequests(received->toStdString());
    if (requests.show)
        Q_EMIT showRequested();
    if (requests.refresh)
        Q_EMIT refreshRequested();
}

} // namespace orvo
