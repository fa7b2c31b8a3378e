#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <cstdio>
#include <future>

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include "KestrixKit/Flow/ReportText.h"
#include "ModelHarness.h"

using namespace kestrix;
using namespace kestrix::testing;

TEST(ModelListing, ChecksEachNewlyListedDriveOnceAndAWorldEditIsAMountEvent) {
    ModelHarness harness;
    nlohmann::json world = {{"volumes", {stick("Docs", 0), stick("Photos", 1)}},
                            {"processes", {userProcess(410, "vim", stick("Docs", 0))}}};
    harness.start(world);
    AppModel& model = *harness.model;
    EXPECT_EQ(model.display(stickId(0)).as<DriveDisplay::InUse>()->holders.front().name, "vim");
    EXPECT_TRUE(model.display(stickId(1)).is<DriveDisplay::Ready>());
    EXPECT_EQ(model.attentionCount(), 1);

    QSignalSpy stateChanges(&model, &AppModel::driveStateChanged);
    int listings = 0;
    QObject::connect(&model, &AppModel::drivesChanged, [&] { ++listings; });
    model.refresh();
    QTest::qWait(200);
    EXPECT_EQ(stateChanges.count(), 0) << "a drive already listed is not checked again";

    // Plugging in a stick: the edited world file is read again and only the new drive is checked.
    world["volumes"].push_back(stick("Music", 2));
    harness.writeWorld(world);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(3); }));
    EXPECT_EQ(listings, 1);
    std::vector<QString> checked;
    for (const QList<QVariant>& change : stateChanges) checked.push_back(change.at(0).toString());
    EXPECT_EQ(checked, (std::vector<QString>{"sdd", "sdd"})) << "checking, then checked";
}

TEST(ModelListing, AnInvalidWorldEditKeepsTheWorldAndAnUnpluggedDriveLosesItsState) {
    ModelHarness harness;
    const nlohmann::json world = {{"volumes", {stick("Docs", 0), stick("Photos", 1)}}};
    harness.start(world);
    AppModel& model = *harness.model;

    std::ofstream(harness.path("world.json").toStdString()) << "{ \"volumes\": [ broken";
    QTest::qWait(300);
    EXPECT_EQ(model.drives().size(), 2u);

    harness.writeWorld({{"volumes", {stick("Photos", 1)}}});
    ASSERT_TRUE(ModelHarness::waitFor([&] { return model.drives().size() == 1; }));
    EXPECT_FALSE(model.states().contains(stickId(0)));
    EXPECT_TRUE(model.states().contains(stickId(1)));
}

TEST(ModelListing, AListingOlderThanTheOneShownIsDropped) {
    ModelHarness harness;
    harness.writeWorld({{"volumes", {stick("Docs", 0)}}});
    AppBackend backend = harness.backend();
    // A real system lists on several threads at once, so a slow listing can finish last.
    backend.system.oneCallAtATime = false;
    std::promise<void> release;
    auto calls = std::make_shared<std::atomic<int>>(0);
    auto slowOneDone = std::make_shared<std::atomic<bool>>(false);
    backend.system.listDrives = [list = backend.system.listDrives, calls, slowOneDone,
                                 gate = release.get_future().share()](VolumeFilter filter) {
        if (++*calls > 1) return std::vector<Drive>{};  // the stick was unplugged meanwhile
        gate.wait();
        std::vector<Drive> listed = list(filter);
        *slowOneDone = true;
        return listed;
    };
    harness.build(std::move(backend));
    AppModel& model = *harness.model;

    model.refresh();
    ASSERT_TRUE(ModelHarness::waitFor([&] { return *calls == 1; }));
    model.refresh();
    ASSERT_TRUE(ModelHarness::waitFor([&] { return *calls == 2; }));
    QTest::qWait(100);
    release.set_value();
    ASSERT_TRUE(ModelHarness::waitFor([&] { return slowOneDone->load(); }));
    QTest::qWait(100);
    EXPECT_TRUE(model.drives().empty()) << "the unplugged stick does not come back";
}

TEST(ModelListing, CallsMadeBeforeTheFirstListingRunOnceItIsShownInOrder) {
    ModelHarness harness;
    harness.writeWorld({{"volumes", {stick("Alpha", 0), stick("Bravo", 1)}}});
    harness.build(harness.backend());
    AppModel& model = *harness.model;
    std::vector<std::string> seen;
    std::optional<DriveReport> ejected;
    model.start();
    // As a link given on the command line or a bus call at start-up arrives.
    model.whenListed([&] {
        seen.push_back("first: " + std::to_string(model.drives().size()));
        model.ejectDriveNamed("Alpha", [&](std::optional<DriveReport> report) { ejected = report; });
    });
    model.whenListed([&] { seen.push_back("second"); });
    EXPECT_TRUE(seen.empty());
    ASSERT_TRUE(ModelHarness::waitFor([&] { return ejected.has_value(); })) << "the link found no drive";
    EXPECT_EQ(seen, (std::vector<std::string>{"first: 2", "second"}));
    EXPECT_EQ(ReportText::message(*ejected), "Alpha ejected. It’s safe to unplug.");
    model.whenListed([&] { seen.push_back("later"); });
    EXPECT_EQ(seen.back(), "later") << "after the first listing a call runs at once";
}

TEST(ModelListing, AWorldReloadThatAddsAWriterBlocksTheEject) {
    ModelHarness harness;
    nlohmann::json world = {{"volumes", {stick("Golf", 0)}}, {"processes", {userProcess(300, "less", stick("Other", 5))}}};
    harness.start(world);
    AppModel& model = *harness.model;

    // TextEdit starts writing to Golf, and a second stick comes to say the world was read.
    world["processes"].push_back(userProcess(900, "TextEdit", stick("Golf", 0)));
    world["volumes"].push_back(stick("Hotel", 1));
    harness.writeWorld(world);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(2); }));
    model.eject(harness.drive(stickId(0)), false, false);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(2) && model.state(stickId(0)).report; }));
    EXPECT_EQ(ReportText::message(*model.state(stickId(0)).report), "Golf is in use by TextEdit.");
}

TEST(ModelListing, AWorldGivenAsALinkIsFollowedWhenTheLinkIsPointedElsewhere) {
    ModelHarness harness;
    const auto write = [&](const QString& name, const nlohmann::json& world) {
        std::ofstream(harness.path(name).toStdString()) << world.dump(1);
    };
    write("first.json", {{"volumes", {stick("Alpha", 0)}}});
    write("second.json", {{"volumes", {stick("Alpha", 0), stick("Bravo", 1)}}});
    ASSERT_TRUE(QFile::link(harness.path("first.json"), harness.path("world.json")));
    harness.build(harness.backend());
    AppModel& model = *harness.model;
    model.start();
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(1); }));

    // As `ln -sfn second.json world.json` does: a new link renamed over the old one.
    ASSERT_TRUE(QFile::link(harness.path("second.json"), harness.path("world.json.new")));
    ASSERT_EQ(std::rename(harness.path("world.json.new").toStdString().c_str(),
                          harness.path("world.json").toStdString().c_str()), 0);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(2); })) << "the new target was not read";

    // And the watch is on the new target now.
    write("second.json", {{"volumes", {stick("Bravo", 1)}}});
    ASSERT_TRUE(ModelHarness::waitFor([&] { return harness.settled(1); }));
    EXPECT_EQ(model.drives().front().name(), "Bravo");
}
