#include "KestrixKit/Linux/Windows/X11Windows.h"

#include <xcb/xcb_icccm.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace kestrix {
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

std::string thisMachine() {
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) return {};
    return name.data();
}

}  // namespace

X11Windows::X11Windows(const std::string& display) {
    connection_ = xcb_connect(display.c_str(), &screen_);
    if (xcb_connection_has_error(connection_)) return;
    xcb_ewmh_connection_t ewmh{};
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection_, &ewmh);
    if (cookies == nullptr || xcb_ewmh_init_atoms_replies(&ewmh, cookies, nullptr) == 0) return;
    ewmh_ = ewmh;
    deleteWindow_ = atom("WM_DELETE_WINDOW");
}

X11Windows::~X11Windows() {
    if (ewmh_) xcb_ewmh_connection_wipe(&*ewmh_);
    xcb_disconnect(connection_);
}

std::optional<xcb_atom_t> X11Windows::atom(const char* name) const {
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection_, 0, std::strlen(name), name);
    const ReplyPointer<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection_, cookie, nullptr));
    if (!reply) return std::nullopt;
    return reply->atom;
}

std::vector<TopLevelWindow> X11Windows::topLevelWindows() const {
    if (!ewmh_ || screen_ < 0 || screen_ >= ewmh_->nb_screens) return {};
    xcb_ewmh_connection_t& ewmh = *ewmh_;
    xcb_ewmh_get_windows_reply_t clients{};
    if (xcb_ewmh_get_client_list_reply(&ewmh, xcb_ewmh_get_client_list(&ewmh, screen_), &clients, nullptr) == 0) {
        return {};
    }
    std::vector<TopLevelWindow> windows;
    for (std::uint32_t index = 0; index < clients.windows_len; ++index) {
        if (isFromThisMachine(clients.windows[index])) windows.push_back(describe(clients.windows[index]));
    }
    xcb_ewmh_get_windows_reply_wipe(&clients);
    return windows;
}

bool X11Windows::isFromThisMachine(xcb_window_t window) const {
    xcb_icccm_get_text_property_reply_t machine{};
    if (xcb_icccm_get_text_property_reply(connection_, xcb_icccm_get_wm_client_machine(connection_, window),
                                          &machine, nullptr) == 0) {
        return true;  // a client that does not say where it runs is taken to run here
    }
    const bool here = std::string_view(machine.name, machine.name_len) == thisMachine();
    xcb_icccm_get_text_property_reply_wipe(&machine);
    return here;
}

TopLevelWindow X11Windows::describe(xcb_window_t window) const {
    xcb_ewmh_connection_t& ewmh = *ewmh_;
    TopLevelWindow described{.id = window};

    std::uint32_t pid = 0;
    if (xcb_ewmh_get_wm_pid_reply(&ewmh, xcb_ewmh_get_wm_pid(&ewmh, window), &pid, nullptr) != 0 &&
        pid <= static_cast<std::uint32_t>(INT32_MAX)) {
        described.pid = static_cast<std::int32_t>(pid);
    }

    xcb_icccm_get_wm_protocols_reply_t protocols{};
    if (deleteWindow_ && xcb_icccm_get_wm_protocols_reply(
                             connection_, xcb_icccm_get_wm_protocols(connection_, window, ewmh.WM_PROTOCOLS),
                             &protocols, nullptr) != 0) {
        described.acceptsClose =
            std::find(protocols.atoms, protocols.atoms + protocols.atoms_len, *deleteWindow_) !=
            protocols.atoms + protocols.atoms_len;
        xcb_icccm_get_wm_protocols_reply_wipe(&protocols);
    }

    xcb_ewmh_get_atoms_reply_t states{};
    if (xcb_ewmh_get_wm_state_reply(&ewmh, xcb_ewmh_get_wm_state(&ewmh, window), &states, nullptr) != 0) {
        described.onTaskBar = std::find(states.atoms, states.atoms + states.atoms_len,
                                        ewmh._NET_WM_STATE_SKIP_TASKBAR) == states.atoms + states.atoms_len;
        xcb_ewmh_get_atoms_reply_wipe(&states);
    }
    return described;
}

bool X11Windows::askToClose(std::uint32_t window) const {
    if (!ewmh_ || !deleteWindow_) return false;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = ewmh_->WM_PROTOCOLS;
    message.data.data32[0] = *deleteWindow_;
    message.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_void_cookie_t cookie = xcb_send_event_checked(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                                                            reinterpret_cast<const char*>(&message));
    const ReplyPointer<xcb_generic_error_t> error(xcb_request_check(connection_, cookie));
    return !error;
}

void X11Windows::activate(std::uint32_t window) const {
    if (!ewmh_ || screen_ < 0 || screen_ >= ewmh_->nb_screens) return;
    xcb_ewmh_connection_t& ewmh = *ewmh_;
    // Source 2 says a pager or task bar asks, which window managers honour without the
    // focus-stealing checks they apply to applications.
    xcb_ewmh_request_change_active_window(&ewmh, screen_, window, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
                                          XCB_CURRENT_TIME, XCB_NONE);
    // A round trip, so that the server has taken the request before the connection closes.
    const ReplyPointer<xcb_get_input_focus_reply_t> synced(
        xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

}  // namespace kestrix
