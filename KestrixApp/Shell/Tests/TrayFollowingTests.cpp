#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

#include "KestrixApp/Desktop/Tray/TrayPresence.h"
#include "KestrixApp/Shell/Tests/ShellHarness.h"

namespace {

using kestrix::shell::AppShell;
using kestrix::shell::ShellOptions;
using kestrix::shell::test::ShellOnWorld;

// A tray the test puts up and takes down.
class TestTray : public kestrix::desktop::TrayPresence {
public:
    bool isPresent() const override { return present_; }
    void set(bool present) {
        present_ = present;
        emit presenceChanged(present);
    }

private:
    bool present_ = false;
};

// Holds every wait until the test lets it end.
class HeldTimer : public kestrix::WaitTimer {
public:
    std::vector<std::pair<double, std::function<void()>>> waits;
    void after(double seconds, QObject* receiver, std::function<void()> then) override {
        waits.emplace_back(seconds, [receiver = QPointer<QObject>(receiver), then = std::move(then)] {
            if (receiver) then();
        });
    }
};

bool panelWindowShown() {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](QWidget* window) {
        return window->objectName() == "panel" && window->isVisible() && window->windowType() == Qt::Window;
    });
}

TEST(TrayFollowing, TheIconTakesOverFromTheWindowWhenATrayComesAndHandsBackWhenItGoes) {
    ShellOnWorld app("two-drives-world.json");
    auto* tray = new TestTray;
    app.shell().useTrays(tray);
    app.shell().launch();
    EXPECT_FALSE(app.shell().hasTrayIcon());
    EXPECT_TRUE(panelWindowShown()) << "without a tray the panel is the way in";

    tray->set(true);
    EXPECT_TRUE(app.shell().hasTrayIcon()) << "a tray that starts after the app gets the icon";
    EXPECT_FALSE(panelWindowShown());

    tray->set(false);
    EXPECT_FALSE(app.shell().hasTrayIcon());
    EXPECT_TRUE(panelWindowShown()) << "the tray went: the window is the way in again";

    tray->set(true);
    EXPECT_TRUE(app.shell().hasTrayIcon()) << "and a tray that comes back gets a new icon";
}

TEST(TrayFollowing, StartedAtLoginItWaitsForATrayBeforeOpeningItsWindow) {
    auto timer = std::make_shared<HeldTimer>();
    ShellOnWorld app("two-drives-world.json", ShellOptions{.background = true}, timer);
    auto* tray = new TestTray;
    app.shell().useTrays(tray);
    app.shell().launch();
    EXPECT_FALSE(panelWindowShown()) << "--background starts with no window";
    ASSERT_EQ(timer->waits.size(), 1u);
    EXPECT_EQ(timer->waits.front().first, AppShell::trayWaitSeconds);
    timer->waits.front().second();
    EXPECT_TRUE(panelWindowShown()) << "no tray came: the window is the way in";
}

TEST(TrayFollowing, StartedAtLoginATrayInTimeGetsTheIconAndNoWindowOpens) {
    auto timer = std::make_shared<HeldTimer>();
    ShellOnWorld app("two-drives-world.json", ShellOptions{.background = true}, timer);
    auto* tray = new TestTray;
    app.shell().useTrays(tray);
    app.shell().launch();
    tray->set(true);
    ASSERT_EQ(timer->waits.size(), 1u);
    timer->waits.front().second();
    EXPECT_TRUE(app.shell().hasTrayIcon());
    EXPECT_FALSE(panelWindowShown());
}

}  // namespace
