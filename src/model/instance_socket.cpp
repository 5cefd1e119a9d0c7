#include "model/instance_socket.h"

#include <algorithm>
#include <string>
#include <utility>

#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace orvo {

namespace {

#ifndef _WIN32
constexpr int kConnectTimeoutMs = 1000;
constexpr int kListenBacklog = 8;

// Closes the descriptor when it goes out of scope unless released.
struct Descriptor {
    int fd;
    ~Descriptor() { CloseDescriptor(fd); }
    int release() { return std::exchange(fd, -1); }
};

std::optional<sockaddr_un> AddressOf(const std::filesystem::path& socketPath) {
    const std::string path = socketPath.string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return std::nullopt;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

bool ConnectWithin(int fd, const sockaddr_un& address) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return true;
    if (errno != EINPROGRESS && errno != EAGAIN)
        return false;
    // A listener whose backlog is full: wait a little for room rather than for ever.
    pollfd p{fd, POLLOUT, 0};
    int error = 0;
    socklen_t size = sizeof error;
    return ::poll(&p, 1, kConnectTimeoutMs) == 1 &&
           ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

int BindAndListen(const sockaddr_un& address) {
    Descriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)};
    if (socket.fd < 0)
        return -1;
    // The file bind makes takes the socket's own mode: owner-only from the start.
    ::fchmod(socket.fd, 0600);
    if (::bind(socket.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(socket.fd, kListenBacklog) != 0)
        return -1;
    return socket.release();
}
#endif

} // namespace

std::optional<unsigned> SocketPeerUser(int descriptor) {
#ifndef _WIN32
    ucred peer{};
    socklen_t size = sizeof peer;
    if (descriptor < 0 || ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return std::nullopt;
    return peer.uid;
#else
    (void)descriptor;
    return std::nullopt;
#endif
}

bool SendInstanceRequestTo(const std::filesystem::path& socketPath, std::string_view request) {
#ifndef _WIN32
    const auto address = AddressOf(socketPath);
    if (!address)
        return false;
    Descriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)};
    if (socket.fd < 0 || !ConnectWithin(socket.fd, *address))
        return false;
    if (SocketPeerUser(socket.fd) != ::geteuid())
        return false;
    pollfd p{socket.fd, POLLOUT, 0};
    if (::poll(&p, 1, kConnectTimeoutMs) != 1)
        return false;
    return ::send(socket.fd, request.data(), request.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(request.size());
#else
    (void)socketPath;
    (void)request;
    return false;
#endif
}

bool SendInstanceRequest(const std::filesystem::path& runtimeFolder, std::string_view request) {
    return SendInstanceRequestTo(runtimeFolder / std::string(kSingleInstanceSocketName), request);
}

int ListenOnInstanceSocket(const std::filesystem::path& socketPath) {
#ifndef _WIN32
    const auto address = AddressOf(socketPath);
    if (!address)
        return -1;
    const int fd = BindAndListen(*address);
    if (fd >= 0 || errno != EADDRINUSE)
        return fd;
    // The caller found nobody answering there: a socket left by a program that crashed.
    struct stat st {};
    if (::lstat(address->sun_path, &st) != 0 || !S_ISSOCK(st.st_mode) ||
        ::unlink(address->sun_path) != 0)
        return -1;
    return BindAndListen(*address);
#else
    (void)socketPath;
    return -1;
#endif
}

int AcceptInstanceConnection(int listening) {
#ifndef _WIN32
    return ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
#else
    (void)listening;
    return -1;
#endif
}

InstanceRequests ParseInstanceRequests(std::string_view received) {
    // Each request is one line; the last may lack its line end.
    const auto withoutLineEnd = [](std::string_view request) {
        return request.substr(0, request.size() - 1);
    };
    InstanceRequests requests;
    std::size_t start = 0;
    while (start < received.size()) {
        const std::size_t end = std::min(received.find('\n', start), received.size());
        const std::string_view line = received.substr(start, end - start);
        requests.show |= line == withoutLineEnd(kShowRequest);
        requests.refresh |= line == withoutLineEnd(kRefreshRequest);
        start = end + 1;
    }
    return requests;
}

void CloseDescriptor(int descriptor) {
#ifndef _WIN32
    if (descriptor >= 0)
        ::close(descriptor);
#else
    (void)descriptor;
#endif
}

} // namespace orvo
