#include "KestrixApp/Desktop/Autostart/PortalResponse.h"

#include <QDBusArgument>

namespace kestrix::desktop {

void PortalResponse::take(const QDBusMessage& message) {
    const QVariantList arguments = message.arguments();
    code_ = arguments.value(0).toUInt();
    const QVariant results = arguments.value(1);
    results_ = results.userType() == qMetaTypeId<QDBusArgument>() ? qdbus_cast<QVariantMap>(results.value<QDBusArgument>())
                                                   : results.toMap();
    answered_ = true;
    emit arrived();
}

}  // namespace kestrix::desktop
