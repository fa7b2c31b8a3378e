#include "KestrixApp/Desktop/MoreAppsNetwork/QtMoreAppsTransport.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "MoreAppsKit/MoreAppsValidator.h"

namespace kestrix::desktop {

namespace {

using moreapps::MoreAppsRequest;
using moreapps::MoreAppsResponse;
using moreapps::MoreAppsTransportError;
using moreapps::MoreAppsTransportResult;

// One byte more than a feed may have: enough for the loader to see that it is too large.
constexpr qint64 bodyLimit = static_cast<qint64>(moreapps::MoreAppsValidator::maximumBytes) + 1;

QNetworkRequest networkRequest(const QUrl& url, const MoreAppsRequest& request,
                               const QList<QSslCertificate>& trustedAuthorities) {
    QNetworkRequest result(url);
    for (const auto& [name, value] : request.headers) {
        result.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
    }
    result.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    result.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                        request.ignoresLocalCache ? QNetworkRequest::AlwaysNetwork : QNetworkRequest::PreferNetwork);
    result.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    result.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    result.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    if (!trustedAuthorities.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(trustedAuthorities);
        result.setSslConfiguration(tls);
    }
    return result;
}

MoreAppsResponse response(QNetworkReply& reply, const QByteArray& body) {
    MoreAppsResponse result{.url = reply.url().toString(QUrl::FullyEncoded).toStdString(),
                            .status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                            .headers = {},
                            .body = body.toStdString()};
    for (const auto& [name, value] : reply.rawHeaderPairs()) result.headers.emplace_back(name.toStdString(), value.toStdString());
    return result;
}

}  // namespace

QtMoreAppsTransport::QtMoreAppsTransport(QList<QSslCertificate> trustedAuthorities)
    : trustedAuthorities_(std::move(trustedAuthorities)) {}

MoreAppsTransportResult QtMoreAppsTransport::operator()(const MoreAppsRequest& request) const {
    const QUrl url(QString::fromStdString(request.url), QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty()) {
        return MoreAppsTransportError{"not an https link: " + request.url};
    }

    QNetworkAccessManager manager;
    QEventLoop loop;
    const std::unique_ptr<QNetworkReply> reply(manager.get(networkRequest(url, request, trustedAuthorities_)));
    QByteArray body;
    std::optional<std::string> stopped;
    const auto stop = [&](const char* why) {
        stopped.emplace(why);
        reply->abort();
    };
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        body += reply->read(bodyLimit - body.size() + 1);
        if (body.size() > bodyLimit) stop("the answer is larger than any feed");
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] { stop("no answer in time"); });
    // A time-out that is not a number or negative gives no time at all, rather than forever.
    deadline.start(std::chrono::milliseconds(static_cast<long long>(std::max(0.0, request.timeoutSeconds) * 1000)));
    if (!reply->isFinished()) loop.exec();

    if (stopped) return MoreAppsTransportError{*stopped};
    body += reply->read(bodyLimit - body.size() + 1);
    if (body.size() > bodyLimit) return MoreAppsTransportError{"the answer is larger than any feed"};
    // An error status still is an answer; only a missing one (no connection, TLS) is a failure.
    if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
        return MoreAppsTransportError{reply->errorString().toStdString()};
    }
    return response(*reply, body);
}

}  // namespace kestrix::desktop
