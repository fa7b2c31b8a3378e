#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTcpServer>
#include <QUrl>
#include <optional>

// A web server on 127.0.0.1 for the update tests, so that no request leaves the machine. Each
// path answers with a fixed status and body, or never answers at all.
class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        // HEAD requests get this status when set (a server that refuses HEAD).
        std::optional<int> headStatus;
        bool silent = false;
        // Sends the body one byte at a time, each this long after the one before.
        int dripMilliseconds = 0;
    };

    LocalHttpServer();

    void answer(const QString& path, Answer answer) { answers_[path] = std::move(answer); }
    QUrl url(const QString& path) const;
    // "HEAD /feed.xml", "GET /feed.xml", … in the order they arrived.
    const QStringList& requests() const { return requests_; }

private:
    void serve(QTcpSocket* socket);

    QTcpServer server_;
    QMap<QString, Answer> answers_;
    QStringList requests_;
};
