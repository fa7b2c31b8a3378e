#pragma once

#include <QDBusConnection>
#include <QObject>
#include <cstdint>
#include <memory>

#include "KestrixApp/Views/Toast/Toast.h"

namespace kestrix::views {

// The toast as the desktop's notification, for desktops where an app can't place a window of
// its own. Each toast replaces the previous notification instead of stacking up. Where no
// notification server answers, the fallback shows the toast, so that a result is never lost.
class ToastNotification : public ToastSurface {
public:
    explicit ToastNotification(QDBusConnection bus = QDBusConnection::sessionBus(),
                               std::unique_ptr<ToastSurface> fallback = nullptr);

    void show(const QString& text) override;
    void hide() override;

private:
    QDBusConnection bus_;
    std::unique_ptr<ToastSurface> fallback_;
    // Receives the server's answers while the toast lives.
    QObject receiver_;
    // The notification on screen, 0 for none; given by the notification server.
    std::uint32_t shownId_ = 0;
};

}  // namespace kestrix::views
