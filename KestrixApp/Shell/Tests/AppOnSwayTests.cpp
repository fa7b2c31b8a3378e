#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QDBusMessage>
#include <QDBusVariant>
#include <QImage>
#include <QLibraryInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "KestrixApp/Shell/AutomationService.h"
#include "KestrixApp/Shell/Tests/ShellHarness.h"
#include "KestrixApp/TestSupport/PrivateSessionBus.h"
#include "KestrixApp/TestSupport/SwayDesktop.h"
#include "KestrixApp/TestSupport/Waiting.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "UDisks2/TestSupport/OrdinaryUser.h"

using kestrix::desktop::test::DesktopUser;
using kestrix::desktop::test::PrivateSessionBus;
using kestrix::desktop::test::SwayArea;
using kestrix::desktop::test::SwayBar;
using kestrix::desktop::test::SwayDesktop;
using kestrix::desktop::test::SwayWindow;
using kestrix::desktop::test::waitUntil;
using kestrix::test::ChildProcess;

namespace {

// The app as a native Wayland client of a headless sway whose bar hosts a tray, run by an ordinary
// user, as on a desktop. One sway serves every test: it is slow to start.
class AppOnSway : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const auto account = kestrix::test::ordinaryUser();
        if (const auto* reason = std::get_if<std::string>(&account)) {
            skipReason_ = *reason;
            return;
        }
        user_ = std::get<kestrix::test::OrdinaryUser>(account);
        for (const char* program : {"/usr/bin/swaybar", "/usr/bin/grim", "/usr/bin/wtype"}) {
            if (access(program, X_OK) != 0) {
                skipReason_ = std::string(program) + " is not installed (apt-get install sway grim wtype)";
                return;
            }
        }
        if (access((QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqwayland-generic.so").toLocal8Bit(),
                   R_OK) != 0) {
            skipReason_ = "Qt's Wayland platform is not installed (apt-get install qt6-wayland)";
            return;
        }
        // sway and its clients share their buffers through /dev/shm, which every user must be able to write.
        struct stat shm {};
        if (stat("/dev/shm", &shm) != 0 || (shm.st_mode & S_IWOTH) == 0) {
            skipReason_ = "/dev/shm is missing or not writable by every user, so sway cannot share its buffers";
            return;
        }
        bus_ = std::make_unique<PrivateSessionBus>();
        if (!bus_->problem().empty()) {
            skipReason_ = bus_->problem();
            return;
        }
        sway_ = std::make_unique<SwayDesktop>(DesktopUser{.uid = user_->uid, .gid = user_->gid, .home = user_->home},
                                              bus_->address(), "1024x640", SwayBar::withTray);
        if (!sway_->problem().empty()) skipReason_ = sway_->problem();
    }

    static void TearDownTestSuite() {
        sway_.reset();
        bus_.reset();
    }

    void SetUp() override {
        if (skipReason_) GTEST_SKIP() << *skipReason_;
        ASSERT_TRUE(folder_.isValid());
        ASSERT_EQ(chown(folder_.path().toLocal8Bit().constData(), user_->uid, user_->gid), 0);
    }

    // The file in the test's folder, readable by the user.
    std::string write(const std::string& name, const std::string& content) const {
        const std::string path = folder_.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path) << content;
        chmod(path.c_str(), 0644);
        return path;
    }

    // The app on the world, its settings and history in the test's folder; its pid is the command's.
    std::unique_ptr<ChildProcess> startApp(const nlohmann::json& world, const std::string& settings) const {
        const std::string config = folder_.filePath("config").toStdString();
        std::filesystem::create_directories(config + "/orvane");
        std::ofstream(config + "/orvane/Kestrix.conf") << settings;
        for (const std::string& path : {config, config + "/orvane", config + "/orvane/Kestrix.conf"}) {
            EXPECT_EQ(chown(path.c_str(), user_->uid, user_->gid), 0);
        }
        return std::make_unique<ChildProcess>(
            sway_->command({"QT_QPA_PLATFORM=wayland", "XDG_CONFIG_HOME=" + config, "LANGUAGE=en", "LANG=C.UTF-8"},
                           {KESTRIX_PATH, "--world", write("world.json", world.dump()), "--history",
                            folder_.filePath("history.json").toStdString(), "--background"}),
            folder_.path().toStdString());
    }

    // The app's item among those swaybar's watcher has ("service/path" or "service"): an item of
    // an app that has just ended may still be listed.
    static std::optional<QString> trayItemOf(pid_t pid) {
        const QDBusMessage reply = bus_->connection().call(QDBusMessage::createMethodCall(
            "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", "org.freedesktop.DBus.Properties", "Get")
                                                           << QString("org.kde.StatusNotifierWatcher")
                                                           << QString("RegisteredStatusNotifierItems"));
        for (const QString& item : reply.arguments().value(0).value<QDBusVariant>().variant().toStringList()) {
            const QDBusMessage owner = bus_->connection().call(
                QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                               "GetConnectionUnixProcessID")
                << item.section('/', 0, 0));
            if (owner.arguments().value(0).toUInt() == static_cast<uint>(pid)) return item;
        }
        return std::nullopt;
    }

    // What swaybar does when the item is clicked.
    static void clickTrayItem(const QString& item) {
        const qsizetype slash = item.indexOf('/');
        const QString service = slash < 0 ? item : item.left(slash);
        const QString path = slash < 0 ? QString("/StatusNotifierItem") : item.mid(slash);
        bus_->connection().call(QDBusMessage::createMethodCall(service, path, "org.kde.StatusNotifierItem", "Activate")
                                << 1010 << 630);
    }

    // As a second start hands a link to the running app.
    static void openLink(const QString& link) {
        using kestrix::shell::AutomationService;
        const QString method = "OpenURL";
        bus_->connection().call(QDBusMessage::createMethodCall(AutomationService::serviceName,
                                                               AutomationService::objectPath,
                                                               AutomationService::interfaceName, method)
                                << link);
    }

    static std::optional<std::string> skipReason_;
    static std::optional<kestrix::test::OrdinaryUser> user_;
    static std::unique_ptr<PrivateSessionBus> bus_;
    static std::unique_ptr<SwayDesktop> sway_;
    QTemporaryDir folder_;
};

std::optional<std::string> AppOnSway::skipReason_;
std::optional<kestrix::test::OrdinaryUser> AppOnSway::user_;
std::unique_ptr<PrivateSessionBus> AppOnSway::bus_;
std::unique_ptr<SwayDesktop> AppOnSway::sway_;

nlohmann::json swayTestTwoDrives() {
    return nlohmann::json::parse(std::ifstream(kestrix::shell::test::worldPath("two-drives-world.json")));
}

// How many pixels of the area are clearly the blue of the app's icon: neither the bar's black nor
// the red of a missing icon.
int trayBluePixelsIn(const QImage& picture, const SwayArea& area) {
    int count = 0;
    for (int y = area.y; y < area.y + area.height && y < picture.height(); ++y) {
        for (int x = area.x; x < area.x + area.width && x < picture.width(); ++x) {
            const QColor colour = picture.pixelColor(x, y);
            const int blue = colour.blue();
            if (blue > 150 && blue > colour.red() + 60 && blue > colour.green() + 20) ++count;
        }
    }
    return count;
}

std::string describedSwayWindow(const SwayWindow& window) {
    return window.title + " at " + std::to_string(window.area.x) + "," + std::to_string(window.area.y) + " " +
           std::to_string(window.area.width) + "×" + std::to_string(window.area.height);
}

TEST_F(AppOnSway, TheTrayItemOnSwaybarShowsTheIcon) {
    const auto app = startApp(swayTestTwoDrives(), "[General]\nonboarded=true\n");
    ASSERT_TRUE(waitUntil(30.0, [&] { return trayItemOf(app->pid()).has_value(); }))
        << "the app put no item in swaybar's tray";
    const std::optional<SwayArea> work = sway_->workArea();
    ASSERT_TRUE(work.has_value());
    // swaybar sits below the windows' area, its tray at the right end.
    const SwayArea trayEnd{1024 - 40, work->y + work->height, 40, 640 - work->y - work->height};
    ASSERT_GT(trayEnd.height, 0) << "sway shows no bar";
    const std::string picture = folder_.filePath("tray.png").toStdString();
    int blue = 0;
    waitUntil(20.0, [&] {
        blue = sway_->takePicture(picture) ? trayBluePixelsIn(QImage(QString::fromStdString(picture)), trayEnd) : 0;
        return blue > 30;
    });
    EXPECT_GT(blue, 30) << "the tray item shows no icon (see " << picture << ")";
}

// No notification server runs in this session: a link's result shows in the app's own toast, which
// sway places, as a window no wider than the toast, all in view.
TEST_F(AppOnSway, WithNoNotificationServerALinksResultShowsInTheToast) {
    const auto app = startApp(swayTestTwoDrives(), "[General]\nonboarded=true\n");
    ASSERT_TRUE(waitUntil(30.0, [&] { return trayItemOf(app->pid()).has_value(); })) << "the app did not start";
    openLink("kestrix://eject-all");
    std::optional<SwayWindow> toast;
    ASSERT_TRUE(waitUntil(30.0, [&] {
        const std::vector<SwayWindow> shown = sway_->shownWindowsOf(app->pid());
        if (!shown.empty()) toast = shown.front();
        return toast.has_value();
    })) << "nothing showed the result";
    const std::optional<SwayArea> work = sway_->workArea();
    ASSERT_TRUE(work.has_value());
    EXPECT_TRUE(work->contains(toast->area)) << describedSwayWindow(*toast);
    EXPECT_LE(toast->area.width, 400) << describedSwayWindow(*toast);
    EXPECT_LE(toast->area.height, 160) << "a toast, not a window: " << describedSwayWindow(*toast);
}

// A first start on a small screen: the welcome, Help from it, the panel from the tray and the main
// window from a link, each placed by sway, all in the area above the bar.
TEST_F(AppOnSway, OnA1024x640OutputEveryWindowFitsAboveTheBar) {
    const auto app = startApp(kestrix::shell::test::crowdedWorld(), "");
    const pid_t pid = app->pid();
    const std::optional<SwayArea> work = sway_->workArea();
    ASSERT_TRUE(work.has_value());
    std::vector<SwayWindow> seen;
    // The window with the title that appears next, once its place is settled.
    const auto shows = [&](const std::string& title) {
        std::optional<SwayWindow> window;
        const auto isNew = [&](const SwayWindow& shown) {
            return shown.title == title && std::none_of(seen.begin(), seen.end(), [&](const SwayWindow& earlier) {
                       return earlier.id == shown.id;
                   });
        };
        const bool appeared = waitUntil(30.0, [&] {
            for (const SwayWindow& shown : sway_->shownWindowsOf(pid)) {
                if (isNew(shown)) window = shown;
            }
            return window.has_value();
        });
        if (!appeared) return false;
        seen.push_back(*window);
        return true;
    };

    ASSERT_TRUE(shows("Welcome to Kestrix")) << "no welcome at the first start";
    ASSERT_TRUE(sway_->focus("Welcome to Kestrix"));
    // Past the login box to the Help button, as the keyboard goes.
    ASSERT_TRUE(sway_->press({"Tab", "Tab", "space"}));
    EXPECT_TRUE(shows("Kestrix Help")) << "the welcome's Help button opened no Help";

    std::optional<QString> item;
    ASSERT_TRUE(waitUntil(30.0, [&] { return (item = trayItemOf(pid)).has_value(); }));
    clickTrayItem(*item);
    EXPECT_TRUE(shows("Kestrix")) << "a click on the tray item opened no panel";

    openLink("kestrix://check?drive=Stick%201");
    EXPECT_TRUE(shows("Kestrix")) << "the link opened no main window";
    // Windows that sway tiles take their place again as others come.
    for (SwayWindow& window : seen) {
        for (const SwayWindow& now : sway_->shownWindowsOf(pid)) {
            if (now.id == window.id) window = now;
        }
    }
    for (const SwayWindow& window : seen) EXPECT_TRUE(work->contains(window.area)) << describedSwayWindow(window);
}

}  // namespace
