#include "KestrixApp/Desktop/Hotkey/PortalGlobalShortcut.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QList>

#include "KestrixKit/Text/Localized.h"

namespace {

constexpr const char* portalService = "org.freedesktop.portal.Desktop";
constexpr const char* portalPath = "/org/freedesktop/portal/desktop";
constexpr const char* shortcutsInterface = "org.freedesktop.portal.GlobalShortcuts";
constexpr const char* requestInterface = "org.freedesktop.portal.Request";

// One entry of BindShortcuts' a(sa{sv}): the shortcut's id and what the desktop shows of it.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

}  // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace kestrix::desktop {

PortalGlobalShortcut::PortalGlobalShortcut(QDBusConnection bus, QObject* parent)
    : GlobalHotkey(parent), bus_(std::move(bus)) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    // The press is read from the message itself: its arguments are few and fixed.
    bus_.connect(portalService, portalPath, shortcutsInterface, "Activated", this, SLOT(activated(QDBusMessage)));
}

PortalGlobalShortcut::~PortalGlobalShortcut() { closeSession(); }

bool PortalGlobalShortcut::isAvailable(const QDBusConnection& bus) {
    auto get = QDBusMessage::createMethodCall(portalService, portalPath, "org.freedesktop.DBus.Properties", "Get");
    get << QString(shortcutsInterface) << QString("version");
    return bus.call(get, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
}

QString PortalGlobalShortcut::nextToken() { return QString("kestrix%1").arg(++tokens_); }

QString PortalGlobalShortcut::requestPath(const QString& token) const {
    QString sender = bus_.baseService().mid(1);
    sender.replace('.', '_');
    return QString("%1/request/%2/%3").arg(portalPath, sender, token);
}

bool PortalGlobalShortcut::grab() {
    wanted_ = true;
    if (bound_ || !session_.isEmpty()) return true;
    const QString token = nextToken();
    // The answer comes as a signal on the request's path: listen before asking.
    bus_.connect(portalService, requestPath(token), requestInterface, "Response", this,
                 SLOT(sessionCreated(uint, QVariantMap)));
    auto create = QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, "CreateSession");
    create << QVariantMap{{"handle_token", token}, {"session_handle_token", nextToken()}};
    return bus_.call(create, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
}

void PortalGlobalShortcut::release() {
    wanted_ = false;
    closeSession();
}

void PortalGlobalShortcut::closeSession() {
    bound_ = false;
    if (session_.isEmpty()) return;
    bus_.call(QDBusMessage::createMethodCall(portalService, session_, "org.freedesktop.portal.Session", "Close"),
              QDBus::Block, 2000);
    session_.clear();
}

void PortalGlobalShortcut::sessionCreated(uint response, const QVariantMap& results) {
    const QVariant handle = results.value("session_handle");
    // Portals give the handle as a string; some as an object path.
    const QString session = handle.metaType() == QMetaType::fromType<QDBusObjectPath>()
                                ? handle.value<QDBusObjectPath>().path()
                                : handle.toString();
    if (response != 0 || session.isEmpty()) return;
    session_ = session;
    if (!wanted_) {
        closeSession();
        return;
    }
    const QString token = nextToken();
    bus_.connect(portalService, requestPath(token), requestInterface, "Response", this,
                 SLOT(shortcutsBound(uint, QVariantMap)));
    const QList<PortalShortcut> shortcuts{
        {shortcutId,
         {{"description", QString::fromStdString(localized("Eject All Drives"))}, {"preferred_trigger", "CTRL+ALT+LOGO+e"}}}};
    auto bind = QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, "BindShortcuts");
    bind << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts) << QString()
         << QVariantMap{{"handle_token", token}};
    bus_.call(bind, QDBus::Block, 5000);
}

void PortalGlobalShortcut::shortcutsBound(uint response, const QVariantMap&) { bound_ = response == 0 && wanted_; }

void PortalGlobalShortcut::activated(const QDBusMessage& message) {
    const QVariantList arguments = message.arguments();
    const QString session = arguments.value(0).value<QDBusObjectPath>().path();
    const QString id = arguments.value(1).toString();
    if (bound_ && session == session_ && id == shortcutId) emit pressed();
}

}  // namespace kestrix::desktop
