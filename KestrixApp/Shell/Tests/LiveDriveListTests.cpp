#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "KestrixApp/Desktop/Monitoring/MountMonitor.h"
#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Model/AppSettings.h"
#include "KestrixApp/Model/AppSystemFactory.h"
#include "KestrixApp/Shell/Tests/ShellHarness.h"
#include "KestrixKit/Tests/Support/LoopDrive.h"

namespace {

using namespace kestrix;
using kestrix::shell::test::ShellOnWorld;

bool lists(const AppModel& model, const std::string& name) {
    for (const auto& drive : model.drives())
        if (drive.name() == name) return true;
    return false;
}

// The model on this machine, told of mounts by the monitor alone, as the app wires them.
TEST(LiveDriveList, ARealMountAndItsUnmountReachTheListWithoutARefresh) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a drive needs root";
    QTemporaryDir folder;
    auto backend = std::get<AppBackend>(makeAppBackend({.historyPath = folder.filePath("history.json").toStdString()}));
    AppModel model(true, {.system = std::move(backend.system),
                          .history = std::move(backend.history),
                          .settings = std::make_shared<AppSettings>(folder.filePath("settings.ini"))});
    model.setShowDiskImages(true);
    desktop::MountMonitor monitor;
    QObject::connect(&monitor, &desktop::MountMonitor::mountsChanged, &model, &AppModel::refresh);
    model.start();
    std::string name;
    {
        test::LoopDrive drive({.folderPrefix = "kestrix-live", .labelPrefix = "Live"});
        if (drive.skipReason()) GTEST_SKIP() << *drive.skipReason();
        name = drive.name();
        EXPECT_TRUE(ShellOnWorld::waitFor([&] { return lists(model, name); })) << name << " never appeared";
    }
    EXPECT_TRUE(ShellOnWorld::waitFor([&] { return !lists(model, name); })) << name << " stayed after its unmount";
}

}  // namespace
