#include "KestrixApp/Shell/AutomationService.h"

#include <QDBusConnection>
#include <QTimer>

#include "KestrixApp/Model/AppModel.h"
#include "KestrixApp/Shell/DriveStatus.h"
#include "KestrixApp/Shell/LinkHandler.h"
#include "KestrixApp/Shell/NoDriveText.h"
#include "KestrixKit/Flow/ReportText.h"

namespace kestrix::shell {

namespace {

// The drives are listed again before an Eject All from outside, and given this long to settle.
constexpr int settleMilliseconds = 300;

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

AutomationService::AutomationService(AppModel& model, LinkHandler& links, std::function<void()> activate,
                                     QObject* parent)
    : QObject(parent), model_(model), links_(links), activate_(std::move(activate)),
      connection_(QDBusConnection::sessionBus()) {
    new KestrixAdaptor(this);
    new ApplicationAdaptor(this);
    connect(&model_, &AppModel::attentionCountChanged, this, &AutomationService::announceAttentionCount);
}

bool AutomationService::registerOn(QDBusConnection connection) {
    connection_ = connection;
    return connection_.registerObject(objectPath, this);
}

void AutomationService::announceAttentionCount(int count) {
    auto signal = QDBusMessage::createSignal(objectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << QString(interfaceName) << QVariantMap{{"AttentionCount", count}} << QStringList{};
    connection_.send(signal);
}

KestrixAdaptor::KestrixAdaptor(AutomationService* service) : QDBusAbstractAdaptor(service), service_(service) {}

int KestrixAdaptor::attentionCount() const { return service_->model().attentionCount(); }

QString KestrixAdaptor::EjectAllDrives(const QDBusMessage& message) {
    message.setDelayedReply(true);
    auto& model = service_->model();
    model.refresh();
    // Ejects may wait for apps to quit and for a password: the reply goes out when they are done.
    QTimer::singleShot(settleMilliseconds, &model, [&model, message, connection = service_->connection()] {
        model.ejectAll(false, [message, connection](std::vector<DriveReport> reports) mutable {
            connection.send(message.createReply(fromUtf8(ReportText::ejectAllSummary(reports))));
        });
    });
    return {};
}

QString KestrixAdaptor::EjectDrive(const QString& name, const QDBusMessage& message) {
    message.setDelayedReply(true);
    const std::string asked = name.toStdString();
    service_->model().ejectDriveNamed(asked, [message, asked, connection = service_->connection()](
                                                 std::optional<DriveReport> report) mutable {
        const auto reply = report ? message.createReply(fromUtf8(ReportText::message(*report)))
                                  : message.createErrorReply(AutomationService::noDriveError,
                                                             fromUtf8(noDriveText(asked)));
        connection.send(reply);
    });
    return {};
}

void KestrixAdaptor::OpenURL(const QString& link) { service_->links().handle({link.toStdString()}); }

QString KestrixAdaptor::Status() { return fromUtf8(driveStatusJson(service_->model())); }

ApplicationAdaptor::ApplicationAdaptor(AutomationService* service) : QDBusAbstractAdaptor(service), service_(service) {}

void ApplicationAdaptor::Activate(const QVariantMap&) { service_->activate(); }

void ApplicationAdaptor::Open(const QStringList& uris, const QVariantMap&) {
    std::vector<std::string> links;
    for (const auto& uri : uris) links.push_back(uri.toStdString());
    service_->links().handle(links);
}

void ApplicationAdaptor::ActivateAction(const QString& name, const QVariantList&, const QVariantMap&) {
    if (name == "eject-all") service_->model().ejectAll(true);
}

}  // namespace kestrix::shell
