#include "KestrixApp/Views/Icons/AppIcons.h"

namespace kestrix::views {

QIcon trayIcon(bool needsAttention) {
    return QIcon(needsAttention ? QStringLiteral(":/kestrix/icons/tray-attention.svg")
                                : QStringLiteral(":/kestrix/icons/tray.svg"));
}

}  // namespace kestrix::views
