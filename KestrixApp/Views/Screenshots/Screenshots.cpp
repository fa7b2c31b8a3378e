#include "KestrixApp/Views/Screenshots/Screenshots.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QLocale>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <memory>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Model/AppSystemFactory.h"
#include "KestrixApp/Views/Cards/DriveCard.h"
#include "KestrixApp/Views/Help/HelpView.h"
#include "KestrixApp/Views/Icons/IconThemes.h"
#include "KestrixApp/Views/MainWindow/MainWindowView.h"
#include "KestrixApp/Views/Panel/MenuPanel.h"
#include "KestrixApp/Views/MoreApps/MoreAppsView.h"
#include "KestrixApp/Views/Screenshots/CardStatesWorld.h"
#include "KestrixKit/Text/Vocabulary.h"
#include "KestrixApp/Views/Screenshots/DarkPalette.h"
#include "KestrixApp/Views/Settings/SettingsView.h"
#include "KestrixApp/Views/ViewContext.h"
#include "KestrixApp/Views/Welcome/WelcomeView.h"

namespace kestrix::views {

namespace {

// Nothing is asked while pictures are taken.
class NoQuestions : public ConfirmationDialogs {
public:
    std::optional<std::set<std::int32_t>> confirmQuitAndEject(QWidget*, const Drive&, const std::vector<Holder>&,
                                                               std::uint32_t) override {
        return std::nullopt;
    }
    bool confirmForceEject(QWidget*, const Drive&, const std::vector<Holder>&) override { return false; }
    bool confirmStopBackup(QWidget*, const Drive&) override { return false; }
    bool confirmClearHistory(QWidget*) override { return false; }
};

using Problem = std::optional<std::string>;

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
    explicit Scene(AppBackend backend)
        : model(true, AppModelParts{.system = std::move(backend.system),
                                    .history = std::move(backend.history),
                                    .settings = std::make_shared<AppSettings>(settingsFolder.filePath("settings.ini"))}),
          context{.model = model, .shell = {}, .dialogs = questions} {}

    // The listed drive of that name; absent when there is none.
    std::optional<Drive> drive(const std::string& name) const {
        for (const Drive& listed : model.drives()) {
            if (listed.name() == name) return listed;
        }
        return std::nullopt;
    }

    // Waits until the drives are listed and each was checked, and nothing runs.
    bool settle() {
        return waitUntil([this] {
            if (!model.hasListed() || model.ejectingAll()) return false;
            for (const Drive& listed : model.drives()) {
                const DriveState state = model.state(listed.id);
                if (state.busy || (!state.scan && !state.report)) return false;
            }
            return true;
        });
    }

    bool shows(const std::string& name, const std::function<bool(const DriveDisplay&)>& display) const {
        const auto listed = drive(name);
        return listed && display(model.display(listed->id));
    }

    QTemporaryDir settingsFolder;
    NoQuestions questions;
    AppModel model;
    ViewContext context;
};

class Camera {
public:
    explicit Camera(QString folder) : folder_(std::move(folder)) {}

    // What waits in the event queue is handed out before the picture, so it is fully laid out;
    // a picture of a passing moment holds back all but the layout, so no result arrives first.
    enum class Queue { deliver, holdResults };

    Problem take(QWidget& widget, const QString& name, Queue queue = Queue::deliver) {
        widget.show();
        if (queue == Queue::deliver) QCoreApplication::sendPostedEvents();
        else QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QString path = QDir(folder_).filePath(name + ".png");
        const bool saved = widget.grab().save(path);
        widget.hide();
        if (!saved) return "could not write " + path.toStdString();
        written_ << name + ".png";
        return std::nullopt;
    }

    // A full card alone, as wide as in the main window.
    Problem takeCard(ViewContext& context, const Drive& drive, const QString& name, Queue queue = Queue::deliver) {
        QWidget frame;
        frame.setFixedWidth(640);
        auto* layout = new QVBoxLayout(&frame);
        layout->addWidget(new DriveCard(context, drive.id, false, &frame));
        frame.adjustSize();
        return take(frame, name, queue);
    }

    const QStringList& written() const { return written_; }

private:
    QString folder_;
    QStringList written_;
};

std::variant<std::unique_ptr<Scene>, std::string> makeScene(const AppSystemChoice& choice) {
    auto made = makeAppBackend(choice);
    if (auto* error = std::get_if<std::string>(&made)) return *error;
    // A world speaks the words it was written in.
    selectVocabulary(std::get<AppBackend>(made).vocabulary);
    auto scene = std::make_unique<Scene>(std::move(std::get<AppBackend>(made)));
    scene->model.start();
    if (!scene->settle()) return std::string("the drives were not listed and checked in time");
    return scene;
}

// The settings, one picture per tab, and the welcome and help windows, at their window sizes.
Problem takeSecondaryWindows(Camera& camera, AppModel& model) {
    SettingsView settings(model, {.moreAppsList = [] { return makeMoreAppsView(); }});
    settings.setFixedSize(580, 480);
    Problem problem;
    for (const char* tab : {"general", "automation", "privacy", "more"}) {
        model.setSettingsTab(tab);
        if (!problem) problem = camera.take(settings, QString("settings-") + tab);
    }
    model.setSettingsTab("general");
    WelcomeView welcome(model, [](const QString&) {}, true);
    welcome.resize(600, 560);
    if (!problem) problem = camera.take(welcome, "welcome");
    HelpView help(true);
    help.resize(640, 620);
    if (!problem) problem = camera.take(help, "help");
    return problem;
}

// The panel and the main window's pages as they are now, and the drives page once more in a
// dark palette.
Problem takeMainWindows(Camera& camera, Scene& scene) {
    AppModel& model = scene.model;
    Problem problem;
    {
        MenuPanel panel(scene.context);
        MainWindowView window(scene.context);
        window.resize(920, 640);
        model.setMainPage("drives");
        problem = camera.take(panel, "menu-panel");
        if (!problem) problem = camera.take(window, "main-drives");
        model.setMainPage("history");
        if (!problem) problem = camera.take(window, "main-history");
        model.setMainPage("drives");
    }
    if (problem) return problem;
    const QPalette usual = QApplication::palette();
    QApplication::setPalette(darkPalette());
    {
        MainWindowView dark(scene.context);
        dark.resize(920, 640);
        problem = camera.take(dark, "main-drives-dark");
    }
    QApplication::setPalette(usual);
    return problem;
}

Problem takeWorld(Camera& camera, const std::string& worldPath) {
    auto made = makeScene(AppSystemChoice{.worldPath = worldPath});
    if (auto* error = std::get_if<std::string>(&made)) return *error;
    Scene& scene = *std::get<std::unique_ptr<Scene>>(made);
    if (Problem problem = takeMainWindows(camera, scene)) return problem;
    return takeSecondaryWindows(camera, scene.model);
}

Problem takeDemo(Camera& camera) {
    auto made = makeScene(AppSystemChoice{.demo = true});
    if (auto* error = std::get_if<std::string>(&made)) return *error;
    Scene& demo = *std::get<std::unique_ptr<Scene>>(made);
    AppModel& model = demo.model;
    // Every drive of the demo is held: Eject All fills the results and the history with the
    // holders, and quitting Text Editor lets its stick go.
    bool allDone = false;
    model.ejectAll(false, [&](std::vector<DriveReport>) { allDone = true; });
    if (!waitUntil([&] { return allDone; })) return "Eject All did not end";
    const auto stick = demo.drive("Holiday");
    const DriveDisplay stickShown = stick ? model.display(stick->id) : DriveDisplay{};
    const auto* held = stickShown.as<DriveDisplay::InUse>();
    if (held == nullptr) return "the demo's Holiday stick is not in use";
    model.quitAndEject(*stick, held->holders, {});
    if (!waitUntil([&] { return !model.recent().empty() && !demo.drive("Holiday"); }) || !demo.settle())
        return "the demo's Holiday stick was not ejected";

    if (Problem problem = takeMainWindows(camera, demo)) return problem;
    return takeSecondaryWindows(camera, model);
}

Problem takeCardStates(Camera& camera) {
    QTemporaryDir worldFolder;
    const QString worldPath = worldFolder.filePath("card-states-world.json");
    QFile world(worldPath);
    if (!world.open(QIODevice::WriteOnly) ||
        world.write(cardStatesWorldText.data(), static_cast<qint64>(cardStatesWorldText.size())) < 0)
        return "could not write the world of the card states";
    world.close();

    auto made = makeScene(AppSystemChoice{.worldPath = worldPath.toStdString()});
    if (auto* error = std::get_if<std::string>(&made)) return *error;
    Scene& scene = *std::get<std::unique_ptr<Scene>>(made);
    AppModel& model = scene.model;
    const auto slides = scene.drive("Slides");
    const DriveDisplay slidesShown = slides ? model.display(slides->id) : DriveDisplay{};
    const auto* held = slidesShown.as<DriveDisplay::InUse>();
    if (held == nullptr) return "Slides is not in use in the world of the card states";
    model.quitAndEject(*slides, held->holders, {});
    for (const char* name : {"Service", "Backup", "Broken"}) {
        if (const auto drive = scene.drive(name)) model.eject(*drive, false, false);
    }
    const bool everyState = waitUntil([&] {
        return scene.shows("Service", [](const DriveDisplay& shown) { return shown.is<DriveDisplay::HeldByMacOS>(); }) &&
               scene.shows("Backup", [](const DriveDisplay& shown) { return shown.is<DriveDisplay::Backup>(); }) &&
               scene.shows("Broken", [](const DriveDisplay& shown) { return shown.is<DriveDisplay::Failed>(); }) &&
               scene.shows("Slides", [](const DriveDisplay& shown) { return shown.is<DriveDisplay::WaitingOnApps>(); });
    });
    if (!everyState) return "the drives did not reach every state of a card";

    const std::pair<const char*, const char*> states[] = {
        {"Holiday", "card-ready"},        {"Notes", "card-inUse"},   {"Service", "card-heldByMacOS"},
        {"Slides", "card-waitingOnApps"}, {"Backup", "card-backup"}, {"Broken", "card-failed"}};
    for (const auto& [name, picture] : states) {
        const auto drive = scene.drive(name);
        if (!drive) return std::string("no drive named ") + name;
        if (Problem problem = camera.takeCard(scene.context, *drive, picture)) return problem;
    }

    // The eject marks the drive busy at once; the picture is taken before it ends.
    const auto holiday = scene.drive("Holiday");
    if (!holiday) return "no drive named Holiday";
    model.eject(*holiday, false, false);
    Problem problem = camera.takeCard(scene.context, *holiday, "card-busy", Camera::Queue::holdResults);
    waitUntil([&] { return !model.recent().empty(); });
    return problem;
}

}  // namespace

std::variant<QStringList, std::string> renderScreenshots(const QString& folder,
                                                        const std::optional<std::string>& worldPath) {
    if (!QDir().mkpath(folder)) return "could not make the folder " + folder.toStdString();
    // The same icons whatever the desktop, so the pictures only change when the views do.
    prepareIconThemes();
    QIcon::setThemeName("Adwaita");
    // And the dates as the demo's American user reads them.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Camera camera(folder);
    Problem problem;
    if (worldPath) {
        problem = takeWorld(camera, *worldPath);
    } else {
        problem = takeDemo(camera);
        if (!problem) problem = takeCardStates(camera);
    }
    if (problem) return *problem;
    return camera.written();
}

}  // namespace kestrix::views
