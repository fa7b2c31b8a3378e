#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

#include "KestrixApp/Desktop/Accessibility/Announcer.h"
#include "KestrixApp/Desktop/Hotkey/X11KeyGrab.h"
#include "KestrixApp/Desktop/Updates/UpdateBuildSettings.h"
#include "KestrixApp/Shell/LinkHandler.h"
#include "KestrixApp/Shell/MenuBarIcon.h"
#include "KestrixApp/Shell/ShellOptions.h"
#include "KestrixApp/Shell/Tests/ShellHarness.h"
#include "KestrixApp/Shell/WindowRegistry.h"
#include "KestrixApp/TestSupport/X11Desktop.h"
#include "KestrixKit/Tests/Support/ShellCommands.h"

namespace {

using namespace kestrix::shell;
using kestrix::shell::test::ShellOnWorld;

TEST(ShellOptions, ReadsActionsLinksAndTheSystem) {
    auto options = std::get<ShellOptions>(parseShellOptions({"--world", "w.json", "kestrix://eject-all", "--", "-x"}));
    EXPECT_EQ(options.worldPath, "w.json");
    EXPECT_EQ(options.links, (std::vector<std::string>{"kestrix://eject-all", "-x"}));
    options = std::get<ShellOptions>(parseShellOptions({"--action", "eject", "Travel SSD"}));
    ASSERT_TRUE(options.action);
    EXPECT_EQ(options.action->kind, ShellAction::Kind::eject);
    EXPECT_EQ(options.action->driveName, "Travel SSD");
    options = std::get<ShellOptions>(parseShellOptions({"--demo", "--screenshot", "pictures"}));
    EXPECT_EQ(options.screenshotFolder, "pictures");
    // The toolkit's own options are left to the toolkit, with their values.
    options = std::get<ShellOptions>(parseShellOptions({"-style", "Fusion", "-reverse", "--demo", "-platform", "xcb",
                                                        "-stylesheet=look.qss", "--style", "Fusion", "kestrix://open"}));
    EXPECT_TRUE(options.demo);
    EXPECT_EQ(options.links, std::vector<std::string>{"kestrix://open"});
    options = std::get<ShellOptions>(parseShellOptions({"--world", "w.json", "--screenshot", "pictures"}));
    EXPECT_EQ(options.worldPath, "w.json") << "pictures of any world";
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"--action"}, {"--action", "eject"}, {"--action", "dance"}, {"--world"}, {"--demo", "--world", "w"},
             {"--frobnicate"}, {"--action", "eject-all", "kestrix://open"}, {"--demo", "--screenshot"},
             {"--screenshot", "pictures"}, {"-style"}, {"-reverse=yes"}, {"-stylish"}})
        EXPECT_TRUE(std::holds_alternative<ShellOptionsError>(parseShellOptions(bad))) << bad.front();
}

TEST(WindowRegistry, KeepsOneWindowPerIdAndAnyOtherIdIsAMainWindow) {
    ShellOnWorld app("two-drives-world.json");
    auto& windows = app.shell().windows();
    QWidget* settings = windows.openWindow("settings");
    EXPECT_EQ(settings->windowTitle(), "Kestrix Settings");
    EXPECT_EQ(settings->size(), QSize(580, 480));
    // Without the customised hints the desktop gives every window a maximise button.
    EXPECT_TRUE(settings->windowFlags().testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(settings->windowFlags().testFlag(Qt::WindowMaximizeButtonHint)) << "settings cannot be maximised";
    EXPECT_TRUE(settings->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    settings->move(40, 30);
    const QPointer<QWidget> closed(settings);
    settings->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull()) << "a closed window is released";
    EXPECT_EQ(windows.window("settings"), nullptr);
    settings = windows.openWindow("settings");
    EXPECT_EQ(settings->pos(), QPoint(40, 30)) << "and made again where the user left it";
    EXPECT_TRUE(settings->isVisible());
    QWidget* history = windows.openWindow("history");
    EXPECT_EQ(history->windowTitle(), "Kestrix");
    EXPECT_EQ(history->minimumSize(), QSize(760, 520));
    EXPECT_EQ(windows.count(), 2u);
    EXPECT_EQ(windowLook("welcome").title, "Welcome to Kestrix");
    EXPECT_EQ(windowLook("help").size, QSize(640, 620));
}

TEST(LinkHandler, ACheckLinkShowsTheDrivesPageEvenForAnUnknownName) {
    ShellOnWorld app("two-drives-world.json");
    app.model().start();
    ASSERT_TRUE(ShellOnWorld::waitFor([&] { return app.model().drives().size() == 2; }));
    app.model().setMainPage("history");
    app.shell().links().handle({"kestrix://check?drive=Nowhere"});
    EXPECT_TRUE(ShellOnWorld::waitFor([&] { return app.model().mainPage() == "drives"; }));
    ASSERT_NE(app.shell().windows().window("main"), nullptr);
    EXPECT_TRUE(app.shell().windows().window("main")->isVisible());
}

TEST(LinkHandler, AnEjectLinkForNoDriveSaysSoAndOneForADriveEjectsIt) {
    ShellOnWorld app("two-drives-world.json");
    app.model().start();
    ASSERT_TRUE(ShellOnWorld::waitFor([&] { return app.model().drives().size() == 2; }));
    app.shell().links().handle({"kestrix://eject?drive=camera", "other://eject-all", "kestrix://status"});
    ASSERT_TRUE(ShellOnWorld::waitFor([&] { return app.model().recent().size() == 1; }));
    EXPECT_EQ(app.model().recent().front().drive.name(), "Camera");
}

TEST(LinkHandler, ABurstOfCheckLinksChecksTheDrivesAndShowsTheWindowOnce) {
    ShellOnWorld app("two-drives-world.json");
    app.model().start();
    ASSERT_TRUE(ShellOnWorld::waitFor([&] { return app.model().drives().size() == 2; }));
    int opened = 0;
    LinkHandler links(app.model(), [&](const QString&) { ++opened; }, {});
    // As 5,000 links arrive over the bus, one message after another.
    for (int index = 0; index < 5000; ++index)
        links.handle({index % 2 == 0 ? "kestrix://check?drive=Camera" : "kestrix://check?drive=travel%20ssd"});
    ASSERT_TRUE(ShellOnWorld::waitFor([&] {
        return opened > 0 && !app.model().state(app.model().drives().front().id).busy &&
               !app.model().state(app.model().drives().back().id).busy;
    }));
    EXPECT_EQ(opened, 1);
    for (const auto& drive : app.model().drives()) EXPECT_TRUE(app.model().state(drive.id).scan) << drive.name();
}

TEST(AppShell, WithoutATrayThePanelIsAWindowAtLaunch) {
    ShellOnWorld app("two-drives-world.json");
    app.shell().launch();
    ASSERT_FALSE(app.shell().hasTrayIcon()) << "the offscreen platform has no tray";
    const auto windows = QApplication::topLevelWidgets();
    const bool panelShown = std::any_of(windows.begin(), windows.end(), [](QWidget* window) {
        return window->objectName() == "panel" && window->isVisible();
    });
    EXPECT_TRUE(panelShown);
    EXPECT_NE(app.shell().windows().window("welcome"), nullptr) << "first launch welcomes the user";
}

TEST(AppShell, ThePanelsMoreMenuOffersTheUpdateCheckWhereUpdatesAreOn) {
    ShellOnWorld app("two-drives-world.json");
    app.shell().launch();
    QWidget* panel = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "panel") panel = window;
    ASSERT_NE(panel, nullptr);
    QStringList titles;
    for (const QAction* action : panel->findChild<QPushButton*>("moreButton")->menu()->actions())
        if (!action->isSeparator()) titles << action->text();
    EXPECT_EQ(titles.contains("Check for Updates…"), kestrix::desktop::updatesEnabled) << titles.join(", ").toStdString();
}

TEST(AppShell, AnEjectFromTheMainWindowIsAnnouncedThoughThePanelWasNeverOpened) {
    ShellOnWorld app("two-drives-world.json");
    app.model().start();
    ASSERT_TRUE(ShellOnWorld::waitFor([&] { return app.model().drives().size() == 2; }));
    QWidget* main = app.shell().windows().openWindow("main");
    app.model().eject(app.model().drives().back(), false, false);
    ASSERT_TRUE(ShellOnWorld::waitFor([&] { return app.model().recent().size() == 1; }));
    const auto* announcer = main->findChild<kestrix::desktop::Announcer*>();
    ASSERT_NE(announcer, nullptr) << "nothing was said";
    EXPECT_EQ(announcer->accessibleName(), "Camera ejected. It’s safe to unplug.");
    EXPECT_TRUE(announcer->isVisible());
}

TEST(MenuBarIcon, LabelCountsTheDrivesThatNeedTheUser) {
    EXPECT_EQ(MenuBarIcon::label(0), "Kestrix");
    EXPECT_EQ(MenuBarIcon::label(2), "Kestrix, drives that need you: 2");
}

class HotkeyOnXvfb : public testing::Test {
protected:
    void SetUp() override {
        if (!server_.problem().empty()) GTEST_SKIP() << server_.problem();
        qputenv("DISPLAY", QByteArray::fromStdString(server_.display()));
    }
    void TearDown() override { qunsetenv("DISPLAY"); }

    kestrix::desktop::test::X11Desktop server_;
};

TEST_F(HotkeyOnXvfb, TheKeyEjectsAllAndTurningItOffAndOnLeavesOneGrab) {
    ShellOnWorld app("two-drives-world.json");
    app.shell().launch();
    ASSERT_TRUE(ShellOnWorld::waitFor([&] { return app.model().drives().size() == 2; }));
    ASSERT_TRUE(app.shell().hotkeyGrabbed());

    app.model().setHotkeyEnabled(false);
    app.model().setHotkeyEnabled(true);
    kestrix::desktop::X11KeyGrab otherClient(QString::fromStdString(server_.display()));
    EXPECT_FALSE(otherClient.grab()) << "the app holds the key";
    app.model().setHotkeyEnabled(false);
    EXPECT_TRUE(otherClient.grab()) << "and lets it go when the setting is off";
    otherClient.release();
    app.model().setHotkeyEnabled(true);

    ASSERT_TRUE(kestrix::test::runQuietly("DISPLAY=" + server_.display() + " xdotool key ctrl+alt+super+e"));
    EXPECT_TRUE(ShellOnWorld::waitFor([&] { return app.model().allResults().size() == 2; }));
}

}  // namespace
