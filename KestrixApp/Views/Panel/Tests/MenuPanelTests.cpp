#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

#include "KestrixApp/Views/Panel/EmptyDrives.h"
#include "KestrixApp/Views/Panel/MenuPanel.h"
#include "KestrixApp/Views/TestSupport/ViewHarness.h"

using namespace kestrix;
using namespace kestrix::views;
using kestrix::testing::ModelHarness;
using kestrix::testing::stick;
using kestrix::testing::stickId;
using kestrix::testing::threeSticksOneHeld;
using kestrix::testing::userProcess;
using kestrix::views::testing::ViewHarness;

namespace {

nlohmann::json sticks(int count) {
    nlohmann::json volumes = nlohmann::json::array();
    for (int index = 0; index < count; ++index) volumes.push_back(stick("Stick", index));
    return {{"volumes", volumes}};
}

QString statusOf(const MenuPanel& panel) { return panel.findChild<QLabel*>("statusLine")->text(); }

QString ejectAllTitle(const MenuPanel& panel) {
    return panel.findChild<QPushButton*>("ejectAllButton")->accessibleName();
}

bool showsLastEject(const MenuPanel& panel) { return panel.findChild<QWidget*>("lastEjectLine")->isVisibleTo(&panel); }

}  // namespace

TEST(MenuPanel, WithoutDrivesSaysSoAndHintsAtTheHiddenKindsUntilBothAreShown) {
    ViewHarness views;
    views.startViews(nlohmann::json::object());
    MenuPanel panel(*views.context);
    EXPECT_EQ(statusOf(panel), "No drives connected");
    auto* empty = panel.findChild<EmptyDrives*>();
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->isVisibleTo(&panel));
    EXPECT_FALSE(panel.findChild<QScrollArea*>("driveList")->isVisibleTo(&panel));
    auto* hint = empty->findChild<QLabel*>("hiddenKindsHint");
    EXPECT_TRUE(hint->isVisibleTo(&panel));
    EXPECT_EQ(hint->text(), "Disk images and network shares are hidden; turn them on in Settings.");
    views.model->setShowDiskImages(true);
    EXPECT_TRUE(hint->isVisibleTo(&panel)) << "network shares are still hidden";
    EXPECT_EQ(hint->text(), "Network shares are hidden; turn them on in Settings.") << "only what is hidden is named";
    views.model->setShowNetworkShares(true);
    EXPECT_FALSE(hint->isVisibleTo(&panel));
    views.model->setShowDiskImages(false);
    EXPECT_EQ(hint->text(), "Disk images are hidden; turn them on in Settings.");
}

TEST(MenuPanel, StatusLineCountsTheDrivesAndThoseThatNeedTheUser) {
    ViewHarness views;
    views.startViews(sticks(3));
    MenuPanel panel(*views.context);
    EXPECT_EQ(statusOf(panel), "Connected: 3 · all ready");

    ViewHarness held;
    held.startViews(threeSticksOneHeld());
    MenuPanel heldPanel(*held.context);
    EXPECT_EQ(statusOf(heldPanel), "Connected: 3 · need you: 1");
    held.model->eject(held.drive(stickId(0)), false, false);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return held.settled(2); }));
    EXPECT_EQ(statusOf(heldPanel), "Connected: 2 · need you: 1");
}

TEST(MenuPanel, TheNewestEjectStaysUnderTheListForTenMinutes) {
    ViewHarness views;
    views.startViews(sticks(2));
    MenuPanel panel(*views.context);
    panel.show();
    EXPECT_FALSE(showsLastEject(panel)) << "nothing was ejected yet";

    views.model->eject(views.drive(stickId(0)), false, false);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return views.settled(1) && !views.model->recent().empty(); }));
    ASSERT_TRUE(showsLastEject(panel));
    EXPECT_TRUE(panel.findChild<QWidget*>("lastEjectLine")->accessibleName().startsWith("Stick ejected"));

    const auto ejected = views.model->recent().front().date;
    views.clock = ejected + std::chrono::seconds(599);
    panel.hide();
    panel.show();
    EXPECT_TRUE(showsLastEject(panel)) << "599 seconds later";
    views.clock = ejected + std::chrono::seconds(600);
    panel.hide();
    panel.show();
    EXPECT_FALSE(showsLastEject(panel)) << "600 seconds later, at the next update";
}

TEST(MenuPanel, EjectAllReadsEjectingWhileItRunsAndShowsTheHotkeyOnlyWhileItIsOnAndRegistered) {
    ViewHarness views;
    views.startViews(threeSticksOneHeld());
    MenuPanel panel(*views.context);
    panel.show();
    auto* button = panel.findChild<QPushButton*>("ejectAllButton");
    const auto glyphsShown = [&] {
        for (QLabel* part : button->findChildren<QLabel*>()) {
            if (part->text() == "⌃⌥⌘E") return part->isVisibleTo(&panel);
        }
        return false;
    };
    EXPECT_EQ(ejectAllTitle(panel), "Eject All");
    EXPECT_FALSE(glyphsShown()) << "no key is offered before the desktop gave it";
    views.model->setHotkeyRegistered(true);
    EXPECT_TRUE(glyphsShown());
    views.model->setHotkeyEnabled(false);
    EXPECT_FALSE(glyphsShown());

    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    ASSERT_TRUE(views.model->ejectingAll()) << "Return pressed the button";
    EXPECT_EQ(ejectAllTitle(panel), "Ejecting…");
    ASSERT_TRUE(ModelHarness::waitFor([&] { return !views.model->ejectingAll(); }));
    EXPECT_EQ(ejectAllTitle(panel), "Eject All");
    ASSERT_TRUE(ModelHarness::waitFor([&] { return views.settled(1); }));
    EXPECT_EQ(views.model->allResults().size(), 3u);
    EXPECT_EQ(statusOf(panel), "Connected: 1 · need you: 1");
}

TEST(MenuPanel, FooterAndMoreMenuCallTheShellAndOfferUpdatesOnlyWhereThereAreAny) {
    const auto menuTitles = [](const MenuPanel& panel) {
        QStringList titles;
        for (QAction* action : panel.findChild<QPushButton*>("moreButton")->menu()->actions()) {
            if (!action->isSeparator()) titles << action->text();
        }
        return titles;
    };
    ViewHarness views;
    views.startViews(sticks(1));
    MenuPanel panel(*views.context);
    EXPECT_EQ(menuTitles(panel), (QStringList{"About Kestrix", "Quit Kestrix"}));
    panel.findChild<QPushButton*>("moreButton")->menu()->actions().back()->trigger();
    EXPECT_EQ(views.quits, 1);

    for (QPushButton* button : panel.findChildren<QPushButton*>()) {
        if (button->text() == "Open Kestrix" || button->text() == "Settings…" || button->text() == "Help") {
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Return);
        }
    }
    EXPECT_EQ(views.openedWindows, (std::vector<QString>{"main", "settings", "help"}));

    ViewHarness updating;
    updating.startViews(sticks(1), true);
    MenuPanel updatingPanel(*updating.context);
    EXPECT_EQ(menuTitles(updatingPanel), (QStringList{"Check for Updates…", "About Kestrix", "Quit Kestrix"}));
    updatingPanel.findChild<QPushButton*>("moreButton")->menu()->actions().front()->trigger();
    EXPECT_EQ(updating.updateChecks, 1);
}

TEST(MenuPanel, CheckAgainChecksEveryDriveAndTheListScrollsPastItsLimit) {
    ViewHarness views;
    views.startViews(sticks(12));
    MenuPanel panel(*views.context);
    panel.show();
    EXPECT_EQ(panel.width(), MenuPanel::panelWidth);
    EXPECT_EQ(panel.findChild<QScrollArea*>("driveList")->height(), MenuPanel::listHeightLimit);

    auto* checkAgain = panel.findChild<QPushButton*>("checkAgainButton");
    checkAgain->setFocus();
    QTest::keyClick(checkAgain, Qt::Key_Return);
    for (const Drive& drive : views.model->drives()) EXPECT_EQ(views.model->state(drive.id).busy, Busy::checking);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return views.settled(12); }));
}

TEST(MenuPanel, TabReachesEveryCommand) {
    ViewHarness views;
    views.startViews(sticks(1));
    MenuPanel panel(*views.context);
    panel.show();
    QSet<QString> reached;
    for (int presses = 0; presses < 40; ++presses) {
        QTest::keyClick(&panel, Qt::Key_Tab);
        if (QWidget* focused = panel.focusWidget()) {
            auto* button = qobject_cast<QPushButton*>(focused);
            if (button != nullptr) reached << (button->objectName().isEmpty() ? button->text() : button->objectName());
        }
    }
    for (const char* command : {"checkAgainButton", "ejectAllButton", "Open Kestrix", "Settings…", "Help", "moreButton"})
        EXPECT_TRUE(reached.contains(command)) << command;
}
