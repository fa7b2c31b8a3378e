#include <gtest/gtest.h>

#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "CardHarness.h"

using namespace kestrix;
using namespace kestrix::views;
using namespace kestrix::views::test;

TEST(CardActions, EjectFromTheKeyboardEjectsTheWorldsDrive) {
    CardHarness harness(kestrix::testing::worldFile("eject-verdicts-world.json"));
    const auto card = harness.card("sdh", false);
    QAbstractButton* eject = button(card.get(), "Eject");
    ASSERT_NE(eject, nullptr);
    eject->setFocus();
    QTest::keyClick(eject, Qt::Key_Return);
    ASSERT_TRUE(kestrix::testing::ModelHarness::waitFor([&] { return !harness.model().recent().empty(); }));
    EXPECT_EQ(harness.model().recent().front().drive.id, "sdh");
    EXPECT_FALSE(harness.model().recent().front().forced);
    ASSERT_TRUE(kestrix::testing::ModelHarness::waitFor([&] { return harness.model().drives().size() == 6; }))
        << "the ejected drive leaves the world";
}

TEST(CardActions, QuitAndEjectEndsOnlyTheTickedProgramsAndCancelDoesNothing) {
    CardHarness harness(kestrix::testing::worldFile("quit-world.json"));
    const auto card = harness.card("sdb", false);
    QAbstractButton* quit = button(card.get(), "Quit and Eject");
    ASSERT_NE(quit, nullptr);

    quit->click();
    EXPECT_EQ(harness.dialogs.asked, std::vector<std::string>{"quit Docs"});
    EXPECT_EQ(harness.dialogs.askedHolders.size(), 2u);
    EXPECT_FALSE(harness.model().state("sdb").busy) << "cancelled";

    harness.dialogs.quitAnswer = std::set<std::int32_t>{520};
    button(card.get(), "Quit and Eject")->click();
    EXPECT_EQ(harness.model().state("sdb").busy, Busy::quitting);
    ASSERT_TRUE(kestrix::testing::ModelHarness::waitFor([&] { return !harness.model().recent().empty(); }));
    EXPECT_EQ(harness.model().recent().front().drive.id, "sdb") << "Pages quit and rsync was ended";
}

TEST(CardActions, ForceEjectAsksWithTheDisplaysHoldersAndForcesOnlyWhenConfirmed) {
    CardHarness harness(kestrix::testing::worldFile("eject-verdicts-world.json"));
    const auto card = harness.card("sdb", false);
    auto* more = card->findChild<QPushButton*>("moreMenu");
    ASSERT_NE(more, nullptr);
    ASSERT_NE(more->menu(), nullptr);
    const auto items = more->menu()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "Force Eject…");
    EXPECT_EQ(items[1]->text(), "Check Again");

    // The menu is reached from the keyboard too.
    QTimer::singleShot(0, more->menu(), [menu = more->menu()] {
        EXPECT_TRUE(menu->isVisible());
        menu->close();
    });
    more->setFocus();
    QTest::keyClick(more, Qt::Key_Return);

    items[0]->trigger();
    EXPECT_EQ(harness.dialogs.asked, std::vector<std::string>{"force Held"});
    ASSERT_EQ(harness.dialogs.askedHolders.size(), 1u);
    EXPECT_EQ(harness.dialogs.askedHolders[0].name, "vim");
    EXPECT_FALSE(harness.model().state("sdb").busy);

    harness.dialogs.forceAnswer = true;
    card->findChild<QPushButton*>("moreMenu")->menu()->actions()[0]->trigger();
    ASSERT_TRUE(kestrix::testing::ModelHarness::waitFor([&] { return !harness.model().recent().empty(); }));
    EXPECT_TRUE(harness.model().recent().front().forced);
}

TEST(CardActions, ABackupIsWaitedForOrStoppedAfterTheQuestion) {
    CardHarness harness(kestrix::testing::worldFile("eject-verdicts-world.json"));
    harness.model().eject(harness.drive("sdc"), false, false);
    ASSERT_TRUE(harness.settle("sdc"));
    const auto card = harness.card("sdc", true);

    button(card.get(), "Stop Backup…")->click();
    EXPECT_EQ(harness.dialogs.asked, std::vector<std::string>{"stop backup Backup"});
    EXPECT_FALSE(harness.model().state("sdc").busy);

    button(card.get(), "Wait, Then Eject")->click();
    EXPECT_EQ(harness.model().state("sdc").busy, Busy::waitingForBackup);
    QAbstractButton* stop = button(card.get(), "Stop Waiting");
    ASSERT_NE(stop, nullptr);
    stop->click();
    EXPECT_FALSE(harness.model().state("sdc").busy);
}
