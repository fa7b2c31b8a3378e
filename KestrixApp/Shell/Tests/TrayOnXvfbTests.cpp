#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <nlohmann/json.hpp>
#include <xcb/xcb.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>

#include "KestrixApp/Shell/Tests/ShellHarness.h"
#include "KestrixApp/TestSupport/X11Desktop.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"

namespace {

// The app on a desktop that names itself nowhere, with no session bus, its settings in the test's
// folder; ended by its pid whichever way the test ends.
struct AppOnBareDesktop {
    AppOnBareDesktop(const std::string& display, const QTemporaryDir& folder) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "KDE_SESSION_VERSION",
                                     "GNOME_DESKTOP_SESSION_ID", "QT_QPA_PLATFORMTHEME", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY",
                                     "XDG_SESSION_TYPE"})
            environment.remove(variable);
        environment.insert("DISPLAY", QString::fromStdString(display));
        environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
        environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + folder.filePath("no-bus"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~AppOnBareDesktop() {
        process.kill();
        process.waitForFinished(5000);
    }
    QProcess process;
};

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&free)>;

struct ShownWindow {
    xcb_window_t id = 0;
    QRect frame;  // on the screen
    bool overrideRedirect = false;
};

// What a test asks the X server about the app's windows, through a connection of its own.
class Screen {
public:
    explicit Screen(const std::string& display) : connection_(xcb_connect(display.c_str(), nullptr)) {
        if (xcb_connection_has_error(connection_)) return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const char name[] = "_NET_WM_PID";
        Owned<xcb_intern_atom_reply_t> atom(
            xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, sizeof name - 1, name), nullptr), &free);
        if (atom) pidAtom_ = atom->atom;
    }
    ~Screen() { xcb_disconnect(connection_); }

    // The process's windows that are on screen, wherever they sit in the window tree (a tray
    // icon is a child of the tray's window).
    // The window with what its window manager draws around it (_NET_FRAME_EXTENTS).
    QRect withFrame(const ShownWindow& window) const {
        const char name[] = "_NET_FRAME_EXTENTS";
        Owned<xcb_intern_atom_reply_t> atom(
            xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, sizeof name - 1, name), nullptr), &free);
        if (!atom) return window.frame;
        Owned<xcb_get_property_reply_t> extents(
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, 0, window.id, atom->atom, XCB_ATOM_CARDINAL, 0, 4),
                                   nullptr),
            &free);
        if (!extents || xcb_get_property_value_length(extents.get()) != 16) return window.frame;
        const auto* sides = static_cast<const uint32_t*>(xcb_get_property_value(extents.get()));  // left, right, top, bottom
        return window.frame.adjusted(-static_cast<int>(sides[0]), -static_cast<int>(sides[2]), static_cast<int>(sides[1]),
                                     static_cast<int>(sides[3]));
    }

    std::vector<ShownWindow> shownWindowsOf(qint64 pid) const {
        std::vector<ShownWindow> found;
        collect(root_, pid, found);
        return found;
    }

    // How many of the screen's pixels in the rectangle are clearly blue (the tray icon's disc).
    int bluePixels(const QRect& area) const {
        Owned<xcb_get_image_reply_t> image(
            xcb_get_image_reply(connection_,
                                xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_,
                                              static_cast<int16_t>(area.x()), static_cast<int16_t>(area.y()),
                                              static_cast<uint16_t>(area.width()),
                                              static_cast<uint16_t>(area.height()), ~0u),
                                nullptr),
            &free);
        if (!image) return 0;
        const uint8_t* data = xcb_get_image_data(image.get());
        const int length = xcb_get_image_data_length(image.get());
        int blue = 0;
        // 24-bit depth comes as 32 bits a pixel, blue first.
        for (int at = 0; at + 3 < length; at += 4) blue += data[at] > 150 && data[at] > data[at + 2] + 60 ? 1 : 0;
        return blue;
    }

private:
    void collect(xcb_window_t parent, qint64 pid, std::vector<ShownWindow>& found) const {
        Owned<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, parent), nullptr),
                                           &free);
        if (!tree) return;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int index = 0; index < xcb_query_tree_children_length(tree.get()); ++index) {
            const xcb_window_t window = children[index];
            collect(window, pid, found);
            Owned<xcb_get_property_reply_t> owner(
                xcb_get_property_reply(connection_,
                                       xcb_get_property(connection_, 0, window, pidAtom_, XCB_ATOM_CARDINAL, 0, 1),
                                       nullptr),
                &free);
            if (!owner || xcb_get_property_value_length(owner.get()) != 4 ||
                *static_cast<const uint32_t*>(xcb_get_property_value(owner.get())) != pid) {
                continue;
            }
            Owned<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr),
                &free);
            Owned<xcb_get_geometry_reply_t> geometry(
                xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr), &free);
            Owned<xcb_translate_coordinates_reply_t> place(
                xcb_translate_coordinates_reply(connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0),
                                                nullptr),
                &free);
            if (!attributes || !geometry || !place || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
            found.push_back({window, QRect(place->dst_x, place->dst_y, geometry->width, geometry->height),
                             attributes->override_redirect != 0});
        }
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    xcb_atom_t pidAtom_ = XCB_ATOM_NONE;
};

std::optional<ShownWindow> findWindow(const Screen& screen, qint64 pid,
                                      const std::function<bool(const ShownWindow&)>& wanted) {
    for (const ShownWindow& window : screen.shownWindowsOf(pid))
        if (wanted(window)) return window;
    return std::nullopt;
}

bool isTrayIcon(const ShownWindow& window) { return window.frame.width() <= 64 && window.frame.height() <= 64; }
bool isPanel(const ShownWindow& window) { return window.frame.width() == 400; }

// Two sticks, and three programs with files open on a third that is plugged in later: the
// panel grows past what fits above the tray.
nlohmann::json world(bool withHoliday) {
    nlohmann::json world = nlohmann::json::parse(
        std::ifstream(kestrix::shell::test::worldPath("two-drives-world.json")));
    world["processes"] = nlohmann::json::array();
    int pid = 4100;
    for (const char* program : {"less", "vim", "rsync"}) {
        world["processes"].push_back({{"pid", pid++}, {"name", program}, {"uid", 1000},
                                      {"openFiles", {{{"path", std::string("/media/Holiday/") + program + ".txt"},
                                                      {"device", 2097}}}}});
    }
    if (withHoliday) {
        world["volumes"].push_back({{"path", "/media/Holiday"}, {"name", "Holiday"}, {"totalCapacity", 32000000000},
                                    {"availableCapacity", 1000000000}, {"isEjectable", true}, {"isRemovable", true},
                                    {"mountSource", "/dev/sdd1"}, {"fileSystem", "vfat"}, {"device", 2097},
                                    {"deviceProtocol", "USB"}, {"wholeDisk", "sdd"}});
    }
    return world;
}

void writeWorld(const QString& path, const nlohmann::json& content) {
    // Written beside it and renamed over it, as an editor saves: the app sees one whole file.
    const QString next = path + ".next";
    std::ofstream(next.toStdString()) << content.dump(1);
    ASSERT_EQ(std::rename(next.toLocal8Bit().constData(), path.toLocal8Bit().constData()), 0);
}

void expectOnScreenBesideIcon(const QRect& panel, const QRect& icon, const QRect& workArea) {
    EXPECT_TRUE(workArea.contains(panel)) << "panel at " << panel.x() << "," << panel.y() << " " << panel.width()
                                          << "×" << panel.height();
    EXPECT_FALSE(panel.intersects(icon)) << "the panel covers its tray icon";
}

TEST(TrayOnXvfb, ALateTrayGetsAVisibleIconAndThePanelStaysOnScreenAsItGrows) {
    kestrix::desktop::test::X11Desktop desktop("1024x600");
    if (!desktop.problem().empty()) GTEST_SKIP() << desktop.problem();
    if (access("/usr/bin/tint2", X_OK) != 0) GTEST_SKIP() << "tint2 is not installed";
    QTemporaryDir folder;
    const QString worldFile = folder.filePath("world.json");
    writeWorld(worldFile, world(false));
    QDir(folder.path()).mkpath("config/orvane");
    QFile settings(folder.filePath("config/orvane/Kestrix.conf"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[General]\nonboarded=true\n");
    settings.close();

    // A desktop that names itself nowhere, with no session bus: the tray is XEmbed's.
    AppOnBareDesktop running(desktop.display(), folder);
    QProcess& app = running.process;
    // Qt's own options go to Qt.
    app.start(KESTRIX_PATH, {"-platform", "xcb", "-style", "Fusion", "--world", worldFile, "--history",
                             folder.filePath("history.json")});
    ASSERT_TRUE(app.waitForStarted(5000));
    const Screen screen(desktop.display());
    const qint64 pid = app.processId();

    // No tray yet: the panel is a window of its own.
    EXPECT_TRUE(QTest::qWaitFor([&] { return findWindow(screen, pid, isPanel).has_value(); }, 20000))
        << "without a tray the app opens its panel as a window";
    QTest::qWait(3000);
    ASSERT_EQ(app.state(), QProcess::Running);

    // The tray starts three seconds after the app, as it may at login.
    kestrix::test::ChildProcess tray({"/usr/bin/env", "DISPLAY=" + desktop.display(), "/usr/bin/tint2", "-c",
                                      std::string(KESTRIX_SHELL_TEST_DATA) + "/tint2rc"});
    std::optional<ShownWindow> icon;
    const bool docked = QTest::qWaitFor(
        [&] {
            icon = findWindow(screen, pid, isTrayIcon);
            return icon && screen.bluePixels(icon->frame) > 30;
        },
        20000);
    ASSERT_TRUE(icon.has_value()) << "the tray that came late never got the icon";
    EXPECT_TRUE(docked) << "the tray icon's pixels are blank";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !findWindow(screen, pid, isPanel); }, 10000))
        << "the window that stood in for the icon goes";

    // The work area: the screen above the tray's panel.
    const QRect workArea(0, 0, 1024, 570);
    ASSERT_TRUE(kestrix::test::runQuietly("DISPLAY=" + desktop.display() + " xdotool mousemove --sync " +
                                          std::to_string(icon->frame.center().x()) + " " +
                                          std::to_string(icon->frame.center().y()) + " click 1"));
    std::optional<ShownWindow> panel;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (panel = findWindow(screen, pid, isPanel)).has_value(); }, 10000))
        << "a click on the icon opens the panel";
    EXPECT_TRUE(panel->overrideRedirect) << "it drops from the icon";
    expectOnScreenBesideIcon(panel->frame, icon->frame, workArea);

    // A drive is plugged in while the panel is open, and three programs keep it busy.
    const int heightBefore = panel->frame.height();
    writeWorld(worldFile, world(true));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            panel = findWindow(screen, pid, isPanel);
            return panel && panel->frame.height() > heightBefore + 100;
        },
        20000))
        << "the panel shows the new drive";
    // Let it settle: the same frame twice in a row.
    std::optional<QRect> settled;
    const bool steady = QTest::qWaitFor(
        [&] {
            const std::optional<ShownWindow> now = findWindow(screen, pid, isPanel);
            const bool same = now && settled && now->frame == *settled;
            if (now) settled = now->frame;
            return same;
        },
        5000);
    ASSERT_TRUE(steady && settled.has_value()) << "the panel keeps moving";
    expectOnScreenBesideIcon(*settled, icon->frame, workArea);
}

TEST(TrayOnXvfb, OnA1024x600ScreenEveryWindowFitsWithItsFrame) {
    kestrix::desktop::test::X11Desktop desktop("1024x600");
    if (!desktop.problem().empty()) GTEST_SKIP() << desktop.problem();
    QTemporaryDir folder;
    const QString worldFile = folder.filePath("world.json");
    writeWorld(worldFile, kestrix::shell::test::crowdedWorld());
    AppOnBareDesktop running(desktop.display(), folder);
    QProcess& app = running.process;
    // A first start without a tray: the welcome, the panel as a window, and the main window that
    // the link asks for.
    app.start(KESTRIX_PATH, {"-platform", "xcb", "--world", worldFile, "--history", folder.filePath("history.json"),
                             "kestrix://check?drive=Stick%201"});
    ASSERT_TRUE(app.waitForStarted(5000));
    const Screen screen(desktop.display());
    const qint64 pid = app.processId();
    const auto framed = [&] {
        std::vector<QRect> frames;
        for (const ShownWindow& window : screen.shownWindowsOf(pid)) frames.push_back(screen.withFrame(window));
        return frames;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return framed().size() == 3; }, 30000)) << framed().size() << " windows shown";
    // Placed by the window manager and framed.
    QTest::qWait(2000);
    for (const QRect& frame : framed()) {
        EXPECT_TRUE(QRect(0, 0, 1024, 600).contains(frame))
            << "a window at " << frame.x() << "," << frame.y() << " " << frame.width() << "×" << frame.height();
    }
}

}  // namespace
