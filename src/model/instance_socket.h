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

// The user of the process at the other end of a connected local socket; nullopt when the
// system does not say.
std::optional<unsigned> SocketPeerUser(int descriptor);

// Sends `request` to the program of this user listening in `runtimeFolder` (the socket is
// trusted only when the process at the other end belongs to this user). False when no program
// listens there; never waits longer than a second.
bool SendInstanceRequest(const std::filesystem::path& runtimeFolder, std::string_view request);

} // namespace orvo
