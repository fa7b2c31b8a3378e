#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>

namespace kestrix {
class AppModel;
}

namespace kestrix::shell {

class LinkHandler;

// The app's object on the session bus, /com/orvane/Kestrix: what scripts, launchers and desktop
// shortcuts call. It answers once the model exists, so a caller that reaches it has a model.
class AutomationService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* serviceName = "com.orvane.Kestrix";
    static constexpr const char* objectPath = "/com/orvane/Kestrix";
    static constexpr const char* interfaceName = "com.orvane.Kestrix";
    static constexpr const char* noDriveError = "com.orvane.Kestrix.Error.NoDrive";

    AutomationService(AppModel& model, LinkHandler& links, std::function<void()> activate,
                      QObject* parent = nullptr);

    // Puts the object on the connection; false when the path is taken.
    bool registerOn(QDBusConnection connection);

    AppModel& model() { return model_; }
    LinkHandler& links() { return links_; }
    void activate() { activate_(); }
    QDBusConnection connection() const { return connection_; }
    // Answer the message later, once the ejects are done; with the outcome, the reply carries
    // the counts after the sentence.
    void ejectAll(const QDBusMessage& message, bool withOutcome);
    void ejectDrive(const QString& name, const QDBusMessage& message, bool withOutcome);

private:
    void announceAttentionCount(int count);

    AppModel& model_;
    LinkHandler& links_;
    std::function<void()> activate_;
    QDBusConnection connection_;
};

// com.orvane.Kestrix: the two scripted actions, links, and the state of the drives.
class KestrixAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.orvane.Kestrix")
    Q_PROPERTY(int AttentionCount READ attentionCount)
public:
    explicit KestrixAdaptor(AutomationService* service);
    int attentionCount() const;

public slots:
    // Lists the drives again, then ejects them all; the summary sentence.
    QString EjectAllDrives(const QDBusMessage& message);
    // Ejects the first drive the name designates; its sentence, or the NoDrive error.
    QString EjectDrive(const QString& name, const QDBusMessage& message);
    // The same two, with how it went for callers that act on it: whether the drive was
    // ejected; how many drives were ejected and how many were tried.
    QString EjectAllDrivesWithOutcome(const QDBusMessage& message, uint& ejected, uint& tried);
    QString EjectDriveWithOutcome(const QString& name, const QDBusMessage& message, bool& ejected);
    void OpenURL(const QString& link);
    QString Status();

private:
    AutomationService* service_;
};

// org.freedesktop.Application, for desktops that start the app by D-Bus activation.
class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    explicit ApplicationAdaptor(AutomationService* service);

public slots:
    void Activate(const QVariantMap& platformData);
    void Open(const QStringList& uris, const QVariantMap& platformData);
    void ActivateAction(const QString& name, const QVariantList& parameters, const QVariantMap& platformData);

private:
    AutomationService* service_;
};

}  // namespace kestrix::shell
