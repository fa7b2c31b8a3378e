#include "KestrixApp/Shell/AppShell.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

#include "KestrixApp/Desktop/Accessibility/Announcer.h"
#include "KestrixApp/Desktop/Hotkey/DesktopHotkey.h"
#include "KestrixApp/Desktop/Monitoring/BlockDeviceMonitor.h"
#include "KestrixApp/Desktop/Monitoring/MountMonitor.h"
#include "KestrixApp/Desktop/Tray/DesktopTrays.h"
#include "KestrixApp/Desktop/Updates/DialogUpdateAlerts.h"
#include "KestrixApp/Desktop/Updates/Updater.h"
#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Shell/AutomationService.h"
#include "KestrixApp/Shell/LinkHandler.h"
#include "KestrixApp/Shell/MenuBarIcon.h"
#include "KestrixApp/Shell/PanelPlacement.h"
#include "KestrixApp/Shell/WindowRegistry.h"
#include "KestrixApp/Views/Dialogs/ModalConfirmations.h"
#include "KestrixApp/Views/Dialogs/QuestionBoxes.h"
#include "KestrixApp/Views/MainWindow/MainWindowView.h"
#include "KestrixApp/Views/Panel/MenuPanel.h"
#include "KestrixApp/Views/ViewContext.h"
#include "KestrixApp/Views/Help/HelpView.h"
#include "KestrixApp/Views/Icons/AppIcons.h"
#include "KestrixApp/Views/Icons/IconThemes.h"
#include "KestrixApp/Views/Settings/SettingsView.h"
#include "KestrixApp/Views/Style/WindowFit.h"
#include "KestrixApp/Views/Toast/Toast.h"
#include "KestrixApp/Views/Welcome/WelcomeView.h"
#include "KestrixApp/Views/MoreApps/MoreAppsView.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::shell {

AppShell::AppShell(const ShellOptions& options, AppModelParts parts, std::shared_ptr<QSettings> windowSettings,
                   QObject* parent)
    : QObject(parent), options_(options), settings_(windowSettings) {
    // Before any window, so that no icon is ever made without its themes.
    views::prepareIconThemes();
    timer_ = parts.timer ? parts.timer : std::make_shared<ClockWaitTimer>();
    parts.timer = timer_;
    model_ = std::make_unique<AppModel>(true, std::move(parts));
    model_->setToastPresenter([this](const QString& text) { toast(text); });
    model_->setAnnouncer([this](const QString& text) { announce(text); });
    dialogs_ = std::make_unique<views::ModalConfirmations>();
    viewContext_ = std::make_unique<views::ViewContext>(views::ViewContext{
        .model = *model_,
        .shell = {.openWindow = [this](const QString& id) { openWindow(id); },
                  // The panel's More menu offers it too: without a tray it is the only way to ask.
                  .checkForUpdates = desktop::updatesEnabled ? std::function<void()>([this] { checkForUpdates(); })
                                                             : std::function<void()>(),
                  .showAbout = [this] { showAbout(); },
                  .quit = [] { QApplication::quit(); }},
        .dialogs = *dialogs_,
    });
    windows_ = std::make_unique<WindowRegistry>([this](const QString& id) { return windowContent(id); },
                                                windowSettings);
    links_ = std::make_unique<LinkHandler>(
        *model_, [this](const QString& id) { openWindow(id); }, [this](const QString& text) { toast(text); });
    automation_ = new AutomationService(*model_, *links_, [this] { activate(); }, this);
}

// The panel is a window of its own and reads the views' context: it goes before the context does.
AppShell::~AppShell() { delete panel_.data(); }

bool AppShell::claimSessionBus() {
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return true;  // nothing to share with: this is the only instance
    if (!automation_->registerOn(bus)) return false;
    if (bus.registerService(AutomationService::serviceName)) return true;
    bus.unregisterObject(AutomationService::objectPath);
    return false;
}

void AppShell::launch() {
    model_->start();
    if constexpr (desktop::updatesEnabled) {
        updateAlerts_ = std::make_unique<desktop::DialogUpdateAlerts>(nullptr);
        updater_ = std::make_unique<desktop::Updater>(*updateAlerts_, *settings_);
        // A simulated system is for trying things out: it never goes to the network on its own.
        if (!options_.isSimulated()) updater_->startDailyChecks();
    }
    if (!options_.isSimulated()) {
        // Mounts, unmounts and new labels list the drives again; nothing polls.
        auto* mounts = new desktop::MountMonitor(this);
        connect(mounts, &desktop::MountMonitor::mountsChanged, model_.get(), &AppModel::refresh);
        auto* devices = new desktop::BlockDeviceMonitor(this);
        connect(devices, &desktop::BlockDeviceMonitor::blockDeviceChanged, model_.get(), &AppModel::refresh);
    }
    hotkey_ = desktop::makeDesktopHotkey(this);
    if (hotkey_ != nullptr)
        connect(hotkey_, &desktop::GlobalHotkey::pressed, model_.get(), [this] { model_->ejectAll(true); });
    model_->setOnHotkeyChange([this] { applyHotkeySetting(); });
    applyHotkeySetting();
    if (trays_ == nullptr) useTrays(desktop::makeDesktopTrays(this));
    // At login the tray may start after the app: give it a few seconds before opening a window.
    trayWaitOver_ = !options_.background;
    if (!trayWaitOver_) {
        timer_->after(trayWaitSeconds, this, [this] {
            trayWaitOver_ = true;
            followTray();
        });
    }
    followTray();
    if (!model_->onboarded()) openWindow("welcome");
    handleLinks(options_.links);
}

void AppShell::handleLinks(const std::vector<std::string>& links) { links_->handle(links); }

void AppShell::activate() {
    if (trayIcon_ == nullptr) showPanel({});
    else openWindow("main");
}

void AppShell::useTrays(desktop::TrayPresence* trays) {
    trays_ = trays;
    trays_->setParent(this);
    connect(trays_, &desktop::TrayPresence::presenceChanged, this, &AppShell::followTray);
}

void AppShell::followTray() {
    if (trays_->isPresent()) {
        if (trayIcon_ != nullptr) return;
        makeTrayIcon();
        // The icon is the way in now; the window that stood in for it goes.
        if (!panel_.isNull() && panelAnchor_.isNull()) panel_->hide();
        return;
    }
    // The tray may come back as another program: its icon is made anew then, as the toolkit
    // keeps its first answer about a tray for the life of the icon.
    delete trayIcon_;
    trayIcon_ = nullptr;
    // Without a tray the panel is a window of its own, or the app would have no way in.
    if (trayWaitOver_) showPanel({});
}

void AppShell::makeTrayIcon() {
    trayIcon_ = new MenuBarIcon(*model_,
                                {.openPanel = [this](QRect anchor) { showPanel(anchor); },
                                 .openMain = [this] { openWindow("main"); },
                                 .ejectAll = [this] { model_->ejectAll(false); },
                                 .checkForUpdates = updater_ ? std::function<void()>([this] { checkForUpdates(); })
                                                             : std::function<void()>(),
                                 .showAbout = [this] { showAbout(); },
                                 .quit = [] { QApplication::quit(); }},
                                this);
    trayIcon_->show();
}

void AppShell::applyHotkeySetting() {
    if (hotkey_ != nullptr) {
        hotkey_->release();
        if (model_->hotkeyEnabled()) hotkey_->grab();
    }
    model_->setHotkeyRegistered(hotkeyGrabbed());
}

bool AppShell::hotkeyGrabbed() const { return hotkey_ != nullptr && hotkey_->isGrabbed(); }

void AppShell::openWindow(const QString& id) { windows_->openWindow(id); }

QWidget* AppShell::windowContent(const QString& id) {
    if (id == "settings")
        return new views::SettingsView(*model_, {.hotkeyAvailable = hotkeyAvailable(),
                                                 .moreAppsList = [] { return views::makeMoreAppsView(); }});
    // They say where the app is as it is when they open: its tray icon, or the panel's window.
    if (id == "help") return new views::HelpView(hasTrayIcon());
    if (id == "welcome")
        return new views::WelcomeView(*model_, [this](const QString& other) { openWindow(other); }, hasTrayIcon());
    return new views::MainWindowView(*viewContext_);
}

void AppShell::makePanel() {
    auto* panel = new views::MenuPanel(*viewContext_);
    panel_ = panel;
    panel_->setObjectName("panel");
    panel_->setWindowTitle("Kestrix");
    panel_->setAttribute(Qt::WA_DeleteOnClose, false);
    // Its content grows and shrinks while it is open: it is placed again every time.
    panel_->installEventFilter(this);
}

void AppShell::showPanel(QRect anchor) {
    if (panel_.isNull()) makePanel();
    // Where the compositor places every window, the app can't drop the panel from its icon: a
    // popup lands wherever the last window was, as high as the whole screen.
    const bool popup = trayIcon_ != nullptr && !anchor.isNull() && !views::compositorPlacesWindows();
    panelAnchor_ = popup ? anchor : QRect();
    const Qt::WindowType type = popup ? Qt::Popup : Qt::Window;
    if (panel_->windowType() != type) panel_->setWindowFlags(type);
    if (!popup) {
        // A window of its own, frame included, as high as the screen leaves room for.
        const QScreen* screen = panel_->screen() != nullptr ? panel_->screen() : QGuiApplication::primaryScreen();
        const int room = screen == nullptr ? QWIDGETSIZE_MAX
                                           : views::fittedWindowSize(QSize(views::MenuPanel::panelWidth, QWIDGETSIZE_MAX),
                                                                     views::freeWindowArea(*screen))
                                                 .height();
        static_cast<views::MenuPanel*>(panel_.data())->setHeightLimit(room);
    }
    placePanel();
    panel_->show();
    panel_->raise();
    panel_->activateWindow();
}

void AppShell::placePanel() {
    if (panel_.isNull() || panelAnchor_.isNull() || placingPanel_) return;
    placingPanel_ = true;
    std::vector<ScreenArea> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back({.geometry = screen->geometry(), .available = screen->availableGeometry()});
    auto* panel = static_cast<views::MenuPanel*>(panel_.data());
    // As high as the most room beside the icon allows; the drive list scrolls for the rest.
    if (const auto tallest = panelFrame(QSize(panel->width(), QWIDGETSIZE_MAX), panelAnchor_, screens)) {
        panel->setHeightLimit(tallest->height());
        panel->layout()->activate();
    }
    if (const auto frame = panelFrame(panel->size(), panelAnchor_, screens)) panel->move(frame->topLeft());
    placingPanel_ = false;
}

bool AppShell::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_.data() && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) placePanel();
    return QObject::eventFilter(watched, event);
}

void AppShell::showAbout() {
    QMessageBox about;
    about.setWindowTitle(QString::fromStdString(localized("About Kestrix")));
    about.setIconPixmap(views::trayIcon(false).pixmap(64, 64));
    about.setText("<b>Kestrix</b> " + QApplication::applicationVersion());
    about.setInformativeText(QString::fromStdString(
        localized("Names what keeps a drive from ejecting. It sees your own apps and programs; macOS’s own services "
                  "are explained and retried. Made by Orvane.")));
    views::widenToQuestionWidth(&about);
    about.exec();
}

void AppShell::checkForUpdates() {
    if (updater_) updater_->checkForUpdates();
}

void AppShell::announce(const QString& text) {
    // Results come whichever window is open, or none (the hotkey, a link): screen readers hear
    // them from the window the user is in, else from any window of the app on screen. With none
    // on screen nothing is spoken here: results asked for from outside come with a toast, which
    // speaks for itself.
    QWidget* host = QApplication::activeWindow();
    if (host == nullptr || !host->isVisible()) {
        host = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || window->objectName() == "toast") continue;
            host = window;
            if (window == panel_.data()) break;
        }
    }
    if (host == nullptr) return;
    auto* announcer = host->findChild<desktop::Announcer*>(QString(), Qt::FindDirectChildrenOnly);
    if (announcer == nullptr) announcer = new desktop::Announcer(*host);
    announcer->announce(text);
}

void AppShell::toast(const QString& text) {
    // Made on first use: most runs never show one.
    if (!toast_) {
        toast_ = views::makeDesktopToast([this](const QString& spoken) { announce(spoken); });
    }
    toast_->showToast(text);
}

}  // namespace kestrix::shell
