#pragma once

#include <QObject>
#include <QRect>
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
        std::function<void(QRect)> openPanel;  // gets the icon's place on screen, to open the panel beside
        std::function<void()> openMain;
        std::function<void()> ejectAll;
        std::function<void()> checkForUpdates;  // empty where updates are off
        std::function<void()> showAbout;
        std::function<void()> quit;
    };

    MenuBarIcon(AppModel& model, Commands commands, QObject* parent = nullptr);

    void show();

    // "Kestrix, drives that need you: N", or "Kestrix" when none do.
    static QString label(int attentionCount);

private:
    void update(int attentionCount);

    QSystemTrayIcon* tray_;
    Commands commands_;
};

}  // namespace kestrix::shell
