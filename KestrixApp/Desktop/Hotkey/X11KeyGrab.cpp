#include "KestrixApp/Desktop/Hotkey/X11KeyGrab.h"

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <QSocketNotifier>
#include <algorithm>
#include <cstdlib>
#include <memory>

namespace kestrix::desktop {

namespace {

constexpr xcb_keysym_t keysymE = 0x0065;  // XK_e
constexpr xcb_keysym_t keysymAltL = 0xffe9;
constexpr xcb_keysym_t keysymSuperL = 0xffeb;
constexpr xcb_keysym_t keysymNumLock = 0xff7f;

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

// The key codes that produce keysym, as a keyboard layout may give one symbol several keys.
std::vector<xcb_keycode_t> keycodesOf(xcb_key_symbols_t* symbols, xcb_keysym_t keysym) {
    std::vector<xcb_keycode_t> result;
    std::unique_ptr<xcb_keycode_t, decltype(&std::free)> codes(xcb_key_symbols_get_keycode(symbols, keysym), &std::free);
    for (const xcb_keycode_t* code = codes.get(); code != nullptr && *code != XCB_NO_SYMBOL; ++code)
        result.push_back(*code);
    return result;
}

}  // namespace

X11KeyGrab::X11KeyGrab(const QString& display, QObject* parent) : GlobalHotkey(parent) {
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
    symbols_ = xcb_key_symbols_alloc(connection_);
    modifiers_ = readModifiers();
    notifier_ = new QSocketNotifier(xcb_get_file_descriptor(connection_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &X11KeyGrab::readEvents);
}

X11KeyGrab::~X11KeyGrab() {
    delete notifier_;
    if (symbols_ != nullptr) xcb_key_symbols_free(symbols_);
    if (connection_ != nullptr) xcb_disconnect(connection_);
}

bool X11KeyGrab::grab() {
    if (connection_ == nullptr) return false;
    if (grabbed_) return true;
    grabbed_ = grabKeys();
    readEvents();
    return grabbed_;
}

void X11KeyGrab::release() {
    if (!grabbed_) return;
    ungrabKeys();
    grabbed_ = false;
    readEvents();
}

X11KeyGrab::Modifiers X11KeyGrab::readModifiers() const {
    Modifiers found{.alt = XCB_MOD_MASK_1, .super = XCB_MOD_MASK_4, .numLock = XCB_MOD_MASK_2};
    ReplyPointer<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(connection_, xcb_get_modifier_mapping(connection_), nullptr), &std::free);
    if (!mapping) return found;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    // Where the server's modifier map puts each key; the usual Mod1/Mod4/Mod2 otherwise.
    const auto maskHolding = [&](xcb_keysym_t keysym, std::uint16_t fallback) -> std::uint16_t {
        for (const xcb_keycode_t wanted : keycodesOf(symbols_, keysym))
            for (int modifier = 0; modifier < 8; ++modifier)
                for (int slot = 0; slot < perModifier; ++slot)
                    if (codes[modifier * perModifier + slot] == wanted) return static_cast<std::uint16_t>(1u << modifier);
        return fallback;
    };
    found.alt = maskHolding(keysymAltL, found.alt);
    found.super = maskHolding(keysymSuperL, found.super);
    found.numLock = maskHolding(keysymNumLock, found.numLock);
    return found;
}

std::uint16_t X11KeyGrab::hotkeyModifiers() const {
    return static_cast<std::uint16_t>(XCB_MOD_MASK_CONTROL | modifiers_.alt | modifiers_.super);
}

std::vector<std::uint16_t> X11KeyGrab::modifierVariants() const {
    // Caps Lock and Num Lock change the state the server reports, so each of their
    // combinations is grabbed too.
    const std::uint16_t base = hotkeyModifiers();
    return {base, static_cast<std::uint16_t>(base | XCB_MOD_MASK_LOCK), static_cast<std::uint16_t>(base | modifiers_.numLock),
            static_cast<std::uint16_t>(base | XCB_MOD_MASK_LOCK | modifiers_.numLock)};
}

bool X11KeyGrab::grabKeys() {
    keycodes_.clear();
    for (const xcb_keycode_t code : keycodesOf(symbols_, keysymE)) keycodes_.push_back(code);
    if (keycodes_.empty()) return false;
    std::vector<xcb_void_cookie_t> cookies;
    for (const auto code : keycodes_)
        for (const auto modifiers : modifierVariants())
            cookies.push_back(xcb_grab_key_checked(connection_, 1, root_, modifiers, code, XCB_GRAB_MODE_ASYNC,
                                                   XCB_GRAB_MODE_ASYNC));
    bool allTaken = true;
    for (const auto cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
            allTaken = false;  // BadAccess: another client holds this combination
            std::free(error);
        }
    }
    // Half a hotkey would work only with some lock keys on: all or nothing.
    if (!allTaken) ungrabKeys();
    return allTaken;
}

void X11KeyGrab::ungrabKeys() {
    for (const auto code : keycodes_)
        for (const auto modifiers : modifierVariants()) xcb_ungrab_key(connection_, code, root_, modifiers);
    xcb_flush(connection_);
}

void X11KeyGrab::readEvents() {
    if (connection_ == nullptr) return;
    bool wasPressed = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        const auto type = event->response_type & 0x7f;
        if (type == XCB_KEY_PRESS) {
            const auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
            const std::uint16_t lockBits = XCB_MOD_MASK_LOCK | modifiers_.numLock;
            const bool ours = std::find(keycodes_.begin(), keycodes_.end(), press->detail) != keycodes_.end();
            if (ours && (press->state & ~lockBits & 0xff) == hotkeyModifiers()) wasPressed = true;
        } else if (type == XCB_MAPPING_NOTIFY) {
            // A new keyboard layout may move E or the modifiers: take the key again where it now is.
            xcb_refresh_keyboard_mapping(symbols_, reinterpret_cast<xcb_mapping_notify_event_t*>(event));
            if (grabbed_) {
                ungrabKeys();
                modifiers_ = readModifiers();
                grabbed_ = grabKeys();
            } else {
                modifiers_ = readModifiers();
            }
        }
        std::free(event);
    }
    if (wasPressed) emit pressed();
}

}  // namespace kestrix::desktop
