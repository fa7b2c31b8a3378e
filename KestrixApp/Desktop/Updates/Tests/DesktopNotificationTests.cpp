#include <gtest/gtest.h>

#include <QDBusMessage>
#include <QDesktopServices>
#include <QSignalSpy>
#include <QTest>

#include "FakeNotifications.h"
#include "UDisks2/TestSupport/PrivateBus.h"
#include "KestrixApp/Desktop/Updates/DesktopNotification.h"

namespace {

using kestrix::desktop::DesktopNotification;

const QString path = "/org/freedesktop/Notifications";
const QString interface = "org.freedesktop.Notifications";

class NotificationBus : public testing::Test {
protected:
    void SetUp() override {
        if (bus_.skipReason()) GTEST_SKIP() << *bus_.skipReason();
        QDesktopServices::setUrlHandler("https", &browser_, "open");
    }
    void TearDown() override { QDesktopServices::unsetUrlHandler("https"); }

    // Starts the notification server on the bus.
    QDBusConnection serve() {
        auto server = bus_.connect("notifications");
        EXPECT_TRUE(server.registerObject(path, &notifications_, QDBusConnection::ExportAllSlots));
        EXPECT_TRUE(server.registerService(interface));
        return server;
    }

    static void pick(QDBusConnection& server, uint id) {
        server.send(QDBusMessage::createSignal(path, interface, "ActionInvoked") << id << QString("default"));
    }

    kestrix::test::PrivateBus bus_;
    FakeNotifications notifications_;
    PageCatcher browser_;
};

TEST_F(NotificationBus, PickingOurNotificationOpensItsPage) {
    auto server = serve();
    DesktopNotification notification(bus_.connect("app"));
    QSignalSpy opened(&notification, &DesktopNotification::pageOpened);
    notification.show("Kestrix 0.2 is available", "You have version 0.1.", "Download…",
                      QUrl("https://orvane.com/kestrix/0.2"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifications_.shown.isEmpty(); }, 5000));
    const auto& shown = notifications_.shown.first();
    EXPECT_EQ(shown.appName, "Kestrix");
    EXPECT_EQ(shown.icon, "com.orvane.Kestrix");
    EXPECT_EQ(shown.summary, "Kestrix 0.2 is available");
    EXPECT_EQ(shown.body, "You have version 0.1.");
    EXPECT_EQ(shown.actions, (QStringList{"default", "Download…"}));
    EXPECT_EQ(shown.hints.value("desktop-entry").toString(), "com.orvane.Kestrix");

    QTest::qWait(100);  // the server's answer gives the notification its id
    pick(server, FakeNotifications::firstId + 1);
    pick(server, FakeNotifications::firstId);
    ASSERT_TRUE(opened.wait(5000));
    QTest::qWait(100);
    EXPECT_EQ(browser_.opened, QList<QUrl>{QUrl("https://orvane.com/kestrix/0.2")}) << "someone else's is not ours";
}

TEST_F(NotificationBus, ASecondNoticeReplacesTheFirst) {
    auto server = serve();
    DesktopNotification notification(bus_.connect("app"));
    notification.show("Kestrix 0.2 is available", "", "Download…", QUrl("https://orvane.com/kestrix/0.2"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return notifications_.shown.size() == 1; }, 5000));
    QTest::qWait(100);
    notification.show("Kestrix 0.3 is available", "", "Download…", QUrl("https://orvane.com/kestrix/0.3"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return notifications_.shown.size() == 2; }, 5000));
    EXPECT_EQ(notifications_.shown[1].replacesId, FakeNotifications::firstId);
}

TEST_F(NotificationBus, WithoutANotificationServerNothingHappens) {
    DesktopNotification notification(bus_.connect("app"));
    QSignalSpy opened(&notification, &DesktopNotification::pageOpened);
    notification.show("Kestrix 0.2 is available", "", "Download…", QUrl("https://orvane.com/kestrix/0.2"));
    QTest::qWait(300);
    auto server = serve();
    pick(server, 0);
    QTest::qWait(200);
    EXPECT_EQ(opened.count(), 0);
    EXPECT_TRUE(browser_.opened.isEmpty());
}

}  // namespace

#include "moc_FakeNotifications.cpp"
