#include "KestrixApp/Desktop/Updates/FeedRequests.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace kestrix::desktop {

namespace {

constexpr qint64 largestFeed = 4 * 1024 * 1024;

QNetworkRequest request(const QUrl& feed, std::chrono::milliseconds timeout) {
    QNetworkRequest request(feed);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(static_cast<int>(timeout.count()));
    return request;
}

// Nothing when the request failed before any HTTP answer (or the address was not HTTP at all).
std::optional<int> httpStatus(const QNetworkReply& reply) {
    const auto status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) return std::nullopt;
    return status.toInt();
}

}  // namespace

void probe(QNetworkAccessManager& network, const QUrl& feed, std::chrono::milliseconds timeout, QObject* context,
           std::function<void(ProbeResult)> done) {
    auto* reply = network.head(request(feed, timeout));
    QObject::connect(reply, &QNetworkReply::finished, context, [reply, done = std::move(done)] {
        reply->deleteLater();
        done(probeResult(httpStatus(*reply)));
    });
}

void download(QNetworkAccessManager& network, const QUrl& feed, std::chrono::milliseconds timeout, QObject* context,
              std::function<void(std::optional<QByteArray>)> done) {
    auto* reply = network.get(request(feed, timeout));
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > largestFeed) reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, context, [reply, done = std::move(done)] {
        reply->deleteLater();
        const auto status = httpStatus(*reply);
        const bool answered = reply->error() == QNetworkReply::NoError && status && *status >= 200 && *status <= 299;
        done(answered ? std::optional(reply->readAll()) : std::nullopt);
    });
}

}  // namespace kestrix::desktop
