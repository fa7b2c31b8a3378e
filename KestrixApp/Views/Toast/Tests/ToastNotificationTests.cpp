#include <QDBusConnection>
#include <QTest>
#include <QVariantMap>
#include <gtest/gtest.h>

#include "KestrixApp/TestSupport/PrivateSessionBus.h"
#include "KestrixApp/Views/Toast/Tests/RecordingToastSurface.h"
#include "KestrixApp/Views/Toast/ToastNotification.h"

namespace {

// A desktop's notification server that remembers what it was asked.
class FakeNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notification {
        uint replaces;
        QString summary;
        int expires;
    };
    std::vector<Notification> notified;
    std::vector<uint> closed;

public slots:
    uint Notify(const QString&, uint replacesId, const QString&, const QString& summary, const QString&,
                const QStringList&, const QVariantMap&, int expireTimeout) {
        notified.push_back({replacesId, summary, expireTimeout});
        return replacesId != 0 ? replacesId : 40 + static_cast<uint>(notified.size());
    }
    void CloseNotification(uint id) { closed.push_back(id); }
};

TEST(ToastNotification, EachToastReplacesThePreviousNotificationAndExpiresAfterFourSeconds) {
    kestrix::desktop::test::PrivateSessionBus bus;
    if (!bus.problem().empty()) GTEST_SKIP() << bus.problem();
    auto desktop = QDBusConnection::connectToBus(QString::fromStdString(bus.address()), "fake-notifications");
    auto app = QDBusConnection::connectToBus(QString::fromStdString(bus.address()), "kestrix-toast");
    FakeNotificationServer server;
    ASSERT_TRUE(desktop.registerObject("/org/freedesktop/Notifications", &server, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(desktop.registerService("org.freedesktop.Notifications"));
    {
        kestrix::views::ToastNotification toast(app);
        toast.show("Travel SSD was ejected.");
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.notified.size() == 1; }, 3000));
        QTest::qWait(100);  // the answer with the notification's id
        toast.show("Photos Card was ejected.");
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.notified.size() == 2; }, 3000));
        EXPECT_EQ(server.notified[0].replaces, 0u);
        EXPECT_EQ(server.notified[1].replaces, 41u);
        EXPECT_EQ(server.notified[1].summary, "Photos Card was ejected.");
        EXPECT_EQ(server.notified[1].expires, 4000);
        QTest::qWait(100);
        toast.hide();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !server.closed.empty(); }, 3000));
        EXPECT_EQ(server.closed, std::vector<uint>{41u});
    }
    QDBusConnection::disconnectFromBus("fake-notifications");
    QDBusConnection::disconnectFromBus("kestrix-toast");
}

TEST(ToastNotification, WithNoNotificationServerTheFallbackShowsTheToast) {
    kestrix::desktop::test::PrivateSessionBus bus;
    if (!bus.problem().empty()) GTEST_SKIP() << bus.problem();
    auto app = QDBusConnection::connectToBus(QString::fromStdString(bus.address()), "kestrix-toast-alone");
    {
        auto fallback = std::make_unique<kestrix::views::testing::RecordingToastSurface>();
        kestrix::views::testing::RecordingToastSurface& window = *fallback;
        kestrix::views::ToastNotification toast(app, std::move(fallback));
        toast.show("KXW2 is in use by gedit.");
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.visible; }, 5000)) << "nothing shown";
        EXPECT_EQ(window.shown, "KXW2 is in use by gedit.");
        toast.hide();
        EXPECT_FALSE(window.visible);
    }
    QDBusConnection::disconnectFromBus("kestrix-toast-alone");
}

}  // namespace

#include "ToastNotificationTests.moc"
