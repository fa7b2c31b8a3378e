#include "KestrixApp/Views/Toast/Toast.h"

#include "KestrixApp/Desktop/Accessibility/Announcer.h"
#include "KestrixApp/Views/Cards/ShownText.h"
#include "KestrixApp/Views/Style/WindowFit.h"
#include "KestrixApp/Views/Toast/ToastNotification.h"
#include "KestrixApp/Views/Toast/ToastPanel.h"

namespace kestrix::views {

Toast::Toast(std::unique_ptr<ToastSurface> surface, std::shared_ptr<WaitTimer> timer,
             std::function<void(const QString&)> announce, QObject* parent)
    : QObject(parent), surface_(std::move(surface)), timer_(std::move(timer)), announce_(std::move(announce)) {}

Toast::~Toast() = default;

void Toast::showToast(const QString& text) {
    const std::uint64_t mine = ++shown_;
    // Names in a toast come from outside (a link, a drive's label): a line break or a direction
    // mark in one must not fake a message of the app's own.
    const QString shown = shownText(text.toStdString());
    surface_->show(shown);
    if (announce_) announce_(shown);
    // An earlier toast's wait still ends, but finds a newer toast and leaves it alone.
    timer_->after(lifetimeSeconds, this, [this, mine] {
        if (mine == shown_) surface_->hide();
    });
}

std::unique_ptr<Toast> makeDesktopToast(std::function<void(const QString&)> announce) {
    auto timer = std::make_shared<ClockWaitTimer>();
    if (compositorPlacesWindows())
        return std::make_unique<Toast>(
            std::make_unique<ToastNotification>(QDBusConnection::sessionBus(), std::make_unique<ToastPanel>()), timer,
            std::move(announce));
    auto panel = std::make_unique<ToastPanel>();
    auto* announcer = new desktop::Announcer(panel->widget());
    return std::make_unique<Toast>(std::move(panel), timer,
                                   [announcer](const QString& text) { announcer->announce(text); });
}

}  // namespace kestrix::views
