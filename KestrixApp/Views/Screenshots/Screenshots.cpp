#include "KestrixApp/Views/Screenshots/Screenshots.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <memory>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Model/AppSystemFactory.h"
#include "KestrixApp/Views/Cards/DriveCard.h"
#include "KestrixApp/Views/MainWindow/MainWindowView.h"
#include "KestrixApp/Views/Panel/MenuPanel.h"
#include "KestrixApp/Views/Screenshots/CardStatesWorld.h"
#include "KestrixApp/Views/ViewContext.h"

namespace kestrix::views {

namespace {

// Nothing is asked while pictures are taken.
class NoQuestions : public ConfirmationDialogs {
public:
    std::optional<std::set<std::int32_t>> confirmQuitAndEject(QWidget*, const Drive&,
                                                              const std::vector<Holder>&) override {
        return std::nullopt;
    }
    bool confirmForceEject(QWidget*, const Drive&) override { return false; }
    bool confirmStopBackup(QWidget*, const Drive&) override { return false; }
    bool confirmClearHistory(QWidget*) override { return false; }
};

struct Failure {
    std::string reason;
};

bool waitUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    QTimer tick;
    tick.start(20);
    while (!done()) {
        if (clock.hasExpired(20000)) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A live model over a simulated system, with its settings in a folder of its own and its
// history in memory, and the views' context over it.
class Scene {
public:
    explicit Scene(AppSystemChoice choice) {
        auto made = makeAppBackend(choice);
        if (auto* error = std::get_if<std::string>(&made)) throw Failure{*error};
        auto& backend = std::get<AppBackend>(made);
        model = std::make_unique<AppModel>(
            true, AppModelParts{.system = std::move(backend.system),
                                .history = std::move(backend.history),
                                .settings = std::make_shared<AppSettings>(settingsFolder.filePath("settings.ini"))});
        context = std::make_unique<ViewContext>(ViewContext{.model = *model, .shell = {}, .dialogs = questions});
    }

    const Drive& drive(const std::string& name) const {
        for (const Drive& listed : model->drives()) {
            if (listed.name() == name) return listed;
        }
        throw Failure{"no drive named " + name};
    }

    void startAndSettle() {
        model->start();
        waitFor("the drives to be listed and checked", [this] {
            if (model->drives().empty() || model->ejectingAll()) return false;
            for (const Drive& listed : model->drives()) {
                const DriveState state = model->state(listed.id);
                if (state.busy || (!state.scan && !state.report)) return false;
            }
            return true;
        });
    }

    static void waitFor(const std::string& what, const std::function<bool()>& done) {
        if (!waitUntil(done)) throw Failure{"timed out waiting for " + what};
    }

    QTemporaryDir settingsFolder;
    NoQuestions questions;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<ViewContext> context;
};

class Camera {
public:
    explicit Camera(QString folder) : folder_(std::move(folder)) {}

    void take(QWidget& widget, const QString& name) {
        // Shown, not run: the layout is done and no result of the model arrives in between.
        widget.show();
        const QString path = QDir(folder_).filePath(name + ".png");
        if (!widget.grab().save(path)) throw Failure{"could not write " + path.toStdString()};
        widget.hide();
        written_ << name + ".png";
    }

    // A full card alone, as wide as in the main window.
    void takeCard(ViewContext& context, const Drive& drive, const QString& name) {
        QWidget frame;
        frame.setFixedWidth(640);
        auto* layout = new QVBoxLayout(&frame);
        layout->addWidget(new DriveCard(context, drive.id, false, &frame));
        frame.adjustSize();
        take(frame, name);
    }

    const QStringList& written() const { return written_; }

private:
    QString folder_;
    QStringList written_;
};

void takeDemo(Camera& camera) {
    Scene demo(AppSystemChoice{.demo = true});
    demo.startAndSettle();
    AppModel& model = *demo.model;
    // Every drive of the demo is held: Eject All fills the results and the history with the
    // holders, and quitting Preview lets its stick go.
    bool allDone = false;
    model.ejectAll(false, [&](std::vector<DriveReport>) { allDone = true; });
    Scene::waitFor("Eject All", [&] { return allDone; });
    const Drive photos = demo.drive("Photos");
    const auto* held = model.display(photos.id).as<DriveDisplay::InUse>();
    if (held == nullptr) throw Failure{"the demo's Photos stick is not in use"};
    model.quitAndEject(photos, held->holders, {});
    Scene::waitFor("Photos to be ejected", [&] { return !model.recent().empty(); });
    demo.startAndSettle();

    MenuPanel panel(*demo.context);
    camera.take(panel, "menu-panel");
    MainWindowView window(*demo.context);
    window.resize(920, 640);
    model.setMainPage("drives");
    camera.take(window, "main-drives");
    model.setMainPage("history");
    camera.take(window, "main-history");
    model.setMainPage("drives");
}

void takeCardStates(Camera& camera) {
    QTemporaryDir worldFolder;
    const QString worldPath = worldFolder.filePath("card-states-world.json");
    QFile world(worldPath);
    if (!world.open(QIODevice::WriteOnly) ||
        world.write(cardStatesWorldText.data(), static_cast<qint64>(cardStatesWorldText.size())) < 0)
        throw Failure{"could not write the world of the card states"};
    world.close();

    Scene scene(AppSystemChoice{.worldPath = worldPath.toStdString()});
    scene.startAndSettle();
    AppModel& model = *scene.model;
    const Drive slides = scene.drive("Slides");
    const auto* held = model.display(slides.id).as<DriveDisplay::InUse>();
    if (held == nullptr) throw Failure{"Slides is not in use in the world of the card states"};
    model.quitAndEject(slides, held->holders, {});
    for (const char* name : {"Service", "Backup", "Broken"}) model.eject(scene.drive(name), false, false);
    Scene::waitFor("every card state", [&] {
        return model.display(scene.drive("Service").id).is<DriveDisplay::HeldByMacOS>() &&
               model.display(scene.drive("Backup").id).is<DriveDisplay::Backup>() &&
               model.display(scene.drive("Broken").id).is<DriveDisplay::Failed>() &&
               model.display(slides.id).is<DriveDisplay::WaitingOnApps>();
    });

    const std::pair<const char*, const char*> states[] = {
        {"Holiday", "card-ready"},   {"Notes", "card-inUse"},  {"Service", "card-heldByMacOS"},
        {"Slides", "card-waitingOnApps"}, {"Backup", "card-backup"}, {"Broken", "card-failed"}};
    for (const auto& [drive, picture] : states) camera.takeCard(*scene.context, scene.drive(drive), picture);

    // The eject marks the drive busy at once; the picture is taken before it ends.
    const Drive holiday = scene.drive("Holiday");
    model.eject(holiday, false, false);
    camera.takeCard(*scene.context, holiday, "card-busy");
    Scene::waitFor("Holiday to be ejected", [&] { return !model.recent().empty(); });
}

}  // namespace

std::variant<QStringList, std::string> renderScreenshots(const QString& folder) {
    if (!QDir().mkpath(folder)) return "could not make the folder " + folder.toStdString();
    // The same icons whatever the desktop, so the pictures only change when the views do.
    QIcon::setThemeName("Adwaita");
    Camera camera(folder);
    try {
        takeDemo(camera);
        takeCardStates(camera);
    } catch (const Failure& failure) {
        return failure.reason;
    }
    return camera.written();
}

}  // namespace kestrix::views
