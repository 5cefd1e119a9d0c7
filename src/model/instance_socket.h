#pragma once
// The running program's local socket and the requests it takes. The program listens on it (its
// single-instance rule: a second start asks the first to show its window); orvoctl uses it to
// tell a running program that the keyboard or the data files changed under it.

#include <filesystem>
#include <optional>
#include <string_view>

namespace orvo {

// Named after the program's mutex; the leading space is part of the name.
inline constexpr std::string_view kSingleInstanceSocketName =
    " {57D1171D-1a34-0804-8A3A-65ABA2150001}";

// One line each.
inline constexpr std::string_view kShowRequest = "show\n";
inline constexpr std::string_view kRefreshRequest = "refresh\n";

// A client sends one request and closes; anything longer is not ours.
inline constexpr std::size_t kLongestInstanceRequest = 64;

// The user of the process at the other end of a connected local socket; nullopt when the
// system does not say.
std::optional<unsigned> SocketPeerUser(int descriptor);

// Sends `request` to the program listening on `socketPath` (the socket is trusted only when the
// process at the other end belongs to this user). False when nobody of this user listens there;
// never waits longer than a second.
bool SendInstanceRequestTo(const std::filesystem::path& socketPath, std::string_view request);
// The same, to the program's own socket in `runtimeFolder`.
bool SendInstanceRequest(const std::filesystem::path& runtimeFolder, std::string_view request);

// Listens on `socketPath` (readable and writable by this user only), non-blocking and closed on
// exec. A socket file left there by a program that ended is taken over; nothing else in the
// way is removed. -1 when the socket cannot be made.
int ListenOnInstanceSocket(const std::filesystem::path& socketPath);

// Takes the next waiting connection from a listening socket: its descriptor (non-blocking,
// closed on exec), or -1 when none waits.
int AcceptInstanceConnection(int listening);

// What the bytes a client sent before closing ask for.
struct InstanceRequests {
    bool show = false;
    bool refresh = false;
};
InstanceRequests ParseInstanceRequests(std::string_view received);

void CloseDescriptor(int descriptor);

} // namespace orvo
