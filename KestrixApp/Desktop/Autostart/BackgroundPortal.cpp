#include "KestrixApp/Desktop/Autostart/BackgroundPortal.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include "KestrixApp/Desktop/Autostart/PortalResponse.h"
#include "KestrixKit/Text/Localized.h"

namespace kestrix::desktop {

namespace {

constexpr const char* portalService = "org.freedesktop.portal.Desktop";
constexpr const char* portalPath = "/org/freedesktop/portal/desktop";

}  // namespace

BackgroundPortal::BackgroundPortal(QDBusConnection bus, QStringList commandLine, std::chrono::milliseconds timeout)
    : bus_(std::move(bus)), commandLine_(std::move(commandLine)), timeout_(timeout) {}

bool BackgroundPortal::isSandboxed() { return QFile::exists("/.flatpak-info"); }

std::optional<std::string> BackgroundPortal::request(bool autostart) {
    const QString token = QString("kestrix%1").arg(++tokens_);
    QString sender = bus_.baseService().mid(1);
    sender.replace('.', '_');
    // The answer is a signal on the request's path: listen before asking.
    PortalResponse response;
    bus_.connect(portalService, QString("%1/request/%2/%3").arg(portalPath, sender, token),
                 "org.freedesktop.portal.Request", "Response", &response, SLOT(take(QDBusMessage)));
    auto ask = QDBusMessage::createMethodCall(portalService, portalPath, "org.freedesktop.portal.Background",
                                              "RequestBackground");
    ask << QString() << QVariantMap{{"handle_token", token},
                                    {"reason", QString::fromStdString(localized("Kestrix starts when you log in."))},
                                    {"autostart", autostart},
                                    {"commandline", commandLine_},
                                    {"dbus-activatable", false}};
    const QDBusMessage asked = bus_.call(ask, QDBus::Block, 5000);
    if (asked.type() == QDBusMessage::ErrorMessage) return asked.errorMessage().toStdString();

    QEventLoop waiting;
    QTimer::singleShot(timeout_, &waiting, &QEventLoop::quit);
    QObject::connect(&response, &PortalResponse::arrived, &waiting, &QEventLoop::quit);
    if (!response.answered()) waiting.exec();
    if (!response.answered()) return "the desktop did not answer";
    if (response.code() != 0) return "the request was refused";
    if (response.results().value("autostart").toBool() != autostart) return "the desktop did not allow it";
    return std::nullopt;
}

}  // namespace kestrix::desktop
