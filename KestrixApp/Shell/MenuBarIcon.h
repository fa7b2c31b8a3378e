#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QSystemTrayIcon;

namespace kestrix {
class AppModel;
}

namespace kestrix::shell {

// The app's icon in the tray: the eject icon, marked while drives need the user, and a click
// opens the panel next to it.
class MenuBarIcon : public QObject {
    Q_OBJECT
public:
    // What the icon's menu offers besides the panel.
    struct Commands {
        std::function<void(QPoint)> openPanel;  // gets the point to open the panel at
        std::function<void()> openMain;
        std::function<void()> ejectAll;
        std::function<void()> checkForUpdates;  // empty where updates are off
        std::function<void()> showAbout;
        std::function<void()> quit;
    };

    MenuBarIcon(AppModel& model, Commands commands, QObject* parent = nullptr);

    // False where the desktop has no tray (stock GNOME): the panel is then a normal window.
    static bool isAvailable();
    void show();

    // "Kestrix, drives that need you: N", or "Kestrix" when none do.
    static QString label(int attentionCount);

private:
    void update(int attentionCount);

    QSystemTrayIcon* tray_;
    Commands commands_;
};

}  // namespace kestrix::shell
