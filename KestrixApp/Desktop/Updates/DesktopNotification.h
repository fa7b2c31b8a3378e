#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QUrl>

namespace kestrix::desktop {

// A desktop notification (org.freedesktop.Notifications) that opens a web page when the user
// picks it. Without a notification server nothing is shown, and nothing fails.
class DesktopNotification : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotification(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    // actionLabel names the button where the server shows buttons; picking it or the
    // notification itself opens the page.
    void show(const QString& summary, const QString& body, const QString& actionLabel, const QUrl& page);

signals:
    // The user picked a notification of ours; the page has been handed to the browser.
    void pageOpened(const QUrl& page);

private slots:
    void actionInvoked(uint id, const QString& actionKey);

private:
    QDBusConnection bus_;
    uint shownId_ = 0;
    QUrl page_;
};

}  // namespace kestrix::desktop
