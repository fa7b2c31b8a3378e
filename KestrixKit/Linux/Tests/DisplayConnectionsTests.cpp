#include <gtest/gtest.h>

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <linux/unix_diag.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>

#include "KestrixKit/Linux/Windows/DisplayConnections.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"

using namespace kestrix;
using namespace kestrix::display;
namespace fs = std::filesystem;

namespace {

EnvironmentLookup environmentOf(std::map<std::string, std::string> settings) {
    return [settings = std::move(settings)](const std::string& name) -> std::optional<std::string> {
        const auto value = settings.find(name);
        return value == settings.end() ? std::nullopt : std::optional(value->second);
    };
}

// One reply of the kernel's socket diagnostics, as its bytes.
std::string reply(std::uint32_t inode, const std::string& name, std::optional<std::uint32_t> peer) {
    std::string attributes;
    const auto attribute = [&](unsigned short type, const void* data, std::size_t size) {
        rtattr header{.rta_len = static_cast<unsigned short>(RTA_LENGTH(size)), .rta_type = type};
        std::string bytes(RTA_SPACE(size), '\0');
        std::memcpy(bytes.data(), &header, sizeof header);
        std::memcpy(bytes.data() + RTA_LENGTH(0), data, size);
        attributes += bytes;
    };
    if (!name.empty()) attribute(UNIX_DIAG_NAME, name.data(), name.size());
    if (peer) attribute(UNIX_DIAG_PEER, &*peer, sizeof *peer);
    unix_diag_msg message{.udiag_family = AF_UNIX, .udiag_ino = inode};
    std::string body(NLMSG_ALIGN(sizeof message), '\0');
    std::memcpy(body.data(), &message, sizeof message);
    body += attributes;
    nlmsghdr header{.nlmsg_len = static_cast<std::uint32_t>(NLMSG_LENGTH(body.size())), .nlmsg_type = SOCK_DIAG_BY_FAMILY};
    std::string bytes(NLMSG_SPACE(body.size()), '\0');
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + NLMSG_LENGTH(0), body.data(), body.size());
    return bytes;
}

std::string done() {
    nlmsghdr header{.nlmsg_len = NLMSG_LENGTH(sizeof(int)), .nlmsg_type = NLMSG_DONE};
    std::string bytes(NLMSG_SPACE(sizeof(int)), '\0');
    std::memcpy(bytes.data(), &header, sizeof header);
    return bytes;
}

}  // namespace

TEST(DisplayConnections, AClientIsTheOtherEndOfASocketNamedAfterADisplayServer) {
    std::vector<UnixSocket> sockets;
    // An X server's end of a connection (it carries the listener's name) and the app's end; a
    // Wayland compositor's, by an abstract name too; a connection to something else.
    const std::string replies = reply(10, "/tmp/.X11-unix/X9", 20) + reply(20, "", 10) +
                                reply(30, "@/tmp/.X11-unix/X1", 40) + reply(40, "", 30) +
                                reply(50, "/run/user/1000/wayland-1", 60) + reply(60, "", 50) +
                                reply(70, "/run/user/1000/bus", 80) + reply(80, "", 70) + reply(90, "/tmp/.X11-unix/X9", std::nullopt) +
                                done();
    ASSERT_TRUE(parseDiagnostics(replies, sockets));
    ASSERT_EQ(sockets.size(), 9u);
    EXPECT_EQ(sockets[0], (UnixSocket{.inode = 10, .name = "/tmp/.X11-unix/X9", .peer = 20}));
    EXPECT_EQ(sockets[3], (UnixSocket{.inode = 40, .name = "", .peer = 30}));

    const auto session = environmentOf({{"XDG_RUNTIME_DIR", "/run/user/1000"}, {"WAYLAND_DISPLAY", "wayland-1"}});
    EXPECT_TRUE(isDisplayServerName("/tmp/.X11-unix/X0", session));
    EXPECT_TRUE(isDisplayServerName("@/tmp/.X11-unix/X12", session));
    EXPECT_TRUE(isDisplayServerName("/run/user/1000/wayland-1", session));
    EXPECT_FALSE(isDisplayServerName("/run/user/1000/wayland-0", session)) << "another session's compositor";
    EXPECT_FALSE(isDisplayServerName("/tmp/.X11-unix/", session));
    EXPECT_FALSE(isDisplayServerName("/run/user/1000/bus", session));
    EXPECT_TRUE(isDisplayServerName("/run/user/1000/wayland-0", environmentOf({{"XDG_RUNTIME_DIR", "/run/user/1000"}})));
    EXPECT_TRUE(isDisplayServerName("/tmp/w", environmentOf({{"WAYLAND_DISPLAY", "/tmp/w"}})));

    EXPECT_EQ(clientEnds(sockets, [&](std::string_view name) { return isDisplayServerName(name, session); }),
              (std::set<std::uint32_t>{20, 40, 60}));
    EXPECT_FALSE(parseDiagnostics(std::string(16, '\xff'), sockets));
}

// A compositor of the test's own (a listening socket named as the session's Wayland display)
// and a real client connected to it; another process that is not.
TEST(DisplayConnections, FindsAProcessConnectedToTheSessionsCompositor) {
    const fs::path runtime = fs::temp_directory_path() / ("kestrix-display-" + std::to_string(getpid()));
    fs::create_directories(runtime);
    const std::string address = (runtime / "wayland-test").string();
    const int compositor = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un name{.sun_family = AF_UNIX};
    std::strncpy(name.sun_path, address.c_str(), sizeof name.sun_path - 1);
    ASSERT_EQ(bind(compositor, reinterpret_cast<sockaddr*>(&name), sizeof name), 0);
    ASSERT_EQ(listen(compositor, 4), 0);
    if (!unixSockets()) GTEST_SKIP() << "this kernel gives no Unix socket diagnostics";

    const test::ChildProcess app([&] {
        const int connection = socket(AF_UNIX, SOCK_STREAM, 0);
        return connect(connection, reinterpret_cast<const sockaddr*>(&name), sizeof name) == 0;
    });
    const int accepted = accept4(compositor, nullptr, nullptr, SOCK_CLOEXEC);
    ASSERT_GE(accepted, 0);
    const test::ChildProcess other([] { return true; });

    const auto connected = displayClients(environmentOf({{"XDG_RUNTIME_DIR", runtime.string()}, {"WAYLAND_DISPLAY", "wayland-test"}}));
    EXPECT_TRUE(connected(app.pid()));
    EXPECT_FALSE(connected(other.pid()));
    EXPECT_FALSE(connected(getpid())) << "the compositor's own end is no client";
    EXPECT_FALSE(displayClients(environmentOf({{"XDG_RUNTIME_DIR", runtime.string()}, {"WAYLAND_DISPLAY", "wayland-9"}}))(app.pid()));

    close(accepted);
    close(compositor);
    fs::remove_all(runtime);
}
