#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QVariantMap>

namespace kestrix::desktop {

// The answer to one portal request: Response(u code, a{sv} results) on the request's path.
class PortalResponse : public QObject {
    Q_OBJECT
public:
    bool answered() const { return answered_; }
    // 0 granted, 1 cancelled by the user, 2 refused otherwise.
    uint code() const { return code_; }
    const QVariantMap& results() const { return results_; }

signals:
    void arrived();

public slots:
    void take(const QDBusMessage& message);

private:
    bool answered_ = false;
    uint code_ = 2;
    QVariantMap results_;
};

}  // namespace kestrix::desktop
