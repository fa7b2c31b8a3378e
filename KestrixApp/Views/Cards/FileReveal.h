#pragma once

#include <QDBusConnection>
#include <QString>

namespace kestrix::views {

// Opens the file manager with the file selected, through the desktop's file manager service on
// the session bus; where no file manager answers, opens the file's folder.
void revealFile(const QString& path, const QDBusConnection& bus = QDBusConnection::sessionBus());

}  // namespace kestrix::views
