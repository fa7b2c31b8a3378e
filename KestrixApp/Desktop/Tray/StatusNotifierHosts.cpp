#include "KestrixApp/Desktop/Tray/StatusNotifierHosts.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace kestrix::desktop {
namespace {

constexpr const char* watcherPath = "/StatusNotifierWatcher";
constexpr const char* watcherInterface = "org.kde.StatusNotifierWatcher";

QDBusMessage hostQuestion() {
    QDBusMessage question = QDBusMessage::createMethodCall(StatusNotifierHosts::watcherService, watcherPath,
                                                           "org.freedesktop.DBus.Properties", "Get");
    question << QString(watcherInterface) << QString("IsStatusNotifierHostRegistered");
    return question;
}

bool answerSaysRegistered(const QDBusMessage& answer) {
    if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().isEmpty()) return false;
    return answer.arguments().first().value<QDBusVariant>().variant().toBool();
}

}  // namespace

StatusNotifierHosts::StatusNotifierHosts(const QDBusConnection& bus, QObject* parent)
    : TrayPresence(parent), bus_(bus) {
    if (!bus_.isConnected()) return;
    auto* watcher = new QDBusServiceWatcher(watcherService, bus_,
                                            QDBusServiceWatcher::WatchForRegistration |
                                                QDBusServiceWatcher::WatchForUnregistration,
                                            this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &StatusNotifierHosts::askWatcher);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] { setPresent(false); });
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus_.connect(watcherService, watcherPath, watcherInterface, signal, this, SLOT(askWatcher()));
    // The first answer decides how the app starts, so it is waited for; a watcher that does not
    // answer within a second counts as no tray until it speaks up.
    setPresent(answerSaysRegistered(bus_.call(hostQuestion(), QDBus::Block, 1000)));
}

void StatusNotifierHosts::askWatcher() {
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(hostQuestion()), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        setPresent(answerSaysRegistered(finished->reply()));
        finished->deleteLater();
    });
}

void StatusNotifierHosts::setPresent(bool present) {
    if (present == present_) return;
    present_ = present;
    emit presenceChanged(present_);
}

}  // namespace kestrix::desktop
