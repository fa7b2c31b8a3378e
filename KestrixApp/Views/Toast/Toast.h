#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "KestrixApp/Model/WaitTimer.h"

namespace kestrix::views {

// What shows a toast's text on screen: a panel of the app's own, or the desktop's notification.
class ToastSurface {
public:
    virtual ~ToastSurface() = default;
    // Shows the text, replacing whatever the surface showed before.
    virtual void show(const QString& text) = 0;
    virtual void hide() = 0;
};

// A short confirmation of what an eject or a command did: one text at a time, for four seconds,
// also spoken by screen readers. A new toast replaces the text and starts its own four seconds.
class Toast : public QObject {
    Q_OBJECT
public:
    static constexpr double lifetimeSeconds = 4.0;

    Toast(std::unique_ptr<ToastSurface> surface, std::shared_ptr<WaitTimer> timer,
          std::function<void(const QString&)> announce, QObject* parent = nullptr);
    ~Toast() override;

    void showToast(const QString& text);

private:
    std::unique_ptr<ToastSurface> surface_;
    std::shared_ptr<WaitTimer> timer_;
    std::function<void(const QString&)> announce_;
    // Counts the toasts shown, so that only the newest one's wait hides the surface.
    std::uint64_t shown_ = 0;
};

// The toast that fits the desktop: the app's own panel where the app may place windows (X11),
// the desktop's notification where it may not (Wayland). announce speaks the text where the
// toast has no window of its own to speak from.
std::unique_ptr<Toast> makeDesktopToast(std::function<void(const QString&)> announce);

}  // namespace kestrix::views
