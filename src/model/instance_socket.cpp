#include "model/instance_socket.h"

#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace orvo {

namespace {

#ifndef _WIN32
constexpr int kConnectTimeoutMs = 1000;

// Closes the descriptor when it goes out of scope.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

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

bool SendInstanceRequest(const std::filesystem::path& runtimeFolder, std::string_view request) {
#ifndef _WIN32
    const std::string path = (runtimeFolder / std::string(kSingleInstanceSocketName)).string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    Descriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)};
    if (socket.fd < 0 || !ConnectWithin(socket.fd, address))
        return false;
    if (SocketPeerUser(socket.fd) != ::geteuid())
        return false;
    pollfd p{socket.fd, POLLOUT, 0};
    if (::poll(&p, 1, kConnectTimeoutMs) != 1)
        return false;
    return ::send(socket.fd, request.data(), request.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(request.size());
#else
    (void)runtimeFolder;
    (void)request;
    return false;
#endif
}

} // namespace orvo
