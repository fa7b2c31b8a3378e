#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDBusObjectPath>
#include <QSignalSpy>
#include <QTest>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include "KestrixApp/Desktop/Hotkey/PortalGlobalShortcut.h"
#include "KestrixApp/TestSupport/PrivateSessionBus.h"

namespace {

using kestrix::desktop::PortalGlobalShortcut;

constexpr const char* portalPath = "/org/freedesktop/portal/desktop";


// The desktop portal's GlobalShortcuts as a desktop answers it: every request granted at once.
// A virtual object reads the calls as they come, whatever types they carry.
class FakeShortcutsPortal : public QDBusVirtualObject {
public:
    explicit FakeShortcutsPortal(QDBusConnection bus) : bus_(std::move(bus)) {}

    QStringList boundIds;
    int openSessions = 0;
    QString session;

    void press(const QString& id) {
        auto signal = QDBusMessage::createSignal(portalPath, "org.freedesktop.portal.GlobalShortcuts", "Activated");
        signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(0) << QVariantMap{};
        bus_.send(signal);
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const auto arguments = message.arguments();
        if (message.member() == "Get") {
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(1u))));
        } else if (message.member() == "CreateSession") {
            const auto options = qdbus_cast<QVariantMap>(arguments.value(0));
            session = QString("%1/session/x/%2").arg(portalPath, options.value("session_handle_token").toString());
            ++openSessions;
            answer(message, connection, options.value("handle_token").toString(), {{"session_handle", session}});
        } else if (message.member() == "BindShortcuts") {
            const auto shortcuts = arguments.value(1).value<QDBusArgument>();
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
            answer(message, connection, qdbus_cast<QVariantMap>(arguments.value(3)).value("handle_token").toString(), {});
        } else {
            return false;
        }
        return true;
    }

private:
    // The call returns its request's path, and the answer follows as that request's signal.
    void answer(const QDBusMessage& message, const QDBusConnection& connection, const QString& token,
                const QVariantMap& results) {
        QString sender = message.service().mid(1);
        sender.replace('.', '_');
        const QString request = QString("%1/request/%2/%3").arg(portalPath, sender, token);
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        auto response = QDBusMessage::createSignal(request, "org.freedesktop.portal.Request", "Response");
        response << 0u << results;
        connection.send(response);
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
    // The desktop answers from a thread of its own, as another process would: the app's calls
    // block its thread until the answer comes.
    QThread desktopThread;
    desktopThread.start();
    const auto stopDesktop = qScopeGuard([&] {
        desktopThread.quit();
        desktopThread.wait();
    });
    portal.moveToThread(&desktopThread);
    session.moveToThread(&desktopThread);
    ASSERT_TRUE(desktop.registerVirtualObject(portalPath, &portal));
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
