#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "KestrixApp/Desktop/Hotkey/PortalGlobalShortcut.h"
#include "KestrixApp/TestSupport/PrivateSessionBus.h"

namespace {

using kestrix::desktop::PortalGlobalShortcut;

constexpr const char* portalPath = "/org/freedesktop/portal/desktop";

// The desktop portal's GlobalShortcuts as a desktop answers it: every request granted at once.
class FakeShortcutsPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)
public:
    explicit FakeShortcutsPortal(QDBusConnection bus) : bus_(std::move(bus)) {}
    uint version() const { return 1; }

    QStringList boundIds;
    int openSessions = 0;
    QString session;

    void press(const QString& id) {
        auto signal = QDBusMessage::createSignal(portalPath, "org.freedesktop.portal.GlobalShortcuts", "Activated");
        signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(0) << QVariantMap{};
        bus_.send(signal);
    }

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options, const QDBusMessage& message) {
        const QString request = requestPath(message, options.value("handle_token").toString());
        session = QString("%1/session/x/%2").arg(portalPath, options.value("session_handle_token").toString());
        ++openSessions;
        respond(request, {{"session_handle", session}});
        return QDBusObjectPath(request);
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath&, const QDBusArgument& shortcuts, const QString&,
                                  const QVariantMap& options, const QDBusMessage& message) {
        shortcuts.beginArray();
        while (!shortcuts.atEnd()) {
            QString id;
            QVariantMap properties;
            shortcuts.beginStructure();
            shortcuts >> id >> properties;
            shortcuts.endStructure();
            boundIds << id;
        }
        shortcuts.endArray();
        const QString request = requestPath(message, options.value("handle_token").toString());
        respond(request, {});
        return QDBusObjectPath(request);
    }

private:
    static QString requestPath(const QDBusMessage& message, const QString& token) {
        QString sender = message.service().mid(1);
        sender.replace('.', '_');
        return QString("%1/request/%2/%3").arg(portalPath, sender, token);
    }
    void respond(const QString& request, const QVariantMap& results) {
        QTimer::singleShot(0, this, [this, request, results] {
            auto response = QDBusMessage::createSignal(request, "org.freedesktop.portal.Request", "Response");
            response << 0u << results;
            bus_.send(response);
        });
    }

    QDBusConnection bus_;
};

// The session object the portal makes for each client; closing it gives the shortcut up.
class FakeSession : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")
public:
    explicit FakeSession(FakeShortcutsPortal& portal) : portal_(portal) {}
public slots:
    void Close() { --portal_.openSessions; }

private:
    FakeShortcutsPortal& portal_;
};

TEST(PortalGlobalShortcut, BindsThroughThePortalAndHearsThePress) {
    kestrix::desktop::test::PrivateSessionBus bus;
    if (!bus.problem().empty()) GTEST_SKIP() << bus.problem();
    auto desktop = QDBusConnection::connectToBus(QString::fromStdString(bus.address()), "fake-portal");
    auto app = QDBusConnection::connectToBus(QString::fromStdString(bus.address()), "kestrix-app");
    EXPECT_FALSE(PortalGlobalShortcut::isAvailable(app)) << "no portal yet";

    FakeShortcutsPortal portal(desktop);
    FakeSession session(portal);
    ASSERT_TRUE(desktop.registerObject(portalPath, &portal, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
    ASSERT_TRUE(desktop.registerService("org.freedesktop.portal.Desktop"));
    ASSERT_TRUE(PortalGlobalShortcut::isAvailable(app));

    {
        PortalGlobalShortcut hotkey(app);
        QSignalSpy presses(&hotkey, &PortalGlobalShortcut::pressed);
        ASSERT_TRUE(hotkey.grab());
        ASSERT_TRUE(QTest::qWaitFor([&] { return hotkey.isGrabbed(); }, 3000));
        EXPECT_EQ(portal.boundIds, QStringList{"eject-all"});
        ASSERT_TRUE(desktop.registerObject(portal.session, &session, QDBusConnection::ExportAllSlots));

        portal.press("something-else");
        portal.press("eject-all");
        ASSERT_TRUE(presses.wait(3000));
        EXPECT_EQ(presses.count(), 1);

        hotkey.release();
        EXPECT_FALSE(hotkey.isGrabbed());
        EXPECT_EQ(portal.openSessions, 0) << "releasing closes the portal session";
    }
    QDBusConnection::disconnectFromBus("fake-portal");
    QDBusConnection::disconnectFromBus("kestrix-app");
}

}  // namespace

#include "PortalGlobalShortcutTests.moc"
