#include <gtest/gtest.h>

#include <QTest>

#include "CardHarness.h"
#include "KestrixApp/Views/Cards/HolderRow.h"
#include "KestrixKit/Flow/HolderQuitting.h"

using namespace kestrix;
using namespace kestrix::views;
using namespace kestrix::views::test;

namespace {

nlohmann::json stickHeldBy(int processes) {
    const nlohmann::json stick = kestrix::testing::stick("Stick", 0);
    nlohmann::json holders = nlohmann::json::array();
    for (int index = 0; index < processes; ++index) {
        holders.push_back(kestrix::testing::userProcess(400 + index, "tool" + std::to_string(index), stick));
    }
    return {{"currentUID", 501}, {"volumes", {stick}}, {"processes", holders}};
}

// Passes every call on and remembers which apps were brought forward.
class RecordingQuitter : public HolderQuitting {
public:
    explicit RecordingQuitter(std::shared_ptr<HolderQuitting> inner) : inner_(std::move(inner)) {}
    bool quitApp(const Holder& holder) override { return inner_->quitApp(holder); }
    void showApp(const Holder& holder) override { shown.push_back(holder.pid); }
    bool endProcess(const ProcessIdentity& process, EndSignal signal) override {
        return inner_->endProcess(process, signal);
    }
    bool isAlive(const ProcessIdentity& process) override { return inner_->isAlive(process); }
    std::vector<std::int32_t> shown;

private:
    std::shared_ptr<HolderQuitting> inner_;
};

}  // namespace

TEST(HolderList, ACompactCardShowsFourRowsAndLinksToTheRest) {
    CardHarness four(stickHeldBy(4));
    const auto fourCard = four.card("sdb", true);
    EXPECT_EQ(fourCard->findChildren<HolderRow*>().size(), 4);
    EXPECT_EQ(fourCard->findChild<QAbstractButton*>("moreHolders"), nullptr);

    CardHarness five(stickHeldBy(5));
    const auto compact = five.card("sdb", true);
    EXPECT_EQ(compact->findChildren<HolderRow*>().size(), 4);
    auto* more = compact->findChild<QAbstractButton*>("moreHolders");
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->text(), "1 more…");
    QTest::mouseClick(more, Qt::LeftButton);
    EXPECT_EQ(five.model().mainPage(), "drives");
    EXPECT_EQ(five.openedWindows, std::vector<QString>{"main"});

    const auto full = five.card("sdb", false);
    EXPECT_EQ(full->findChildren<HolderRow*>().size(), 5);
    EXPECT_EQ(full->findChild<QAbstractButton*>("moreHolders"), nullptr);
}

TEST(HolderList, AFullCardShowsTwelveRowsAndNoLink) {
    CardHarness harness(stickHeldBy(13));
    const auto full = harness.card("sdb", false);
    EXPECT_EQ(full->findChildren<HolderRow*>().size(), 12);
    EXPECT_EQ(full->findChild<QAbstractButton*>("moreHolders"), nullptr);
}

TEST(HolderRows, OnlyFullCardsShowAnAppsFileAndShowBringsTheAppForward) {
    std::shared_ptr<RecordingQuitter> quitter;
    CardHarness harness(kestrix::testing::worldFile("quit-world.json"), [&](AppBackend& backend) {
        quitter = std::make_shared<RecordingQuitter>(backend.system.flow.quitter);
        backend.system.flow.quitter = quitter;
    });
    const auto full = harness.card("sdb", false);
    const auto rows = full->findChildren<HolderRow*>();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0]->accessibleName(), "Pages");
    EXPECT_EQ(rows[0]->accessibleDescription(),
              "Pages has a file open on this drive. Save your work and quit it, or close the file.");
    EXPECT_EQ(buttonTexts(rows[0]), (QStringList{"Show", "Show the file Pages is using in Finder"}));
    EXPECT_EQ(button(rows[0], "Show the file Pages is using in Finder")->toolTip(), "Show the file in Finder");
    EXPECT_EQ(rows[1]->accessibleName(), "rsync");
    EXPECT_TRUE(buttonTexts(rows[1]).isEmpty()) << "a command-line program is ended, not browsed";

    const auto compact = harness.card("sdb", true);
    EXPECT_EQ(buttonTexts(compact->findChildren<HolderRow*>()[0]), QStringList{"Show"});

    QAbstractButton* show = button(rows[0], "Show Pages");
    ASSERT_NE(show, nullptr);
    show->setFocus();
    QTest::keyClick(show, Qt::Key_Return);
    ASSERT_TRUE(kestrix::testing::ModelHarness::waitFor([&] { return !quitter->shown.empty(); }));
    EXPECT_EQ(quitter->shown, std::vector<std::int32_t>{510});
}

TEST(HolderRows, NamesFromOutsideCannotDisguiseThemselves) {
    nlohmann::json world = stickHeldBy(1);
    world["processes"][0]["name"] = "evil\ngpg\u202Etxt.exe";
    CardHarness harness(world);
    const auto card = harness.card("sdb", false);
    const auto rows = card->findChildren<HolderRow*>();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0]->accessibleName(), "evil\\u{A}gpg\\u{202E}txt.exe");
    EXPECT_TRUE(labelTexts(card.get()).contains("evil\\u{A}gpg\\u{202E}txt.exe"));
}
