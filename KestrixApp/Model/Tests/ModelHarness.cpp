#include "ModelHarness.h"

#include <fstream>
#include <stdexcept>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace kestrix::testing {

void InstantTimer::after(double seconds, QObject* receiver, std::function<void()> then) {
    waits.push_back(seconds);
    if (hold) {
        hold(std::move(then));
        return;
    }
    QTimer::singleShot(0, receiver, std::move(then));
}

std::optional<std::string> FakeLoginItem::setEnabled(bool on) {
    if (failure) return failure;
    enabled = on;
    return std::nullopt;
}

std::string stickId(int index) { return std::string("sd") + static_cast<char>('b' + index); }

nlohmann::json stick(const std::string& name, int index) {
    return {{"path", "/media/" + name + std::to_string(index)},
            {"name", name},
            {"totalCapacity", 16000000000},
            {"availableCapacity", 8000000000},
            {"isEjectable", true},
            {"isRemovable", true},
            {"mountSource", "/dev/" + stickId(index) + "1"},
            {"fileSystem", "ext4"},
            {"device", 2065 + 16 * index},
            {"deviceProtocol", "USB"},
            {"wholeDisk", stickId(index)}};
}

nlohmann::json userProcess(int pid, const std::string& name, const nlohmann::json& onStick) {
    return {{"pid", pid},
            {"name", name},
            {"executablePath", "/usr/bin/" + name},
            {"uid", 501},
            {"parentPID", 1},
            {"openFiles", {{{"path", onStick["path"].get<std::string>() + "/notes.txt"}, {"device", onStick["device"]}}}}};
}

nlohmann::json threeSticksOneHeld() {
    return {{"volumes", {stick("Docs", 0), stick("Held", 1), stick("Music", 2)}},
            {"processes", {userProcess(410, "vim", stick("Held", 1))}}};
}

nlohmann::json worldFile(const std::string& name) {
    std::ifstream file(std::string(KESTRIX_WORLDS) + "/" + name);
    return nlohmann::json::parse(file);
}

void ModelHarness::writeWorld(const nlohmann::json& world) const {
    std::ofstream(path("world.json").toStdString()) << world.dump(1);
}

AppBackend ModelHarness::backend() const {
    const AppSystemChoice choice{.worldPath = path("world.json").toStdString(),
                                 .historyPath = path("history.json").toStdString()};
    auto made = makeAppBackend(choice);
    if (auto* error = std::get_if<std::string>(&made)) throw std::runtime_error(*error);
    return std::get<AppBackend>(std::move(made));
}

void ModelHarness::build(AppBackend backend, bool live) {
    model = std::make_unique<AppModel>(live, AppModelParts{.system = std::move(backend.system),
                                                           .history = std::move(backend.history),
                                                           .settings = std::make_shared<AppSettings>(path("settings.ini")),
                                                           .loginItem = loginItem,
                                                           .timer = timer});
    model->setToastPresenter([this](const QString& text) { toasts.push_back(text); });
    model->setAnnouncer([this](const QString& text) { announcements.push_back(text); });
}

void ModelHarness::start(const nlohmann::json& world) {
    writeWorld(world);
    build(backend());
    model->start();
    const std::size_t count = world.contains("volumes") ? world["volumes"].size() : 0;
    if (!waitFor([&] { return settled(count); })) throw std::runtime_error("the drives were not listed and checked");
}

bool ModelHarness::waitFor(const std::function<bool()>& done) {
    // Sleeps only while no event comes, so that a chain of hundreds of calls runs at full speed.
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    tick.start(20);
    while (!done()) {
        if (clock.hasExpired(30000)) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool ModelHarness::settled(std::size_t driveCount) const {
    if (model->drives().size() != driveCount || model->ejectingAll()) return false;
    for (const Drive& listed : model->drives()) {
        const DriveState state = model->state(listed.id);
        if (state.busy || (!state.scan && !state.report)) return false;
    }
    return true;
}

const Drive& ModelHarness::drive(const std::string& id) const {
    for (const Drive& listed : model->drives()) {
        if (listed.id == id) return listed;
    }
    throw std::runtime_error("no drive " + id);
}

}  // namespace kestrix::testing
