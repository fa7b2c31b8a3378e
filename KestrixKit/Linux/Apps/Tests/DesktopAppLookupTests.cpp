#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "KestrixKit/Holders/HolderScanner.h"
#include "KestrixKit/Linux/Apps/DesktopAppLookup.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Linux/Processes/ProcfsSource.h"
#include "KestrixKit/Linux/Windows/DisplayConnections.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"

using namespace kestrix;
namespace fs = std::filesystem;

namespace {

const std::string viewerEntry = "[Desktop Entry]\nType=Application\nName=Holiday Viewer\n"
                                "Name[de]=Urlaubsbetrachter\nExec=holiday-viewer %U\n";

// A folder of its own under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "kestrix-apps-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

    void write(const fs::path& relative, const std::string& contents) const {
        fs::create_directories((path_ / relative).parent_path());
        std::ofstream(path_ / relative, std::ios::binary) << contents;
    }

private:
    fs::path path_;
};

EnvironmentLookup environmentOf(std::map<std::string, std::string> settings) {
    return [settings = std::move(settings)](const std::string& name) -> std::optional<std::string> {
        const auto value = settings.find(name);
        return value == settings.end() ? std::nullopt : std::optional(value->second);
    };
}

// A /proc and a cgroup tree written by the test, for processes in the units, sandboxes and
// launches a desktop makes.
class FakeProcesses : public ::testing::Test {
protected:
    static constexpr std::uint32_t user = 1000;

    void SetUp() override {
        ASSERT_FALSE(folder_.path().empty());
        folder_.write("share/applications/org.kestrix.HolidayViewer.desktop", viewerEntry);
        folder_.write("share/applications/org.kestrix.Thumbnailer.desktop",
                      "[Desktop Entry]\nName=Thumbnails\nNoDisplay=true\nExec=thumbnailer\n");
    }

    void process(std::int32_t pid, std::int32_t parent, const std::string& executable, const std::string& cgroup,
                 std::uint32_t uid = user) const {
        const std::string place = "proc/" + std::to_string(pid);
        const std::string id = std::to_string(uid);
        folder_.write(place + "/status", "Name:\tx\nUid:\t" + id + "\t" + id + "\t" + id + "\t" + id +
                                             "\nPPid:\t" + std::to_string(parent) + "\n");
        folder_.write(place + "/cgroup", "0::" + cgroup + "\n");
        fs::create_symlink(executable, folder_.path() / place / "exe");
    }

    std::optional<AppIdentity> identify(std::int32_t pid, std::set<std::int32_t> windowOwners = {},
                                        std::set<std::int32_t> displayClients = {}) const {
        const DesktopAppLookup lookup(
            environmentOf({{"XDG_DATA_DIRS", (folder_.path() / "share").string()}, {"LANG", "de_DE.UTF-8"}}), user,
            {.procRoot = (folder_.path() / "proc").string(), .cgroupRoots = {(folder_.path() / "cgroup").string()}},
            {.windowOwners = [windowOwners] { return windowOwners; },
             .connectedToDisplay = [displayClients](std::int32_t pid) { return displayClients.contains(pid); }});
        return lookup.identify(pid);
    }

    std::string entryPath(const std::string& id) const {
        return (folder_.path() / "share/applications" / (id + ".desktop")).string();
    }

    TemporaryFolder folder_;
};

const Holder* holderWithPID(const ScanResult& result, pid_t pid) {
    for (const Holder& holder : result.holders) {
        if (holder.pid == pid) return &holder;
    }
    return nullptr;
}

}  // namespace

TEST_F(FakeProcesses, NamesProcessesAfterTheAppUnitTheyRunIn) {
    const std::string scope = "/user.slice/app.slice/app-gnome-org.kestrix.HolidayViewer-7.scope";
    folder_.write("cgroup" + scope + "/cgroup.procs", "101\n100\n");
    process(100, 1, "/usr/bin/holiday-viewer", scope);
    process(101, 100, "/usr/bin/holiday-viewer", scope);
    const std::string service = "/user.slice/app.slice/app-org.kestrix.Thumbnailer@3f.service";
    folder_.write("cgroup" + service + "/cgroup.procs", "102\n");
    process(102, 1, "/usr/libexec/thumbnailer", service);
    process(103, 1, "/usr/bin/other", "/user.slice/app.slice/app-gnome-org.kestrix.Unknown-8.scope");

    const std::string viewer = entryPath("org.kestrix.HolidayViewer");
    EXPECT_EQ(identify(100), (AppIdentity{.name = "Urlaubsbetrachter", .bundleID = "org.kestrix.HolidayViewer",
                                          .isRegular = true, .bundlePath = viewer}));
    // The unit's other processes are the app's helpers, even when they run the app's program.
    EXPECT_EQ(identify(101), (AppIdentity{.name = "Urlaubsbetrachter", .bundleID = "org.kestrix.HolidayViewer",
                                          .isRegular = false, .bundlePath = viewer}));
    // An entry kept out of the menus makes no ordinary app, even of the unit's first process.
    EXPECT_EQ(identify(102), (AppIdentity{.name = "Thumbnails", .bundleID = "org.kestrix.Thumbnailer",
                                          .isRegular = false, .bundlePath = entryPath("org.kestrix.Thumbnailer")}));
    EXPECT_EQ(identify(103), std::nullopt);
    EXPECT_EQ(identify(104), std::nullopt);
    EXPECT_EQ(identify(0), std::nullopt);
}

TEST_F(FakeProcesses, ReadsLaunchesOfTheUsersOwnProcessesAndSandboxes) {
    const std::string launch = "GIO_LAUNCHED_DESKTOP_FILE=" + entryPath("org.kestrix.HolidayViewer") +
                               std::string(1, '\0') + "GIO_LAUNCHED_DESKTOP_FILE_PID=110" + std::string(1, '\0');
    process(110, 1, "/usr/bin/holiday-viewer-bin", "/");
    folder_.write("proc/110/environ", launch);
    process(111, 1, "/usr/bin/holiday-viewer-bin", "/", 2000);
    folder_.write("proc/111/environ", launch);
    process(112, 1, "/app/bin/holiday-viewer", "/");
    folder_.write("proc/112/root/.flatpak-info", "[Application]\nname=org.kestrix.HolidayViewer\n");
    process(113, 1, "/app/bin/other-viewer", "/");
    folder_.write("elsewhere/info", "[Application]\nname=org.kestrix.HolidayViewer\n");
    fs::create_directories(folder_.path() / "proc/113/root");
    fs::create_symlink(folder_.path() / "elsewhere/info", folder_.path() / "proc/113/root/.flatpak-info");

    ASSERT_TRUE(identify(110));
    EXPECT_TRUE(identify(110)->isRegular);
    EXPECT_EQ(identify(110)->bundleID, "org.kestrix.HolidayViewer");
    // Another user's environment is theirs.
    EXPECT_EQ(identify(111), std::nullopt);
    ASSERT_TRUE(identify(112));
    EXPECT_EQ(identify(112)->name, "Urlaubsbetrachter");
    EXPECT_TRUE(identify(112)->isRegular);
    EXPECT_EQ(identify(113), std::nullopt);
}

TEST_F(FakeProcesses, AnAppTypedInATerminalIsAnAppWhateverStartedIt) {
    folder_.write("share/applications/org.kestrix.Pad.desktop",
                  "[Desktop Entry]\nType=Application\nName=Pad\nTryExec=pad-editor\nExec=pad %F\n");
    folder_.write("share/applications/org.kestrix.Monitor.desktop",
                  "[Desktop Entry]\nType=Application\nName=Monitor\nTerminal=true\nExec=monitor\n");
    folder_.write("share/applications/org.kestrix.Script.desktop",
                  "[Desktop Entry]\nType=Application\nName=Script\nExec=python3 /usr/share/script/main.py\n");
    const std::string terminalEntry = "[Desktop Entry]\nType=Application\nName=Terminal\nExec=terminal\n";
    folder_.write("share/applications/org.kestrix.Terminal.desktop", terminalEntry);
    // The terminal was launched from its entry; its shell and everything typed in it inherit that.
    const std::string launch = "GIO_LAUNCHED_DESKTOP_FILE=" + entryPath("org.kestrix.Terminal") + std::string(1, '\0') +
                               "GIO_LAUNCHED_DESKTOP_FILE_PID=200" + std::string(1, '\0');
    process(200, 1, "/usr/bin/terminal", "/");
    process(201, 200, "/usr/bin/bash", "/");
    for (const auto& [pid, program] : std::vector<std::pair<std::int32_t, std::string>>{
             {202, "/usr/bin/holiday-viewer"}, {203, "/usr/bin/pad-editor"}, {204, "/usr/bin/monitor"},
             {205, "/usr/bin/python3.11"}, {206, "/usr/bin/less"}, {207, "/opt/bin/sketch"}, {208, "/opt/bin/sketch"}}) {
        process(pid, 201, program, "/");
    }
    for (const std::int32_t pid : {200, 201, 202, 203, 204, 205, 206, 207}) folder_.write("proc/" + std::to_string(pid) + "/environ", launch);
    // gio launch of GLib 2.74 leaves the pid alone.
    folder_.write("proc/208/environ", "GIO_LAUNCHED_DESKTOP_FILE_PID=208" + std::string(1, '\0'));
    folder_.write("proc/207/cmdline", "sketch" + std::string(1, '\0'));

    EXPECT_TRUE(identify(200)->isRegular);
    // The installed app whose program it runs, by Exec or TryExec.
    EXPECT_EQ(identify(202), (AppIdentity{.name = "Urlaubsbetrachter", .bundleID = "org.kestrix.HolidayViewer",
                                          .isRegular = true, .bundlePath = entryPath("org.kestrix.HolidayViewer")}));
    EXPECT_EQ(identify(203)->name, "Pad");
    EXPECT_TRUE(identify(203)->isRegular);
    // A terminal's program, an interpreter, and a command typed in the terminal belong to no app.
    EXPECT_EQ(identify(204), std::nullopt);
    EXPECT_EQ(identify(205), std::nullopt);
    EXPECT_EQ(identify(206), std::nullopt);
    // A window of its own makes an app of a program no entry knows, named as it was started.
    EXPECT_EQ(identify(207, {207}), (AppIdentity{.name = "sketch", .isRegular = true}));
    EXPECT_EQ(identify(207), std::nullopt);
    EXPECT_EQ(identify(208), (AppIdentity{.name = "sketch", .isRegular = true}));
    // So does a connection to the display server, as a Wayland app has.
    process(210, 201, "/opt/bin/paint", "/");
    EXPECT_EQ(identify(210, {}, {210}), (AppIdentity{.name = "paint", .isRegular = true}));
    EXPECT_EQ(identify(210), std::nullopt);
    // A window makes the app of an entry whose program runs as its own helper too.
    process(209, 202, "/usr/bin/holiday-viewer", "/");
    EXPECT_FALSE(identify(209)->isRegular);
    EXPECT_TRUE(identify(209, {209})->isRegular);
}

// A real process launched from a desktop entry holds a file on a loop-mounted drive; so does
// the child it started. Needs root.
TEST(DesktopAppLookup, NamesARealLaunchedProcessAndItsChildAfterTheEntry) {
    test::LoopDrive loop({.folderPrefix = "kestrix-apps", .labelPrefix = "KestrixApps"});
    if (const auto& reason = loop.skipReason()) GTEST_SKIP() << *reason;
    TemporaryFolder folder;
    ASSERT_FALSE(folder.path().empty());
    folder.write("share/applications/org.kestrix.HolidayViewer.desktop", viewerEntry);
    const std::string entry = (folder.path() / "share/applications/org.kestrix.HolidayViewer.desktop").string();
    const std::string photo = loop.mountPath() + "/beach.jpg";
    std::ofstream(photo) << "not really a photo";

    // The viewer is a copy of the shell under the entry's program name. The launch is in the
    // environment it starts with, and its child inherits it.
    const std::string program = (folder.path() / "holiday-viewer").string();
    fs::copy_file("/bin/sh", program);
    test::ChildProcess viewer({"/bin/sh", "-c",
                               "exec /usr/bin/env GIO_LAUNCHED_DESKTOP_FILE='" + entry +
                                   "' GIO_LAUNCHED_DESKTOP_FILE_PID=$$ '" + program + "' -c \"exec 3<'" + photo +
                                   "'; /bin/sleep 60 & wait\""});

    struct stat status {};
    ASSERT_EQ(stat(loop.mountPath().c_str(), &status), 0);
    const Drive drive{.id = "apps", .volumes = {DriveVolume{.name = loop.name(), .mountPath = loop.mountPath(),
                                                            .device = kernelDeviceNumber(status.st_dev)}}};
    const DesktopAppLookup lookup(environmentOf({{"XDG_DATA_DIRS", (folder.path() / "share").string()}}), getuid(), {});
    const HolderScanner scanner{.source = std::make_shared<ProcfsSource>(),
                                .ownPID = getpid(),
                                .appLookup = [&](std::int32_t pid) { return lookup.identify(pid); }};
    ScanResult result;
    for (int attempt = 0; attempt < 100 && result.holders.size() < 2; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        result = scanner.scan(drive, false);
    }
    ASSERT_EQ(result.holders.size(), 2u);
    const Holder* main = holderWithPID(result, viewer.pid());
    ASSERT_TRUE(main);
    if (main->app == std::nullopt || main->app->bundleID != "org.kestrix.HolidayViewer") {
        GTEST_SKIP() << "this test runs inside another app's unit, which names it first";
    }
    EXPECT_EQ(main->name, "Holiday Viewer");
    EXPECT_TRUE(main->app->isRegular);
    EXPECT_EQ(main->kind, HelperKind::app);
    EXPECT_EQ(main->appBundlePath, entry);
    const Holder& child = result.holders[0].pid == viewer.pid() ? result.holders[1] : result.holders[0];
    EXPECT_EQ(child.name, "Holiday Viewer");
    ASSERT_TRUE(child.app);
    EXPECT_FALSE(child.app->isRegular);
    EXPECT_EQ(child.kind, HelperKind::commandLine);
    // Quitting the helper goes through its app, found by the entry's file.
    EXPECT_EQ(child.appBundlePath, entry);
}

// A program typed in a shell, with no entry and no window list to find it by (as on Wayland),
// connected to the session's compositor and holding a loop-mounted drive: it is an app. Needs root.
TEST(DesktopAppLookup, AProcessConnectedToTheCompositorIsAnApp) {
    test::LoopDrive loop({.folderPrefix = "kestrix-wayland", .labelPrefix = "KestrixWl"});
    if (const auto& reason = loop.skipReason()) GTEST_SKIP() << *reason;
    TemporaryFolder runtime;
    const std::string address = (runtime.path() / "wayland-kx").string();
    const int compositor = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un name{.sun_family = AF_UNIX};
    std::strncpy(name.sun_path, address.c_str(), sizeof name.sun_path - 1);
    ASSERT_EQ(bind(compositor, reinterpret_cast<sockaddr*>(&name), sizeof name), 0);
    ASSERT_EQ(listen(compositor, 4), 0);
    if (!display::unixSockets()) GTEST_SKIP() << "this kernel gives no Unix socket diagnostics";

    const std::string folder = loop.mountPath();
    const test::ChildProcess app([&] {
        const int connection = socket(AF_UNIX, SOCK_STREAM, 0);
        return chdir(folder.c_str()) == 0 &&
               connect(connection, reinterpret_cast<const sockaddr*>(&name), sizeof name) == 0;
    });
    const int accepted = accept4(compositor, nullptr, nullptr, SOCK_CLOEXEC);
    ASSERT_GE(accepted, 0);

    const auto session = environmentOf({{"XDG_RUNTIME_DIR", runtime.path().string()}, {"WAYLAND_DISPLAY", "wayland-kx"},
                                        {"XDG_DATA_DIRS", (runtime.path() / "share").string()}});
    const DesktopAppLookup lookup(session, getuid(), {}, {.connectedToDisplay = display::displayClients(session)});
    struct stat status {};
    ASSERT_EQ(stat(folder.c_str(), &status), 0);
    const Drive drive{.id = "wayland", .volumes = {DriveVolume{.name = loop.name(), .mountPath = folder,
                                                               .device = kernelDeviceNumber(status.st_dev)}}};
    const HolderScanner scanner{.source = std::make_shared<ProcfsSource>(),
                                .ownPID = getpid(),
                                .appLookup = [&](std::int32_t pid) { return lookup.identify(pid); }};
    const ScanResult result = scanner.scan(drive, false);
    const Holder* holder = holderWithPID(result, app.pid());
    ASSERT_TRUE(holder);
    ASSERT_TRUE(holder->app);
    EXPECT_TRUE(holder->app->isRegular);
    EXPECT_EQ(holder->kind, HelperKind::app);
    close(accepted);
    close(compositor);
}
