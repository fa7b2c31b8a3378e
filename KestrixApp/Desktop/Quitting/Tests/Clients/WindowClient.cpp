// A stand-in app for the quitting tests: maps one top-level window on $DISPLAY that names its
// process and this machine and accepts WM_DELETE_WINDOW. Asked to close, it exits, unless it
// was started with --refuse (as an app with unsaved work that waits for the user).
#include <xcb/xcb.h>
#include <xcb/xcb_icccm.h>

#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t found = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    const bool refuses = argc > 1 && std::string_view(argv[1]) == "--refuse";
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) return 2;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int skipped = 0; skipped < screenNumber; ++skipped) xcb_screen_next(&screens);
    const xcb_screen_t* screen = screens.data;

    const xcb_window_t window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 200, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, &screen->white_pixel);
    const xcb_atom_t protocols = atom(connection, "WM_PROTOCOLS");
    xcb_atom_t deleteWindow = atom(connection, "WM_DELETE_WINDOW");
    xcb_icccm_set_wm_protocols(connection, window, protocols, 1, &deleteWindow);
    const std::uint32_t pid = static_cast<std::uint32_t>(getpid());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom(connection, "_NET_WM_PID"), XCB_ATOM_CARDINAL,
                        32, 1, &pid);
    std::array<char, 256> host{};
    gethostname(host.data(), host.size() - 1);
    xcb_icccm_set_wm_client_machine(connection, window, XCB_ATOM_STRING, 8, std::strlen(host.data()), host.data());
    const std::string_view title = "Kestrix test window";
    xcb_icccm_set_wm_name(connection, window, XCB_ATOM_STRING, 8, title.size(), title.data());
    xcb_map_window(connection, window);
    xcb_flush(connection);

    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const bool isCloseRequest =
            (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
            reinterpret_cast<xcb_client_message_event_t*>(event)->type == protocols &&
            reinterpret_cast<xcb_client_message_event_t*>(event)->data.data32[0] == deleteWindow;
        std::free(event);
        if (isCloseRequest && !refuses) break;
    }
    xcb_disconnect(connection);
    return 0;
}
