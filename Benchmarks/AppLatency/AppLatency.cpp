// From a loop mount under /media to the drive in the app model's list, with the mount monitor
// as the only trigger, and then to the end of its first holder check. Needs root.
//
// usage: app-latency [RUNS]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "KestrixApp/Desktop/Monitoring/MountMonitor.h"
#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Model/AppSettings.h"
#include "KestrixApp/Model/AppSystemFactory.h"

namespace {

using namespace kestrix;

bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

bool waitFor(const std::function<bool()>& condition) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > 10000) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

const Drive* listed(const AppModel& model, const std::string& name) {
    for (const auto& drive : model.drives())
        if (drive.name() == name) return &drive;
    return nullptr;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir folder;
    auto backend = std::get<AppBackend>(makeAppBackend({.historyPath = folder.path().toStdString() + "/history.json"}));
    AppModel model(true, {.system = std::move(backend.system),
                          .history = std::move(backend.history),
                          .settings = std::make_shared<AppSettings>(folder.path() + "/settings.ini")});
    // A loop-mounted image is a disk image: listed only when the user asks for them.
    model.setShowDiskImages(true);
    desktop::MountMonitor monitor;
    QObject::connect(&monitor, &desktop::MountMonitor::mountsChanged, &model, &AppModel::refresh);
    model.start();
    QCoreApplication::processEvents();

    const std::string image = folder.path().toStdString() + "/drive.img";
    if (!run("truncate -s 32M " + image) || !run("mkfs.ext4 -q -L Bench " + image)) {
        std::cerr << "app-latency: cannot make a drive image\n";
        return 2;
    }
    std::vector<double> listing;
    std::vector<double> checked;
    for (int index = 0; index < runs; ++index) {
        const std::string mount = "/media/kestrix-latency-" + std::to_string(::getpid()) + "/Bench";
        run("mkdir -p " + mount);
        const std::string loop = [&] {
            FILE* pipe = ::popen(("losetup --find --show " + image).c_str(), "r");
            char line[64] = {};
            if (pipe != nullptr && std::fgets(line, sizeof line, pipe) == nullptr) line[0] = 0;
            if (pipe != nullptr) ::pclose(pipe);
            std::string device(line);
            while (!device.empty() && device.back() == '\n') device.pop_back();
            return device;
        }();
        if (loop.empty() || !run("mount " + loop + " " + mount)) {
            std::cerr << "app-latency: cannot mount the image\n";
            return 2;
        }
        QElapsedTimer elapsed;
        elapsed.start();
        const bool appeared = waitFor([&] { return listed(model, "Bench") != nullptr; });
        listing.push_back(elapsed.nsecsElapsed() / 1e6);
        const bool checkedDone = appeared && waitFor([&] {
            const Drive* drive = listed(model, "Bench");
            return drive != nullptr && model.state(drive->id).scan.has_value();
        });
        checked.push_back(elapsed.nsecsElapsed() / 1e6);
        run("umount " + mount);
        run("losetup -d " + loop);
        run("rmdir " + mount + " " + mount.substr(0, mount.rfind('/')));
        waitFor([&] { return listed(model, "Bench") == nullptr; });
        if (!appeared || !checkedDone) {
            std::cerr << "app-latency: the drive never reached the list\n";
            return 1;
        }
    }
    std::cout << "mount to list: " << median(listing) << " ms (median of " << runs << ")\n"
              << "mount to first check done: " << median(checked) << " ms\n";
    return 0;
}
