#include "KestrixApp/Views/Toast/ToastNotification.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace kestrix::views {

namespace {

const QString service = "org.freedesktop.Notifications";
const QString path = "/org/freedesktop/Notifications";
const QString interface = "org.freedesktop.Notifications";
constexpr int expiresMilliseconds = 4000;

}  // namespace

ToastNotification::ToastNotification(QDBusConnection bus, std::unique_ptr<ToastSurface> fallback)
    : bus_(std::move(bus)), fallback_(std::move(fallback)) {}

void ToastNotification::show(const QString& text) {
    QDBusMessage notify = QDBusMessage::createMethodCall(service, path, interface, "Notify");
    const QVariantMap hints{{"category", "device.removed"}, {"transient", true}};
    notify << QString("Kestrix") << static_cast<uint>(shownId_) << QString("media-eject") << text << QString()
           << QStringList() << hints << expiresMilliseconds;
    // The answer carries the id the next toast replaces.
    auto* answer = new QDBusPendingCallWatcher(bus_.asyncCall(notify), &receiver_);
    QObject::connect(answer, &QDBusPendingCallWatcher::finished, &receiver_,
                     [this, text](QDBusPendingCallWatcher* call) {
                         const QDBusPendingReply<uint> reply = *call;
                         shownId_ = reply.isValid() ? reply.value() : 0;
                         if (!reply.isValid() && fallback_) fallback_->show(text);
                         call->deleteLater();
                     });
}

void ToastNotification::hide() {
    if (fallback_) fallback_->hide();
    if (shownId_ == 0) return;
    bus_.asyncCall(QDBusMessage::createMethodCall(service, path, interface, "CloseNotification")
                   << static_cast<uint>(shownId_));
    shownId_ = 0;
}

}  // namespace kestrix::views
