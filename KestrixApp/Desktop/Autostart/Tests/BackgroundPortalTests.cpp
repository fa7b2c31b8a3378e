#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QScopeGuard>
#include <QThread>
#include <gtest/gtest.h>

#include "KestrixApp/Desktop/Autostart/BackgroundPortal.h"
#include "KestrixApp/TestSupport/PrivateSessionBus.h"

namespace {

using kestrix::desktop::BackgroundPortal;

// The desktop portal's Background interface as a desktop answers it, with the answer the test
// chooses; it keeps what it was asked.
class FakeBackgroundPortal : public QDBusVirtualObject {
public:
    uint answer = 0;
    QVariantMap asked;

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != "RequestBackground") return false;
        asked = qdbus_cast<QVariantMap>(message.arguments().value(1));
        QString sender = message.service().mid(1);
        sender.replace('.', '_');
        const QString request = QString("/org/freedesktop/portal/desktop/request/%1/%2")
                                    .arg(sender, asked.value("handle_token").toString());
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        auto response = QDBusMessage::createSignal(request, "org.freedesktop.portal.Request", "Response");
        response << answer << QVariantMap{{"background", true}, {"autostart", asked.value("autostart")}};
        connection.send(response);
        return true;
    }
};

TEST(BackgroundPortal, AsksToStartAtLoginAndHearsTheAnswer) {
    kestrix::desktop::test::PrivateSessionBus bus;
    if (!bus.problem().empty()) GTEST_SKIP() << bus.problem();
    auto desktop = QDBusConnection::connectToBus(QString::fromStdString(bus.address()), "fake-background");
    auto app = QDBusConnection::connectToBus(QString::fromStdString(bus.address()), "kestrix-background");
    BackgroundPortal portal(app, {"kestrix", "--background"}, std::chrono::seconds(3));
    EXPECT_TRUE(portal.request(true).has_value()) << "no portal, no autostart";

    FakeBackgroundPortal background;
    ASSERT_TRUE(desktop.registerVirtualObject("/org/freedesktop/portal/desktop", &background));
    ASSERT_TRUE(desktop.registerService("org.freedesktop.portal.Desktop"));
    // The desktop answers from a thread of its own, as another process would.
    QThread desktopThread;
    desktopThread.start();
    background.moveToThread(&desktopThread);
    const auto stop = qScopeGuard([&] {
        desktopThread.quit();
        desktopThread.wait();
    });

    EXPECT_EQ(portal.request(true), std::nullopt);
    EXPECT_TRUE(background.asked.value("autostart").toBool());
    EXPECT_EQ(background.asked.value("commandline").toStringList(), (QStringList{"kestrix", "--background"}));
    EXPECT_EQ(portal.request(false), std::nullopt);
    EXPECT_FALSE(background.asked.value("autostart").toBool());

    background.answer = 1;  // the user said no
    EXPECT_EQ(portal.request(true), std::optional<std::string>("the request was refused"));
}

}  // namespace
