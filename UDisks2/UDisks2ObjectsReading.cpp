#include "UDisks2/UDisks2ObjectsReading.h"

#include <algorithm>

#include <QDBusObjectPath>
#include <QMap>
#include <QStringList>
#include <QVariantMap>

#include "UDisks2/UDisks2Interfaces.h"

namespace kestrix {
namespace {

using Interfaces = QMap<QString, QVariantMap>;


// Device names and mount points are NUL-terminated byte strings ("ay").
std::string byteString(const QVariant& value) {
    if (value.metaType() != QMetaType::fromType<QByteArray>()) return {};
    QByteArray bytes = value.toByteArray();
    while (bytes.endsWith('\0')) bytes.chop(1);
    return bytes.toStdString();
}

// A list of byte strings ("aay") arrives undecoded.
std::vector<std::string> byteStrings(const QVariant& value) {
    std::vector<std::string> strings;
    if (value.metaType() != QMetaType::fromType<QDBusArgument>()) return strings;
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("aay")) return strings;
    argument.beginArray();
    while (!argument.atEnd()) {
        QByteArray bytes;
        argument >> bytes;
        strings.push_back(byteString(bytes));
    }
    argument.endArray();
    return strings;
}

// "/" names no object.
std::optional<std::string> objectPath(const QVariant& value) {
    if (value.metaType() != QMetaType::fromType<QDBusObjectPath>()) return std::nullopt;
    const QString path = value.value<QDBusObjectPath>().path();
    if (path.isEmpty() || path == QLatin1String("/")) return std::nullopt;
    return path.toStdString();
}

bool flag(const QVariant& value) { return value.metaType() == QMetaType::fromType<bool>() && value.toBool(); }

UDisks2Block blockOf(const std::string& path, const Interfaces& interfaces) {
    const QVariantMap block = interfaces.value(UDisks2Interfaces::block);
    UDisks2Block result{.path = path,
                        .device = byteString(block.value(QStringLiteral("Device"))),
                        .preferredDevice = byteString(block.value(QStringLiteral("PreferredDevice"))),
                        .symlinks = byteStrings(block.value(QStringLiteral("Symlinks"))),
                        .deviceNumber = block.value(QStringLiteral("DeviceNumber")).toULongLong(),
                        .drive = objectPath(block.value(QStringLiteral("Drive"))),
                        .cryptoBackingDevice = objectPath(block.value(QStringLiteral("CryptoBackingDevice")))};
    if (interfaces.contains(UDisks2Interfaces::partition)) {
        result.partitionTable = objectPath(interfaces.value(UDisks2Interfaces::partition).value(QStringLiteral("Table")));
    }
    if (interfaces.contains(UDisks2Interfaces::fileSystem)) {
        result.mountPoints = byteStrings(interfaces.value(UDisks2Interfaces::fileSystem).value(QStringLiteral("MountPoints")));
    }
    result.isEncrypted = interfaces.contains(UDisks2Interfaces::encrypted);
    result.isLoop = interfaces.contains(UDisks2Interfaces::loop);
    result.isSwap = interfaces.contains(UDisks2Interfaces::swapspace);
    return result;
}

UDisks2Drive driveOf(const std::string& path, const QVariantMap& drive) {
    const QStringList media = drive.value(QStringLiteral("MediaCompatibility")).toStringList();
    return UDisks2Drive{.path = path,
                        .canPowerOff = flag(drive.value(QStringLiteral("CanPowerOff"))),
                        .isEjectable = flag(drive.value(QStringLiteral("Ejectable"))),
                        .isOptical = flag(drive.value(QStringLiteral("Optical"))) ||
                                     std::any_of(media.begin(), media.end(), [](const QString& medium) {
                                         return medium.startsWith(QLatin1String("optical"));
                                     })};
}

}  // namespace

UDisks2Objects readUDisks2Objects(const QDBusArgument& managedObjects) {
    UDisks2Objects objects;
    if (managedObjects.currentSignature() != QLatin1String("a{oa{sa{sv}}}")) return objects;
    managedObjects.beginMap();
    while (!managedObjects.atEnd()) {
        QDBusObjectPath path;
        Interfaces interfaces;
        managedObjects.beginMapEntry();
        managedObjects >> path >> interfaces;
        managedObjects.endMapEntry();
        if (interfaces.contains(UDisks2Interfaces::block)) objects.blocks.push_back(blockOf(path.path().toStdString(), interfaces));
        if (interfaces.contains(UDisks2Interfaces::drive)) {
            objects.drives.push_back(driveOf(path.path().toStdString(), interfaces.value(UDisks2Interfaces::drive)));
        }
    }
    managedObjects.endMap();
    return objects;
}

}  // namespace kestrix
