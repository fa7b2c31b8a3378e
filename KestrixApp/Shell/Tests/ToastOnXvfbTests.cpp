#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>

#include <memory>
#include <optional>

#include "KestrixApp/Shell/Tests/ShellHarness.h"
#include "KestrixApp/TestSupport/X11Desktop.h"

namespace {

struct UnmanagedWindow {
    xcb_window_t id;
    QRect frame;
};

// The mapped windows the window manager was told to leave alone, as the X server has them.
std::vector<UnmanagedWindow> unmanagedWindows(const std::string& display, QSize* screenSize) {
    std::vector<UnmanagedWindow> found;
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return found;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    *screenSize = QSize(screen->width_in_pixels, screen->height_in_pixels);
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, screen->root), nullptr), &free);
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int index = 0; index < xcb_query_tree_children_length(tree.get()); ++index) {
            std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&free)> attributes(
                xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, children[index]),
                                                nullptr),
                &free);
            std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> geometry(
                xcb_get_geometry_reply(connection, xcb_get_geometry(connection, children[index]), nullptr), &free);
            if (!attributes || !geometry || !attributes->override_redirect ||
                attributes->map_state != XCB_MAP_STATE_VIEWABLE) {
                continue;
            }
            found.push_back({children[index], QRect(geometry->x, geometry->y, geometry->width, geometry->height)});
        }
    }
    xcb_disconnect(connection);
    return found;
}

TEST(ToastOnXvfb, TheToastIsAPanelAtTheTopRightThatTakesNoFocus) {
    kestrix::desktop::test::X11Desktop desktop;
    if (!desktop.problem().empty()) GTEST_SKIP() << desktop.problem();
    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", QString::fromStdString(desktop.display()));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("XDG_CONFIG_HOME", folder.path() + "/config");
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + folder.path() + "/no-bus");
    QProcess app;
    app.setProcessEnvironment(environment);
    // An Eject All from a link confirms itself with a toast.
    app.start(KESTRIX_PATH, {"--world", QString::fromStdString(kestrix::shell::test::worldPath("two-drives-world.json")),
                             "--history", folder.path() + "/history.json", "kestrix://eject-all"});
    ASSERT_TRUE(app.waitForStarted(5000));

    QSize screen;
    std::optional<UnmanagedWindow> toast;
    const bool appeared = QTest::qWaitFor(
        [&] {
            for (const UnmanagedWindow& window : unmanagedWindows(desktop.display(), &screen)) {
                if (window.frame.size() == QSize(380, 64)) toast = window;
            }
            return toast.has_value();
        },
        10000);
    const std::optional<std::uint32_t> active = desktop.activeWindow();
    app.kill();
    app.waitForFinished(5000);

    ASSERT_TRUE(appeared && toast.has_value()) << "no toast panel appeared";
    // Openbox reserves nothing here, so the available area is the whole screen.
    EXPECT_EQ(toast->frame, QRect(screen.width() - 380 - 16, 10, 380, 64));
    EXPECT_NE(active, std::optional<std::uint32_t>(toast->id)) << "the toast never becomes the active window";
}

}  // namespace
