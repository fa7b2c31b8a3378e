// A stand-in KDE app for the quitting tests: owns the bus name given as its first argument on
// $DBUS_SESSION_BUS_ADDRESS and exports its application object at /MainApplication, as KDE's
// D-Bus service helper does, so that its quit() slot quits it. It has no window.
#include <QCoreApplication>
#include <QDBusConnection>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return 2;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/MainApplication"), &app, QDBusConnection::ExportAllSlots)) return 1;
    if (!bus.registerService(QString::fromLocal8Bit(argv[1]))) return 1;
    return app.exec();
}
