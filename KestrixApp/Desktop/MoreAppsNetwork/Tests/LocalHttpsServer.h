#pragma once

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QTemporaryDir>
#include <QThread>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class QSslServer;

namespace kestrix::desktop::test {

// An HTTPS server on 127.0.0.1 with a certificate made for this test alone, answering on its
// own thread so that a blocking client can be tested from the test's thread.
class LocalHttpsServer {
public:
    // What the server answers to every request; `status` 0 means it never answers.
    struct Answer {
        int status = 200;
        std::vector<std::pair<QByteArray, QByteArray>> headers;
        QByteArray body;
    };

    struct Request {
        QByteArray method;
        QByteArray path;
        std::map<QByteArray, QByteArray> headers;  // names in lower case
    };

    LocalHttpsServer();
    ~LocalHttpsServer();
    LocalHttpsServer(const LocalHttpsServer&) = delete;
    LocalHttpsServer& operator=(const LocalHttpsServer&) = delete;

    // Why the server could not start (no openssl, no TLS backend), or nothing.
    const std::optional<std::string>& failure() const { return failure_; }

    // "https://127.0.0.1:<port>" followed by the path; "localhost" names the same server by
    // another host.
    std::string url(const std::string& path, const std::string& host = "127.0.0.1") const;
    const QSslCertificate& certificate() const { return certificate_; }

    void answer(Answer answer);
    std::vector<Request> requests() const;

private:
    void serve();

    QTemporaryDir folder_;
    QSslCertificate certificate_;
    QSslKey key_;
    std::optional<std::string> failure_;
    quint16 port_ = 0;
    QThread thread_;
    QSslServer* server_ = nullptr;  // lives on thread_
    mutable std::mutex mutex_;
    Answer answer_;
    std::vector<Request> requests_;
};

}  // namespace kestrix::desktop::test
