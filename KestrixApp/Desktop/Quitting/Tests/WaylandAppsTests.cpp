#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <QDBusMessage>

#include "KestrixApp/Desktop/Quitting/DesktopQuitter.h"
#include "KestrixApp/Desktop/Quitting/Tests/CountingEjector.h"
#include "KestrixApp/TestSupport/PrivateSessionBus.h"
#include "KestrixApp/TestSupport/SwayDesktop.h"
#include "KestrixApp/TestSupport/Waiting.h"
#include "KestrixKit/Holders/HelperCatalog.h"
#include "KestrixKit/Holders/HolderPolicy.h"
#include "KestrixKit/Linux/Mounts/MountPointStatus.h"
#include "KestrixKit/Linux/Processes/InotifyWatches.h"
#include "KestrixKit/System/SystemContext.h"
#include "KestrixKit/System/SystemEjectFlow.h"
#include "KestrixKit/Tests/Support/ChildProcess.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"
#include "UDisks2/TestSupport/OrdinaryUser.h"

using namespace kestrix;
using namespace kestrix::desktop;
using namespace kestrix::desktop::test;
using kestrix::test::ChildProcess;

namespace {

std::string fileText(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Whether the process has an inotify watch on the inode: an editor adds its watch some time after
// its window shows.
bool watchesInode(pid_t pid, ino_t inode) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry("/proc/" + std::to_string(pid) + "/fdinfo", error), end;
         !error && entry != end; entry.increment(error)) {
        for (const InotifyWatch& watch : parseInotifyWatches(fileText(entry->path().string()))) {
            if (watch.inode == inode) return true;
        }
    }
    return false;
}

const Holder* holderWithPID(const std::vector<Holder>& holders, pid_t pid) {
    const auto found = std::find_if(holders.begin(), holders.end(), [&](const Holder& holder) { return holder.pid == pid; });
    return found == holders.end() ? nullptr : &*found;
}

// Real editors as native Wayland clients of a headless sway, started from a shell in the home
// folder, each with a document on a loop drive: Mousepad (a GApplication, with an unsaved edit)
// and FeatherPad (a Qt app with no quit route on the bus, working in a folder of the drive).
class WaylandApps : public testing::Test {
protected:
    void SetUp() override {
        if (const auto& reason = loop_.skipReason()) GTEST_SKIP() << *reason;
        const auto account = kestrix::test::ordinaryUser();
        if (const auto* reason = std::get_if<std::string>(&account)) GTEST_SKIP() << *reason;
        user_ = std::get<kestrix::test::OrdinaryUser>(account);
        for (const char* program : {"/usr/bin/mousepad", "/usr/bin/featherpad", "/usr/bin/wtype"}) {
            if (access(program, X_OK) != 0) GTEST_SKIP() << program << " is not installed (apt-get install mousepad featherpad wtype)";
        }
        if (!bus_.problem().empty()) GTEST_SKIP() << bus_.problem();
        // sway and its clients share their buffers through /dev/shm, which every user must be able to write.
        struct stat shm {};
        if (stat("/dev/shm", &shm) != 0 || (shm.st_mode & S_IWOTH) == 0) {
            GTEST_SKIP() << "/dev/shm is missing or not writable by every user, so sway cannot share its buffers";
        }
        sway_ = std::make_unique<SwayDesktop>(DesktopUser{.uid = user_.uid, .gid = user_.gid, .home = user_.home},
                                              bus_.address());
        if (!sway_->problem().empty()) GTEST_SKIP() << sway_->problem();
        document_ = loop_.mountPath() + "/notes.txt";
        std::ofstream(document_) << "shopping list\n";
        folder_ = loop_.mountPath() + "/Letters";
        mkdir(folder_.c_str(), 0755);
        for (const std::string& path : {loop_.mountPath(), document_, folder_}) {
            ASSERT_EQ(chown(path.c_str(), user_.uid, user_.gid), 0);
        }
        quitter_ = std::make_shared<DesktopQuitter>(std::nullopt, bus_.connection(), getpid());
    }

    Drive drive() const {
        struct stat status {};
        stat(loop_.mountPath().c_str(), &status);
        return Drive{.id = "loop",
                     .volumes = {DriveVolume{.name = loop_.name(), .mountPath = loop_.mountPath(),
                                             .device = kernelDeviceNumber(status.st_dev)}}};
    }

    // The system as the app builds it on this machine, its ejects counted rather than made.
    EjectFlow flow(std::function<void(double)> sleep) {
        SystemChoice choice{.desktopEjector = ejector_, .desktopQuitter = quitter_,
                            .appReach = [quitter = quitter_](std::int32_t pid) { return std::optional(quitter->reach(pid)); }};
        context_ = std::make_shared<SystemContext>(std::get<SystemContext>(makeSystemContext(choice)));
        EjectFlow flow = ejectFlow(*context_);
        // The wait for the asked apps to exit is where the test acts, as the user would.
        flow.awaitExit = [sleep](const std::vector<ProcessIdentity>&, double limit) { sleep(limit); };
        flow.sleep = std::move(sleep);
        // As the user runs Kestrix on their desktop.
        flow.currentUID = user_.uid;
        // The drive is made here, not listed: nothing to compare it with.
        flow.isSameDrive = nullptr;
        return flow;
    }

    std::vector<HolderAction> actionsOf(const Holder& holder) const { return HolderPolicy::actions(holder, user_.uid); }

    std::unique_ptr<ChildProcess> start(const std::vector<std::string>& variables, const std::vector<std::string>& words,
                                        const std::string& folder) const {
        auto app = std::make_unique<ChildProcess>(sway_->command(variables, words), folder);
        EXPECT_TRUE(waitUntil(30.0, [&] { return sway_->windowsOf(app->pid()) >= 1; })) << words.front() << " showed no window";
        return app;
    }

    kestrix::test::LoopDrive loop_{{.folderPrefix = "kestrix-wayland", .labelPrefix = "KXW"}};
    kestrix::test::OrdinaryUser user_;
    PrivateSessionBus bus_;
    std::unique_ptr<SwayDesktop> sway_;
    std::shared_ptr<DesktopQuitter> quitter_;
    std::shared_ptr<CountingEjector> ejector_ = std::make_shared<CountingEjector>();
    std::shared_ptr<SystemContext> context_;
    std::string document_;
    std::string folder_;
};

// One test, as each start of the desktop and its apps is slow.
TEST_F(WaylandApps, EachAppIsAskedItsOwnWayOrWaitedForNeverSignalledAndNeverActivated) {
    // Settings in memory: a session Mousepad saved earlier in the user's dconf would be restored.
    auto mousepad =
        start({"GDK_BACKEND=wayland", "GSETTINGS_BACKEND=memory"}, {"/usr/bin/mousepad", document_}, user_.home);
    ASSERT_TRUE(sway_->type("milk, "));
    auto featherpad = start({"QT_QPA_PLATFORM=wayland"}, {"/usr/bin/featherpad"}, folder_);
    ASSERT_TRUE(bus_.waitForOwner(QStringLiteral("org.xfce.mousepad"))) << "mousepad took no bus name";
    struct stat document {};
    ASSERT_EQ(stat(document_.c_str(), &document), 0);
    ASSERT_TRUE(waitUntil(20.0, [&] { return watchesInode(mousepad->pid(), document.st_ino); }))
        << "mousepad never watched its document";

    int sleeps = 0;
    bool dialogShown = false;
    bool featherpadAliveWhileWaiting = false;
    const EjectFlow flow = this->flow([&](double) {
        if (++sleeps > 1) return;
        // Asked through its quit action, Mousepad asks whether to save its edit.
        dialogShown = waitUntil(20.0, [&] { return sway_->windowsOf(mousepad->pid()) >= 2; });
        featherpadAliveWhileWaiting = !featherpad->hasExited();
    });

    // Mousepad holds the drive by the document it watches; its folder is the home folder.
    const DriveReport refused = flow.eject(drive(), false);
    const auto* inUse = refused.verdict.as<DriveVerdict::InUse>();
    ASSERT_NE(inUse, nullptr) << refused.verdict.caseName();
    const Holder* editor = holderWithPID(inUse->holders, mousepad->pid());
    const Holder* qtEditor = holderWithPID(inUse->holders, featherpad->pid());
    ASSERT_NE(editor, nullptr) << "the watched document did not block the eject";
    ASSERT_NE(qtEditor, nullptr);
    EXPECT_EQ(ejector_->requests, 0);
    EXPECT_EQ(editor->kind, HelperKind::app);
    EXPECT_EQ(editor->holds, (std::vector<Hold>{{.kind = HoldKind::watchedFile, .path = document_}}));
    EXPECT_EQ(HelperCatalog::holdLine(editor->holds.front()), "Has notes.txt open");
    EXPECT_FALSE(HolderPolicy::endsByDefault(*editor));
    // Neither can be raised on this desktop, so neither is offered Show.
    EXPECT_EQ(actionsOf(*editor), std::vector<HolderAction>{HolderAction::quitApp});
    EXPECT_EQ(actionsOf(*qtEditor), std::vector<HolderAction>{HolderAction::quitApp});
    EXPECT_EQ(HelperCatalog::advice(*qtEditor), HelperCatalog::cannotAskToQuit(*qtEditor));

    // Show opens nothing: no new window, and no activation, which opens a new document in
    // Mousepad. What the bus carried up to a marker sent after Show is all on the monitor's record.
    const std::string record = bus_.folder() + "/activations";
    const ChildProcess monitor({"/bin/sh", "-c",
                                "exec dbus-monitor --address '" + bus_.address() +
                                    "' interface=org.freedesktop.Application > '" + record + "'"});
    ASSERT_TRUE(waitUntil(10.0, [&] { return fileText(record).find("NameAcquired") != std::string::npos; }));
    quitter_->showApp(*editor);
    QDBusConnection connection = bus_.connection();
    connection.send(QDBusMessage::createSignal(QStringLiteral("/marker"), QStringLiteral("org.freedesktop.Application"),
                                               QStringLiteral("Marker")));
    ASSERT_TRUE(waitUntil(10.0, [&] { return fileText(record).find("member=Marker") != std::string::npos; }));
    EXPECT_EQ(fileText(record).find("member=Activate"), std::string::npos) << "Show activated the app";
    EXPECT_EQ(sway_->windowsOf(mousepad->pid()), 1);

    const DriveReport waiting = flow.quitAndEject(drive(), inUse->holders, {});
    EXPECT_TRUE(dialogShown) << "mousepad showed no save dialog";
    EXPECT_TRUE(featherpadAliveWhileWaiting) << "FeatherPad was ended rather than waited for";
    const auto* apps = waiting.verdict.as<DriveVerdict::WaitingOnApps>();
    ASSERT_NE(apps, nullptr) << waiting.verdict.caseName();
    EXPECT_FALSE(mousepad->hasExited());
    EXPECT_FALSE(featherpad->hasExited());
    EXPECT_EQ(ejector_->requests, 0);
    // Nor is an app shown again by itself while Kestrix waits for it.
    connection.send(QDBusMessage::createSignal(QStringLiteral("/marker"), QStringLiteral("org.freedesktop.Application"),
                                               QStringLiteral("AfterWaiting")));
    ASSERT_TRUE(waitUntil(10.0, [&] { return fileText(record).find("member=AfterWaiting") != std::string::npos; }));
    EXPECT_EQ(fileText(record).find("member=Activate"), std::string::npos) << "the wait activated an app";
    EXPECT_EQ(sway_->windowsOf(mousepad->pid()), 2) << "only Mousepad's window and its save dialog";

    // The user discards Mousepad's edit; FeatherPad, which can't be asked, is waited for and the
    // drive ejects once the user has closed it.
    mousepad.reset();
    const EjectFlow closing = this->flow([&](double) { featherpad.reset(); });
    const DriveReport ejected = closing.quitAndEject(drive(), {*qtEditor}, {});
    EXPECT_TRUE(ejected.verdict.is<DriveVerdict::Ejected>()) << ejected.verdict.caseName();
    EXPECT_EQ(ejector_->requests, 1);
}

}  // namespace
