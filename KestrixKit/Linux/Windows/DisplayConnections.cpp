#include "KestrixKit/Linux/Windows/DisplayConnections.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <linux/unix_diag.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>

#include "FileSupport/OwnedDescriptor.h"
#include "KestrixKit/Linux/Processes/ProcfsFiles.h"

namespace kestrix::display {
namespace {

constexpr auto freshFor = std::chrono::seconds(1);
constexpr std::string_view x11Folder = "/tmp/.X11-unix/X";

// The socket's inode in a descriptor's link, "socket:[12345]".
std::optional<std::uint32_t> socketInode(std::string_view link) {
    constexpr std::string_view prefix = "socket:[";
    if (!link.starts_with(prefix) || !link.ends_with(']')) return std::nullopt;
    const std::string_view digits = link.substr(prefix.size(), link.size() - prefix.size() - 1);
    std::uint32_t inode = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), inode);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return inode;
}

std::string nameFrom(const char* bytes, std::size_t length) {
    if (length == 0) return {};
    // An abstract address begins with a NUL byte, which ss and netstat show as "@".
    if (bytes[0] == '\0') return std::string("@").append(bytes + 1, strnlen(bytes + 1, length - 1));
    return std::string(bytes, strnlen(bytes, length));
}

struct SocketsCache {
    std::mutex mutex;
    std::optional<std::chrono::steady_clock::time_point> readAt;
    std::set<std::uint32_t> clients;
};

}  // namespace

bool parseDiagnostics(std::string_view replies, std::vector<UnixSocket>& sockets) {
    // Netlink messages are aligned; std::string_view's data may not be, so each one is copied.
    while (replies.size() >= sizeof(nlmsghdr)) {
        nlmsghdr header{};
        std::memcpy(&header, replies.data(), sizeof header);
        if (header.nlmsg_len < sizeof header || header.nlmsg_len > replies.size()) return false;
        if (header.nlmsg_type == NLMSG_DONE) return true;
        if (header.nlmsg_type == NLMSG_ERROR) return false;
        const std::string_view body = replies.substr(NLMSG_LENGTH(0), header.nlmsg_len - NLMSG_LENGTH(0));
        if (body.size() >= sizeof(unix_diag_msg)) {
            unix_diag_msg message{};
            std::memcpy(&message, body.data(), sizeof message);
            UnixSocket socket{.inode = message.udiag_ino};
            std::string_view attributes = body.substr(NLMSG_ALIGN(sizeof message) <= body.size() ? NLMSG_ALIGN(sizeof message)
                                                                                                : body.size());
            while (attributes.size() >= sizeof(rtattr)) {
                rtattr attribute{};
                std::memcpy(&attribute, attributes.data(), sizeof attribute);
                if (attribute.rta_len < sizeof attribute || attribute.rta_len > attributes.size()) break;
                const std::string_view payload = attributes.substr(RTA_LENGTH(0), attribute.rta_len - RTA_LENGTH(0));
                if (attribute.rta_type == UNIX_DIAG_NAME) {
                    socket.name = nameFrom(payload.data(), payload.size());
                } else if (attribute.rta_type == UNIX_DIAG_PEER && payload.size() >= sizeof(std::uint32_t)) {
                    std::uint32_t peer = 0;
                    std::memcpy(&peer, payload.data(), sizeof peer);
                    socket.peer = peer;
                }
                attributes.remove_prefix(std::min<std::size_t>(RTA_ALIGN(attribute.rta_len), attributes.size()));
            }
            sockets.push_back(std::move(socket));
        }
        replies.remove_prefix(std::min<std::size_t>(NLMSG_ALIGN(header.nlmsg_len), replies.size()));
    }
    return true;
}

bool isDisplayServerName(std::string_view name, const EnvironmentLookup& environment) {
    if (name.starts_with('@')) name.remove_prefix(1);
    if (name.starts_with(x11Folder) && name.size() > x11Folder.size()) return true;
    const std::string wayland = environment("WAYLAND_DISPLAY").value_or("wayland-0");
    if (wayland.starts_with('/')) return name == wayland;
    const std::optional<std::string> runtime = environment("XDG_RUNTIME_DIR");
    return runtime && !runtime->empty() && name == *runtime + "/" + wayland;
}

std::set<std::uint32_t> clientEnds(const std::vector<UnixSocket>& sockets,
                                  const std::function<bool(std::string_view)>& isServerName) {
    // A server's end of a connection carries the name it listens on; the client's end is its peer.
    std::set<std::uint32_t> serverEnds;
    for (const UnixSocket& socket : sockets) {
        if (!socket.name.empty() && isServerName(socket.name)) serverEnds.insert(socket.inode);
    }
    std::set<std::uint32_t> clients;
    for (const UnixSocket& socket : sockets) {
        if (socket.peer && serverEnds.contains(*socket.peer) && !serverEnds.contains(socket.inode)) {
            clients.insert(socket.inode);
        }
    }
    return clients;
}

std::optional<std::vector<UnixSocket>> unixSockets() {
    const filesupport::OwnedDescriptor diagnostics(socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG));
    if (!diagnostics.valid()) return std::nullopt;
    struct {
        nlmsghdr header;
        unix_diag_req request;
    } message{};
    message.header.nlmsg_len = sizeof message;
    message.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    message.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    message.request.sdiag_family = AF_UNIX;
    message.request.udiag_states = ~0U;
    message.request.udiag_show = UDIAG_SHOW_NAME | UDIAG_SHOW_PEER;
    if (send(diagnostics.get(), &message, sizeof message, 0) != static_cast<ssize_t>(sizeof message)) return std::nullopt;

    std::vector<UnixSocket> sockets;
    alignas(nlmsghdr) std::array<char, 32768> buffer{};
    while (true) {
        const ssize_t received = recv(diagnostics.get(), buffer.data(), buffer.size(), 0);
        if (received <= 0) return std::nullopt;
        const std::string_view replies(buffer.data(), static_cast<std::size_t>(received));
        if (!parseDiagnostics(replies, sockets)) return std::nullopt;
        // The dump ends with a message of its own.
        nlmsghdr last{};
        for (std::string_view rest = replies; rest.size() >= sizeof last;) {
            std::memcpy(&last, rest.data(), sizeof last);
            if (last.nlmsg_type == NLMSG_DONE) return sockets;
            if (last.nlmsg_len < sizeof last) break;
            rest.remove_prefix(std::min<std::size_t>(NLMSG_ALIGN(last.nlmsg_len), rest.size()));
        }
    }
}

std::function<bool(std::int32_t pid)> displayClients(const EnvironmentLookup& environment, std::string procRoot) {
    auto cache = std::make_shared<SocketsCache>();
    return [cache, environment, procRoot = std::move(procRoot)](std::int32_t pid) {
        std::set<std::uint32_t> clients;
        {
            const std::lock_guard lock(cache->mutex);
            const auto now = std::chrono::steady_clock::now();
            if (!cache->readAt || now - *cache->readAt >= freshFor) {
                const auto sockets = unixSockets();
                cache->clients = sockets ? clientEnds(*sockets, [&](std::string_view name) {
                    return isDisplayServerName(name, environment);
                }) : std::set<std::uint32_t>{};
                cache->readAt = std::chrono::steady_clock::now();
            }
            clients = cache->clients;
        }
        if (clients.empty() || pid <= 0) return false;
        const std::string folder = procRoot + "/" + std::to_string(pid) + "/fd";
        const procfs::Directory descriptors = procfs::openDirectory(AT_FDCWD, folder.c_str());
        if (!descriptors) return false;
        while (const dirent* entry = readdir(descriptors.get())) {
            if (entry->d_name[0] == '.') continue;
            const auto link = procfs::readLink(dirfd(descriptors.get()), entry->d_name);
            const auto inode = link ? socketInode(*link) : std::nullopt;
            if (inode && clients.contains(*inode)) return true;
        }
        return false;
    };
}

}  // namespace kestrix::display
