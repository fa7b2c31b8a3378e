#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProgressBar>
#include <QTest>

#include "CardHarness.h"
#include "KestrixApp/Views/Cards/Chip.h"
#include "KestrixApp/Views/Cards/ElidedLabel.h"
#include "KestrixApp/Views/Cards/HolderRow.h"

using namespace kestrix;
using namespace kestrix::views;
using namespace kestrix::views::test;

namespace {

nlohmann::json verdictsWorld() { return kestrix::testing::worldFile("eject-verdicts-world.json"); }

// Ejects the drive through the model and waits for the verdict.
void ejectAndSettle(CardHarness& harness, const std::string& id) {
    harness.model().eject(harness.drive(id), false, false);
    ASSERT_TRUE(harness.settle(id));
}

}  // namespace

TEST(DriveCardStates, EachStateShowsItsChipTextsAndButtons) {
    CardHarness harness(verdictsWorld());

    const auto ready = harness.card("sdh", false);
    EXPECT_EQ(chipText(ready.get()), "Ready");
    EXPECT_EQ(ready->accessibleName(), "Free, Ready");
    EXPECT_TRUE(labelTexts(ready.get()).contains("External drive · 16 GB, 8 GB free"));
    EXPECT_EQ(buttonTexts(ready.get()), QStringList{"Eject"});
    EXPECT_NE(button(ready.get(), "Eject Free"), nullptr) << "the eject button is labelled with the drive";

    const auto held = harness.card("sdb", false);
    EXPECT_EQ(chipText(held.get()), "In use");
    EXPECT_EQ(held->findChildren<HolderRow*>().size(), 1);
    EXPECT_TRUE(labelTexts(held.get()).contains("vim, a command-line program, has a file open on this drive."));
    EXPECT_TRUE(labelTexts(held.get()).contains("Writing to notes.txt"));
    EXPECT_EQ(buttonTexts(held.get()), (QStringList{"Quit and Eject", "Try Again", "More for Held"}));
    EXPECT_NE(button(held.get(), "Try ejecting Held again"), nullptr);

    ejectAndSettle(harness, "sdc");
    const auto backup = harness.card("sdc", false);
    EXPECT_EQ(chipText(backup.get()), "Backing up");
    EXPECT_EQ(labelTexts(backup.get()).mid(3),
              (QStringList{"Time Machine is backing up to this drive (42% done).",
                           "Wait for the backup to finish, or stop it."}));
    EXPECT_EQ(buttonTexts(backup.get()), (QStringList{"Wait, Then Eject", "Stop Backup…"}));

    ejectAndSettle(harness, "sdg");
    const auto failed = harness.card("sdg", false);
    EXPECT_EQ(chipText(failed.get()), "Refused");
    EXPECT_EQ(labelTexts(failed.get()).mid(3),
              (QStringList{"macOS refused to eject it (not allowed).", "Operation not permitted"}));
    EXPECT_EQ(buttonTexts(failed.get()), (QStringList{"Try Again", "More for Broken"}));

    harness.model().eject(harness.drive("sdh"), false, false);
    EXPECT_EQ(chipText(ready.get()), "Ejecting…") << "the card follows the model";
    EXPECT_EQ(ready->findChildren<QProgressBar*>().size(), 1);
    EXPECT_TRUE(buttonTexts(ready.get()).isEmpty());
}

TEST(DriveCardStates, AServiceTheSystemNamedIsShownButNotOfferedToQuit) {
    CardHarness harness(verdictsWorld());
    ejectAndSettle(harness, "sde");
    const auto card = harness.card("sde", false);
    EXPECT_EQ(chipText(card.get()), "macOS is using it");
    ASSERT_EQ(card->findChildren<HolderRow*>().size(), 1);
    const QStringList texts = labelTexts(card.get());
    EXPECT_TRUE(texts.contains("named by macOS"));
    EXPECT_TRUE(texts.contains("udisksd"));
    EXPECT_EQ(buttonTexts(card.get()), (QStringList{"Try Again", "More for Service"}))
        << "a root service can be neither quit nor ended";
}

TEST(DriveCardStates, AServiceNobodyNamedIsExplained) {
    nlohmann::json world{{"volumes", {kestrix::testing::stick("Quiet", 0)}}};
    const nlohmann::json busy{{"outcome", "busy"}, {"volume", "Quiet"}, {"status", "0xF8DA0002"}};
    world["ejector"] = {{"sdb", {busy, busy}}};
    CardHarness harness(world);
    ejectAndSettle(harness, "sdb");
    const auto card = harness.card("sdb", false);
    EXPECT_EQ(chipText(card.get()), "macOS is using it");
    EXPECT_TRUE(card->findChildren<HolderRow*>().isEmpty());
    EXPECT_EQ(labelTexts(card.get()).mid(3),
              (QStringList{"A macOS service is still using this drive. Kestrix can’t look inside macOS’s own "
                           "background services (Spotlight, Time Machine and others run as the system), and macOS "
                           "didn’t say which one it is.",
                           "They usually let go within a few seconds. Try again in a moment."}));
}

TEST(DriveCardStates, AppsThatStayOpenAreNamedAndTheStopBackupNoteShows) {
    CardHarness harness(kestrix::testing::worldFile("quit-world.json"));
    const Drive slides = harness.drive("sdc");
    const auto card = harness.card("sdc", true);
    const auto holders = harness.model().state("sdc").scan->holders;
    harness.model().quitAndEject(slides, holders, {});
    ASSERT_TRUE(harness.settle("sdc"));
    EXPECT_EQ(chipText(card.get()), "Waiting on an app");
    const QStringList texts = labelTexts(card.get());
    ASSERT_EQ(texts.size(), 4);
    EXPECT_TRUE(texts[3].endsWith(" didn’t quit yet. It’s probably asking whether to save: Kestrix brought it to the "
                                  "front. Answer it, then eject again."))
        << texts[3].toStdString();
    EXPECT_TRUE(buttonTexts(card.get()).contains("Quit and Eject"));

    CardHarness backup(verdictsWorld());
    ejectAndSettle(backup, "sdc");
    backup.model().stopBackup(backup.drive("sdc"));
    ASSERT_TRUE(backup.settle("sdc"));
    const auto noted = backup.card("sdc", false);
    const auto note = backup.model().state("sdc").note;
    ASSERT_TRUE(note);
    EXPECT_TRUE(labelTexts(noted.get()).contains(QString::fromStdString(*note)));
}

TEST(DriveCardStates, ALongChipStaysWholeInANarrowCardAndTheSubtitleGivesWay) {
    CardHarness harness(kestrix::testing::worldFile("quit-world.json"));
    const auto card = harness.card("sdc", true);
    harness.model().quitAndEject(harness.drive("sdc"), harness.model().state("sdc").scan->holders, {});
    ASSERT_TRUE(harness.settle("sdc"));
    card->resize(280, 400);
    card->show();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    // The card rebuilds its parts on a change of state: the ones shown are the new ones.
    const Chip* chip = nullptr;
    for (const Chip* shown : card->findChildren<Chip*>()) {
        if (shown->isVisible()) chip = shown;
    }
    ASSERT_NE(chip, nullptr);
    ASSERT_EQ(chip->text(), "Waiting on an app");
    EXPECT_EQ(card->width(), 280) << "a card fits a crowded panel's list";
    EXPECT_GE(chip->width(), chip->sizeHint().width()) << "the chip's text is cut";
    EXPECT_LE(chip->mapTo(card.get(), QPoint(chip->width(), 0)).x(), card->width());
    const ElidedLabel* subtitle = nullptr;
    for (const ElidedLabel* shown : card->findChildren<ElidedLabel*>("driveSubtitle")) {
        if (shown->isVisible()) subtitle = shown;
    }
    ASSERT_NE(subtitle, nullptr);
    EXPECT_TRUE(subtitle->text().endsWith(QChar(0x2026))) << subtitle->text().toStdString();
    EXPECT_EQ(subtitle->toolTip(), subtitle->wholeText());
}

TEST(DriveCardStates, ABackupKestrixCantStopSaysHowToStopItInItsTool) {
    nlohmann::json world = verdictsWorld();
    world["timeMachine"]["tool"] = "dejaDup";
    CardHarness harness(world);
    ejectAndSettle(harness, "sdc");
    const auto backup = harness.card("sdc", false);
    EXPECT_EQ(labelTexts(backup.get()).mid(3),
              (QStringList{"D\u00e9j\u00e0 Dup is backing up to this drive (42% done).",
                           "To stop it, click Cancel or Resume Later in D\u00e9j\u00e0 Dup\u2019s window, or wait for it "
                           "to finish."}));
    EXPECT_EQ(buttonTexts(backup.get()), QStringList{"Wait, Then Eject"}) << "no Stop Backup for Déjà Dup";
}
