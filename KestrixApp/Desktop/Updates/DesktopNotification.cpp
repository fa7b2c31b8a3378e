#include "KestrixApp/Desktop/Updates/DesktopNotification.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QVariantMap>

namespace kestrix::desktop {

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString openPage = QStringLiteral("default");

}  // namespace

DesktopNotification::DesktopNotification(QDBusConnection bus, QObject* parent) : QObject(parent), bus_(std::move(bus)) {
    bus_.connect(service, path, interface, QStringLiteral("ActionInvoked"), this, SLOT(actionInvoked(uint, QString)));
}

void DesktopNotification::show(const QString& summary, const QString& body, const QString& actionLabel,
                               const QUrl& page) {
    auto message = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("com.orvane.Kestrix")}};
    message << QStringLiteral("Kestrix") << shownId_ << QStringLiteral("com.orvane.Kestrix") << summary << body
            << QStringList{openPage, actionLabel} << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, page] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError()) return;
        shownId_ = reply.value();
        page_ = page;
    });
}

void DesktopNotification::actionInvoked(uint id, const QString& actionKey) {
    if (id == 0 || id != shownId_ || actionKey != openPage) return;
    QDesktopServices::openUrl(page_);
    emit pageOpened(page_);
}

}  // namespace kestrix::desktop
