#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

// A notification server that keeps what it was asked to show.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Shown {
        QString appName;
        uint replacesId = 0;
        QString icon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
    };
    static constexpr uint firstId = 7;

    QList<Shown> shown;

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int) {
        shown.append({appName, replacesId, icon, summary, body, actions, hints});
        return firstId + static_cast<uint>(shown.size()) - 1;
    }
};

// Stands in for the browser: keeps the pages it was asked to open.
class PageCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& page) { opened.append(page); }
};
