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

TEST(CardActions, WhatTheKernelHoldsTheDriveWithIsLetGoFromItsButtonsAndTheDriveCheckedAgain) {
    nlohmann::json held = kestrix::testing::stick("Stick", 0);
    held["kernelHolders"] = {
        {{"kind", "diskImage"}, {"name", "/media/Stick0/disk.img"}, {"device", "/dev/loop7"}},
        {{"kind", "diskImage"}, {"name", "/media/Stick0/photos.img"}, {"device", "/dev/loop8"}, {"mountPath", "/media/Photos"}},
        {{"kind", "swap"}, {"name", "/dev/sdb2"}, {"device", "/dev/sdb2"}},
        // Stopped only by an administrator: the card says how, and offers no button.
        {{"kind", "swap"}, {"name", "/media/Stick0/swapfile"}}};
    const nlohmann::json image = {{"path", "/media/Photos"}, {"name", "Photos"}, {"mountSource", "/dev/loop8"},
                                  {"fileSystem", "ext4"}, {"device", 1800}, {"deviceProtocol", "Disk Image"},
                                  {"wholeDisk", "loop8"}, {"imageFile", "/media/Stick0/photos.img"}};
    // Disk images listed, as the setting does, so that the harness waits for both drives.
    CardHarness harness(nlohmann::json{{"volumes", {held, image}}}, [](AppBackend& backend) {
        backend.system.listDrives = [list = backend.system.listDrives](VolumeFilter filter) {
            filter.diskImages = true;
            return list(filter);
        };
    });
    const auto card = harness.card("sdb", false);
    const auto remedies = [&] {
        QStringList titles;
        for (const QPushButton* remedy : card->findChildren<QPushButton*>("kernelRemedy")) {
            if (remedy->isVisibleTo(card.get())) titles << remedy->text();
        }
        return titles;
    };
    EXPECT_EQ(remedies(), (QStringList{"Detach disk.img", "Eject photos.img First", "Stop Swap on sdb2"}));

    button(card.get(), "Detach disk.img")->click();
    EXPECT_EQ(harness.model().state("sdb").busy, Busy::releasing);
    ASSERT_TRUE(harness.settle("sdb"));
    EXPECT_EQ(remedies(), (QStringList{"Eject photos.img First", "Stop Swap on sdb2"})) << "checked again";

    // The image drive is ejected as any drive is, and recorded; then the stick is checked again.
    button(card.get(), "Eject photos.img First")->click();
    ASSERT_TRUE(kestrix::testing::ModelHarness::waitFor([&] { return !harness.model().recent().empty(); }));
    EXPECT_EQ(harness.model().recent().front().drive.id, "loop8");
    ASSERT_TRUE(harness.settle("sdb"));
    EXPECT_EQ(remedies(), QStringList{"Stop Swap on sdb2"});

    button(card.get(), "Stop Swap on sdb2")->click();
    ASSERT_TRUE(harness.settle("sdb"));
    EXPECT_TRUE(remedies().isEmpty());
    const QStringList texts = labelTexts(card.get());
    EXPECT_TRUE(texts.contains("Stop swap on it first (swapoff /media/Stick0/swapfile, as an administrator)."))
        << texts.join(" | ").toStdString();
    EXPECT_FALSE(harness.model().state("sdb").note);

    // Refused: the system's words stay under the drive.
    harness.model().releaseKernelHolder(harness.drive("sdb"), KernelHolder{.kind = KernelHoldKind::diskImage,
                                                                          .name = "/media/Stick0/gone.img",
                                                                          .device = "/dev/loop9"});
    ASSERT_TRUE(harness.settle("sdb"));
    EXPECT_EQ(harness.model().state("sdb").note, "Couldn’t detach gone.img (No such device).");
}
