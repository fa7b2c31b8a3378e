#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "KestrixApp/Shell/ShellOptions.h"

class QSettings;
class QWidget;

namespace kestrix {
class AppModel;
struct AppModelParts;
class WaitTimer;
}

namespace kestrix::views {
class ConfirmationDialogs;
struct ViewContext;
}

namespace kestrix::desktop {
class DialogUpdateAlerts;
class TrayPresence;
class GlobalHotkey;
class Updater;
}

namespace kestrix::views {
class Toast;
}

namespace kestrix::shell {

class AutomationService;
class LinkHandler;
class MenuBarIcon;
class WindowRegistry;

// The running app: the one live model, its windows, the tray icon, the hotkey, the bus object
// and, on this machine, the mount monitors. Everything here lives on the main thread.
class AppShell : public QObject {
    Q_OBJECT
public:
    AppShell(const ShellOptions& options, AppModelParts parts, std::shared_ptr<QSettings> windowSettings,
             QObject* parent = nullptr);
    ~AppShell() override;

    AppModel& model() { return *model_; }
    WindowRegistry& windows() { return *windows_; }
    LinkHandler& links() { return *links_; }

    // Puts the bus object on the session bus and takes the app's name; false when another
    // instance holds it (the object is withdrawn again then).
    bool claimSessionBus();
    // The trays to follow instead of the desktop's; taken as a child. Before launch().
    void useTrays(desktop::TrayPresence* trays);
    // Starts the model, the monitors and the hotkey, opens the welcome window on first launch,
    // and puts the icon in the tray, or opens the panel as a window while there is no tray.
    void launch();
    // What a second start of the app asks for: links to carry out, or to be shown.
    void handleLinks(const std::vector<std::string>& links);
    void activate();
    // Takes or gives up the hotkey as the setting says; called after every change of it.
    void applyHotkeySetting();
    bool hotkeyGrabbed() const;
    // False where the desktop gives no global hotkey at all.
    bool hotkeyAvailable() const { return hotkey_ != nullptr; }

    // How long an app started at login waits for a tray before it opens its window.
    static constexpr double trayWaitSeconds = 5.0;
    bool hasTrayIcon() const { return trayIcon_ != nullptr; }

    void openWindow(const QString& id);
    // The panel dropping from the tray icon at anchor, or without an anchor a window of its own.
    void showPanel(QRect anchor);
    void showAbout();
    // The user's "Check for Updates…"; nothing where updates are turned off.
    void checkForUpdates();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the window of that id shows.
    QWidget* windowContent(const QString& id);
    // The icon while a tray is there; the panel as a window while none is, once any wait for
    // one at login is over.
    void followTray();
    void makeTrayIcon();
    void makePanel();
    void placePanel();
    void toast(const QString& text);
    // Speaks a result to screen readers; the shell always exists, whichever window does.
    void announce(const QString& text);

    ShellOptions options_;
    std::shared_ptr<QSettings> settings_;
    std::unique_ptr<AppModel> model_;
    std::unique_ptr<views::ConfirmationDialogs> dialogs_;
    std::unique_ptr<views::ViewContext> viewContext_;
    std::unique_ptr<LinkHandler> links_;
    std::unique_ptr<WindowRegistry> windows_;
    AutomationService* automation_ = nullptr;
    MenuBarIcon* trayIcon_ = nullptr;
    desktop::TrayPresence* trays_ = nullptr;
    std::shared_ptr<WaitTimer> timer_;
    bool trayWaitOver_ = true;
    // Where the panel drops from; empty while it is a window of its own.
    QRect panelAnchor_;
    bool placingPanel_ = false;
    desktop::GlobalHotkey* hotkey_ = nullptr;
    QPointer<QWidget> panel_;
    std::unique_ptr<desktop::DialogUpdateAlerts> updateAlerts_;
    std::unique_ptr<desktop::Updater> updater_;
    std::unique_ptr<views::Toast> toast_;
};

}  // namespace kestrix::shell
