#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QString>
#include <QVariantMap>

#include "KestrixApp/Desktop/Hotkey/GlobalHotkey.h"

namespace kestrix::desktop {

// The hotkey on Wayland, through the desktop portal's GlobalShortcuts: the app asks for the
// shortcut, the desktop binds it (it may ask the user first) and says when it is pressed.
class PortalGlobalShortcut : public GlobalHotkey {
    Q_OBJECT
public:
    static constexpr const char* shortcutId = "eject-all";

    explicit PortalGlobalShortcut(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~PortalGlobalShortcut() override;

    // Whether the desktop's portal offers global shortcuts at all.
    static bool isAvailable(const QDBusConnection& bus = QDBusConnection::sessionBus());

    // Asks for the shortcut; true when the request went out. It is bound once the desktop
    // answers (isGrabbed turns true then).
    bool grab() override;
    void release() override;
    bool isGrabbed() const override { return bound_; }

private slots:
    void sessionCreated(uint response, const QVariantMap& results);
    void shortcutsBound(uint response, const QVariantMap& results);
    // Activated(o session, s shortcut, t timestamp, a{sv} options).
    void activated(const QDBusMessage& message);

private:
    // Where the portal will answer a request made with this token.
    QString requestPath(const QString& token) const;
    QString nextToken();
    void closeSession();

    QDBusConnection bus_;
    QString session_;
    bool wanted_ = false;
    bool bound_ = false;
    int tokens_ = 0;
};

}  // namespace kestrix::desktop
