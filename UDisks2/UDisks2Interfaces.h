#pragma once

#include <QString>

// The UDisks2 interfaces Kestrix reads and calls, by their bus names.
namespace kestrix::UDisks2Interfaces {

inline const QString block = QStringLiteral("org.freedesktop.UDisks2.Block");
inline const QString partition = QStringLiteral("org.freedesktop.UDisks2.Partition");
inline const QString fileSystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
inline const QString encrypted = QStringLiteral("org.freedesktop.UDisks2.Encrypted");
inline const QString loop = QStringLiteral("org.freedesktop.UDisks2.Loop");
inline const QString drive = QStringLiteral("org.freedesktop.UDisks2.Drive");
inline const QString swapspace = QStringLiteral("org.freedesktop.UDisks2.Swapspace");

}  // namespace kestrix::UDisks2Interfaces
