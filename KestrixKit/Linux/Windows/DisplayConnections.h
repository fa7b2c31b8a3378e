#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "KestrixKit/Linux/Files/HistoryLocation.h"

// Which processes talk to a display server: a process whose Unix socket is connected to the
// session's X server or Wayland compositor draws windows, whether or not it names them
// (Wayland has no window list to read). Found as `ss -xp` finds them: the kernel's socket
// diagnostics (NETLINK_SOCK_DIAG) give each Unix socket's name and peer.
namespace kestrix::display {

// One Unix socket as the kernel describes it.
struct UnixSocket {
    std::uint32_t inode = 0;
    // The address it is bound to, or the listener's for a connection a server accepted; an
    // abstract name begins with "@". Empty when unnamed (a client's end).
    std::string name;
    // The other end's inode, when connected.
    std::optional<std::uint32_t> peer;

    bool operator==(const UnixSocket&) const = default;
};

// The sockets in the replies to a SOCK_DIAG_BY_FAMILY dump of AF_UNIX sockets (the bytes of
// one or more netlink messages); false when the kernel answered with an error.
bool parseDiagnostics(std::string_view replies, std::vector<UnixSocket>& sockets);

// The addresses display servers listen on for this session: every X server's
// (/tmp/.X11-unix/X<n>, also as an abstract name) and $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY
// (wayland-0 when unset; an absolute $WAYLAND_DISPLAY as it is).
bool isDisplayServerName(std::string_view name, const EnvironmentLookup& environment);

// The inodes of the sockets whose other end is a display server's.
std::set<std::uint32_t> clientEnds(const std::vector<UnixSocket>& sockets,
                                  const std::function<bool(std::string_view)>& isServerName);

// Every Unix socket of this network namespace, from the kernel; absent when it does not say.
std::optional<std::vector<UnixSocket>> unixSockets();

// Whether a process holds a socket connected to a display server of this session. The sockets
// are read afresh at most once a second, however often it is asked; a process's own descriptors
// (/proc/PID/fd) only when asked about it. Safe to call from any thread.
std::function<bool(std::int32_t pid)> displayClients(const EnvironmentLookup& environment,
                                                    std::string procRoot = "/proc");

}  // namespace kestrix::display
