#include "KestrixApp/Desktop/Updates/FeedRequests.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <memory>

namespace kestrix::desktop {

namespace {

constexpr qint64 largestFeed = 4 * 1024 * 1024;

QNetworkRequest request(const QUrl& feed, std::chrono::milliseconds timeout) {
    QNetworkRequest request(feed);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(static_cast<int>(timeout.count()));
    return request;
}

// The transfer timeout starts again with every byte, so a server sending one byte every few
// seconds would hold the check (and every check after it) for ever: the whole exchange gets
// the same time once more at most.
void boundInTime(QNetworkReply* reply, std::chrono::milliseconds timeout) {
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline->start(2 * timeout);
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
    boundInTime(reply, timeout);
    QObject::connect(reply, &QNetworkReply::finished, context, [reply, done = std::move(done)] {
        reply->deleteLater();
        done(probeResult(httpStatus(*reply)));
    });
}

void download(QNetworkAccessManager& network, const QUrl& feed, std::chrono::milliseconds timeout, QObject* context,
              std::function<void(std::optional<QByteArray>)> done) {
    auto* reply = network.get(request(feed, timeout));
    boundInTime(reply, timeout);
    // The body as it arrives (decoded), counted here: the progress the reply reports counts the
    // bytes on the wire, and a fast body is all there before any report.
    auto body = std::make_shared<QByteArray>();
    const auto take = [reply, body] {
        body->append(reply->read(largestFeed + 1 - body->size()));
        return body->size() <= largestFeed;
    };
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, take] {
        if (!take()) reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, context, [reply, take, body, done = std::move(done)] {
        reply->deleteLater();
        const auto status = httpStatus(*reply);
        const bool answered = reply->error() == QNetworkReply::NoError && status && *status >= 200 && *status <= 299;
        const bool whole = take();
        done(answered && whole ? std::optional(*body) : std::nullopt);
    });
}

}  // namespace kestrix::desktop
