#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QString>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Model/AppSystemFactory.h"

namespace kestrix::testing {

// Answers every wait at once (on the next turn of the event loop) and remembers its length.
class InstantTimer : public WaitTimer {
public:
    std::vector<double> waits;
    // When set, gets each wait's continuation instead, to run it when the test wants.
    std::function<void(std::function<void()>)> hold;
    void after(double seconds, QObject* receiver, std::function<void()> then) override;
};

// A login item whose registration can be made to fail.
class FakeLoginItem : public LoginItem {
public:
    bool enabled = false;
    std::optional<std::string> failure;
    bool isEnabled() const override { return enabled; }
    std::optional<std::string> setEnabled(bool on) override;
};

// A USB stick with one volume, named by the index of its device (sdb, sdc, …).
nlohmann::json stick(const std::string& name, int index);
// A process of the signed-in user with a file open on the stick.
nlohmann::json userProcess(int pid, const std::string& name, const nlohmann::json& onStick);
// Three sticks; vim keeps the second one busy.
nlohmann::json threeSticksOneHeld();
std::string stickId(int index);
nlohmann::json worldFile(const std::string& name);

// A model over a simulated world kept in a temporary folder, with its settings and history
// there too, and everything it shows the user collected.
class ModelHarness {
public:
    QTemporaryDir folder;
    std::shared_ptr<InstantTimer> timer = std::make_shared<InstantTimer>();
    std::shared_ptr<FakeLoginItem> loginItem = std::make_shared<FakeLoginItem>();
    std::vector<QString> toasts;
    std::vector<QString> announcements;
    std::unique_ptr<AppModel> model;

    QString path(const QString& name) const { return folder.filePath(name); }
    void writeWorld(const nlohmann::json& world) const;
    // The system over the world written last, with its history in the folder.
    AppBackend backend() const;
    void build(AppBackend backend, bool live = true);
    // Builds a live model, starts it and waits until every drive was checked.
    void start(const nlohmann::json& world);
    // Waits until the predicate holds, running the event loop meanwhile.
    static bool waitFor(const std::function<bool()>& done);
    // Whether the drives were listed and no operation runs.
    bool settled(std::size_t driveCount) const;
    const Drive& drive(const std::string& id) const;
};

}  // namespace kestrix::testing
