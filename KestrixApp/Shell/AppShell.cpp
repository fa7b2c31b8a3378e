#include "KestrixApp/Shell/AppShell.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

#include "KestrixApp/Desktop/Accessibility/Announcer.h"
#include "KestrixApp/Desktop/Hotkey/DesktopHotkey.h"
#include "KestrixApp/Desktop/Monitoring/BlockDeviceMonitor.h"
#include "KestrixApp/Desktop/Monitoring/MountMonitor.h"
#include "KestrixApp/Desktop/Updates/DialogUpdateAlerts.h"
#include "KestrixApp/Desktop/Updates/Updater.h"
#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Shell/AutomationService.h"
#include "KestrixApp/Shell/LinkHandler.h"
#include "KestrixApp/Shell/MenuBarIcon.h"
#include "KestrixApp/Shell/WindowRegistry.h"
#include "KestrixApp/Views/Dialogs/ModalConfirmations.h"
#include "KestrixApp/Views/MainWindow/MainWindowView.h"
#include "KestrixApp/Views/Panel/MenuPanel.h"
#include "KestrixApp/Views/ViewContext.h"
#include "KestrixApp/Views/Help/HelpView.h"
#include "KestrixApp/Views/Settings/SettingsView.h"
#include "KestrixApp/Views/Toast/Toast.h"
#include "KestrixApp/Views/Welcome/WelcomeView.h"
#include "KestrixApp/Views/MoreApps/MoreAppsView.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::shell {

AppShell::AppShell(const ShellOptions& options, AppModelParts parts, std::shared_ptr<QSettings> windowSettings,
                   QObject* parent)
    : QObject(parent), options_(options), settings_(windowSettings) {
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
    if (MenuBarIcon::isAvailable()) {
        trayIcon_ = new MenuBarIcon(*model_,
                                    {.openPanel = [this](QPoint near) { showPanel(near); },
                                     .openMain = [this] { openWindow("main"); },
                                     .ejectAll = [this] { model_->ejectAll(false); },
                                     .checkForUpdates = updater_ ? std::function<void()>([this] { checkForUpdates(); })
                                                                 : std::function<void()>(),
                                     .showAbout = [this] { showAbout(); },
                                     .quit = [] { QApplication::quit(); }},
                                    this);
        trayIcon_->show();
    } else {
        // Without a tray the panel is a window of its own, or the app would have no way in.
        showPanel({});
    }
    if (!model_->onboarded()) openWindow("welcome");
    handleLinks(options_.links);
}

void AppShell::handleLinks(const std::vector<std::string>& links) { links_->handle(links); }

void AppShell::activate() {
    if (trayIcon_ == nullptr) showPanel({});
    else openWindow("main");
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
    if (id == "help") return new views::HelpView;
    if (id == "welcome") return new views::WelcomeView(*model_, [this](const QString& other) { openWindow(other); });
    return new views::MainWindowView(*viewContext_);
}

void AppShell::showPanel(QPoint near) {
    if (panel_.isNull()) {
        panel_ = new views::MenuPanel(*viewContext_);
        panel_->setObjectName("panel");
        panel_->setWindowTitle("Kestrix");
        panel_->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    if (trayIcon_ != nullptr && !near.isNull()) {
        panel_->setWindowFlags(Qt::Popup);
        const QScreen* screen = QGuiApplication::screenAt(near);
        QRect area = screen ? screen->availableGeometry() : QRect(near, panel_->sizeHint());
        QPoint at(near.x() - panel_->sizeHint().width() / 2, near.y());
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - panel_->sizeHint().width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - panel_->sizeHint().height())));
        panel_->move(at);
    }
    panel_->show();
    panel_->raise();
    panel_->activateWindow();
}

void AppShell::showAbout() {
    QMessageBox about;
    about.setWindowTitle(QString::fromStdString(localized("About Kestrix")));
    about.setIconPixmap(QIcon::fromTheme("com.orvane.Kestrix", QIcon::fromTheme("media-eject")).pixmap(64, 64));
    about.setText("<b>Kestrix</b> " + QApplication::applicationVersion());
    about.setInformativeText(QString::fromStdString(
        localized("Names what keeps a drive from ejecting. It sees your own apps and programs; macOS’s own services "
                  "are explained and retried. Made by Orvane.")));
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
