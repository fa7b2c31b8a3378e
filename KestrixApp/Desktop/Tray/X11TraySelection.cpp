#include "KestrixApp/Desktop/Tray/X11TraySelection.h"

#include <xcb/xcb.h>

#include <QSocketNotifier>
#include <cstdlib>
#include <memory>
#include <string>

namespace kestrix::desktop {
namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const std::string& name) {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t selectionOwner(xcb_connection_t* connection, xcb_atom_t selection) {
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr), &std::free);
    return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
}

}  // namespace

X11TraySelection::X11TraySelection(const QString& display, QObject* parent) : TrayPresence(parent) {
    const QByteArray name = display.toLocal8Bit();
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(name.isEmpty() ? nullptr : name.constData(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    connection_ = connection;
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int index = 0; index < screenNumber && screens.rem > 0; ++index) xcb_screen_next(&screens);
    root_ = screens.data->root;
    selection_ = internAtom(connection_, "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber));
    manager_ = internAtom(connection_, "MANAGER");
    // A new tray tells the root window's structure listeners that it took the selection.
    const std::uint32_t rootEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &rootEvents);
    followOwner();
    notifier_ = new QSocketNotifier(xcb_get_file_descriptor(connection_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &X11TraySelection::readEvents);
}

X11TraySelection::~X11TraySelection() {
    delete notifier_;
    if (connection_ != nullptr) xcb_disconnect(connection_);
}

void X11TraySelection::followOwner() {
    const bool wasPresent = isPresent();
    // The owner may end between the question and the watch: ask again until the answers agree,
    // so that its end is never missed.
    xcb_window_t owner = selectionOwner(connection_, selection_);
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (owner != XCB_WINDOW_NONE) {
            const std::uint32_t ownerEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_change_window_attributes(connection_, owner, XCB_CW_EVENT_MASK, &ownerEvents);
        }
        const xcb_window_t again = selectionOwner(connection_, selection_);
        if (again == owner) break;
        owner = again;
    }
    owner_ = owner;
    xcb_flush(connection_);
    if (isPresent() != wasPresent) emit presenceChanged(isPresent());
}

void X11TraySelection::readEvents() {
    if (connection_ == nullptr) return;
    bool ownerChanged = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
            ownerChanged |= message->type == manager_ && message->data.data32[1] == selection_;
        } else if (type == XCB_DESTROY_NOTIFY) {
            ownerChanged |= reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == owner_;
        }
        std::free(event);
    }
    if (xcb_connection_has_error(connection_)) {
        disconnectFromServer();
        return;
    }
    if (ownerChanged) followOwner();
}

void X11TraySelection::disconnectFromServer() {
    // The X server is gone, and every tray on it.
    notifier_->setEnabled(false);
    const bool wasPresent = isPresent();
    owner_ = 0;
    if (wasPresent) emit presenceChanged(false);
}

}  // namespace kestrix::desktop
