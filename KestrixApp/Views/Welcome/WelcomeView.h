#pragma once

#include <QString>
#include <QWidget>
#include <functional>

namespace kestrix {
class AppModel;
}

namespace kestrix::views {

// The first-launch window: where the app is, what it does and doesn't, the login choice, and the
// way in.
class WelcomeView : public QWidget {
    Q_OBJECT
public:
    // inTray: the desktop shows the app's tray icon; otherwise the app is a window of its own.
    WelcomeView(AppModel& model, std::function<void(const QString& windowId)> openWindow, bool inTray,
                QWidget* parent = nullptr);

    // Remembers at once that the welcome was completed, so that it does not come back even if
    // the app ends right after, and closes the window.
    void getStarted();

private:
    AppModel& model_;
};

}  // namespace kestrix::views
