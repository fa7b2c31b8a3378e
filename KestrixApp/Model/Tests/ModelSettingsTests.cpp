#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include "ModelHarness.h"

using namespace kestrix;
using namespace kestrix::testing;

TEST(ModelSettings, EveryHotkeyAssignmentIsWrittenAndCallsBackEvenWhenUnchanged) {
    ModelHarness harness;
    harness.start(nlohmann::json::object());
    AppModel& model = *harness.model;
    int calls = 0;
    model.setOnHotkeyChange([&] { ++calls; });
    QSignalSpy changes(&model, &AppModel::hotkeyEnabledChanged);

    model.setHotkeyEnabled(true);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(changes.count(), 0) << "observers hear only of changes";
    model.setHotkeyEnabled(false);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(changes.count(), 1);
    model.setMainPage("history");
    model.setMainPage("nowhere");
    EXPECT_EQ(model.mainPage(), "history");

    QSettings written(harness.path("settings.ini"), QSettings::IniFormat);
    EXPECT_EQ(written.value("hotkeyEnabled").toString(), "false");
    EXPECT_EQ(written.value("mainPage").toString(), "history");
}

TEST(ModelSettings, AStoredValueOfTheWrongKindCountsAsAbsent) {
    ModelHarness harness;
    {
        QSettings stored(harness.path("settings.ini"), QSettings::IniFormat);
        stored.setValue("showDiskImages", 1);
        stored.setValue("showNetworkShares", "yes");
        stored.setValue("hotkeyEnabled", QStringList{"false"});
        stored.setValue("onboarded", true);
        stored.setValue("mainPage", "history");
        stored.setValue("settingsTab", 3);
    }
    harness.writeWorld(nlohmann::json::object());
    harness.build(harness.backend());
    const AppModel& model = *harness.model;
    EXPECT_FALSE(model.showDiskImages());
    EXPECT_FALSE(model.showNetworkShares());
    EXPECT_TRUE(model.hotkeyEnabled());
    EXPECT_TRUE(model.onboarded());
    EXPECT_EQ(model.mainPage(), "history");
    EXPECT_EQ(model.settingsTab(), "general");
}

TEST(ModelSettings, LaunchAtLoginShowsTheRealStateAfterAFailure) {
    ModelHarness harness;
    harness.loginItem->enabled = true;
    harness.start(nlohmann::json::object());
    AppModel& model = *harness.model;
    EXPECT_TRUE(model.launchAtLogin());

    harness.loginItem->failure = "the autostart folder is read-only";
    model.setLaunchAtLogin(false);
    EXPECT_TRUE(model.launchAtLogin());

    harness.loginItem->failure.reset();
    model.setLaunchAtLogin(false);
    EXPECT_FALSE(model.launchAtLogin());
}

TEST(ModelPreview, TouchesNeitherTheSystemNorTheSettingsNorTheHistory) {
    ModelHarness harness;
    harness.writeWorld(worldFile("eject-verdicts-world.json"));
    AppBackend backend = harness.backend();
    auto calls = std::make_shared<int>(0);
    backend.system.listDrives = [list = backend.system.listDrives, calls](VolumeFilter filter) {
        ++*calls;
        return list(filter);
    };
    backend.system.stopBackup = [calls](const TimeMachineStatus&) { return ++*calls > 0; };
    backend.system.flow.timeMachine = [calls] {
        ++*calls;
        return std::optional<TimeMachineStatus>();
    };
    harness.build(std::move(backend), false);
    AppModel& model = *harness.model;
    EXPECT_EQ(AppModel::current(), &model);
    int hotkeyCalls = 0;
    model.setOnHotkeyChange([&] { ++hotkeyCalls; });

    const Drive drive{.id = "sdb"};
    std::optional<std::vector<DriveReport>> all;
    std::optional<std::optional<DriveReport>> named;
    model.start();
    model.refresh();
    model.check(drive);
    model.eject(drive, true, true);
    model.quitAndEject(drive, {}, {});
    model.ejectAll(true, [&](std::vector<DriveReport> reports) { all = std::move(reports); });
    model.ejectDriveNamed("Held", [&](std::optional<DriveReport> report) { named = std::move(report); });
    model.waitForBackup(drive);
    model.stopBackup(drive);
    model.clearHistory();
    model.setShowDiskImages(true);
    model.setHotkeyEnabled(false);
    model.setOnboarded(true);
    model.setMainPage("history");
    model.setLaunchAtLogin(true);
    ASSERT_TRUE(ModelHarness::waitFor([&] { return all && named; }));
    QTest::qWait(100);

    EXPECT_EQ(*calls, 0);
    EXPECT_TRUE(all->empty());
    EXPECT_FALSE(*named);
    EXPECT_TRUE(model.states().empty());
    EXPECT_TRUE(harness.timer->waits.empty());
    EXPECT_TRUE(harness.toasts.empty());
    EXPECT_EQ(hotkeyCalls, 1) << "the hotkey handler belongs to the app, not to the settings file";
    EXPECT_FALSE(harness.loginItem->enabled);
    EXPECT_FALSE(QFile::exists(harness.path("settings.ini")));
    EXPECT_FALSE(QFile::exists(harness.path("history.json")));
}
