#include "KestrixApp/Shell/AutomationService.h"

#include <QDBusConnection>
#include <QTimer>
#include <algorithm>

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

void AutomationService::ejectAll(const QDBusMessage& message, bool withOutcome) {
    message.setDelayedReply(true);
    // Calls that come while the app starts wait for its first listing.
    model_.whenListed([this, message, withOutcome] {
        model_.refresh();
        // Ejects may wait for apps to quit and for a password: the reply goes out when they are done.
        QTimer::singleShot(settleMilliseconds, &model_, [this, message, withOutcome, connection = connection_] {
            model_.ejectAll(false, [message, withOutcome, connection](std::vector<DriveReport> reports) mutable {
                QVariantList answer{fromUtf8(ReportText::ejectAllSummary(reports))};
                if (withOutcome) {
                    const auto ejected = std::count_if(reports.begin(), reports.end(),
                                                       [](const DriveReport& report) { return report.verdict.isDone(); });
                    answer << static_cast<uint>(ejected) << static_cast<uint>(reports.size());
                }
                connection.send(message.createReply(answer));
            });
        });
    });
}

void AutomationService::ejectDrive(const QString& name, const QDBusMessage& message, bool withOutcome) {
    message.setDelayedReply(true);
    const std::string asked = name.toStdString();
    model_.whenListed([this, message, asked, withOutcome] {
        model_.ejectDriveNamed(asked, [message, asked, withOutcome,
                                       connection = connection_](std::optional<DriveReport> report) mutable {
            if (!report) {
                connection.send(message.createErrorReply(noDriveError, fromUtf8(noDriveText(asked))));
                return;
            }
            QVariantList answer{fromUtf8(ReportText::message(*report))};
            if (withOutcome) answer << report->verdict.isDone();
            connection.send(message.createReply(answer));
        });
    });
}

QString KestrixAdaptor::EjectAllDrives(const QDBusMessage& message) {
    service_->ejectAll(message, false);
    return {};
}

QString KestrixAdaptor::EjectDrive(const QString& name, const QDBusMessage& message) {
    service_->ejectDrive(name, message, false);
    return {};
}

QString KestrixAdaptor::EjectAllDrivesWithOutcome(const QDBusMessage& message, uint&, uint&) {
    service_->ejectAll(message, true);
    return {};
}

QString KestrixAdaptor::EjectDriveWithOutcome(const QString& name, const QDBusMessage& message, bool&) {
    service_->ejectDrive(name, message, true);
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
    if (name != "eject-all") return;
    auto& model = service_->model();
    model.whenListed([&model] { model.ejectAll(true); });
}

}  // namespace kestrix::shell
