#include "LocalHttpsServer.h"

#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslServer>
#include <QSslSocket>

namespace kestrix::desktop::test {

namespace {

QByteArray reason(int status) {
    switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 404: return "Not Found";
    default: return "Status";
    }
}

std::optional<LocalHttpsServer::Request> parsedRequest(const QByteArray& head) {
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() != 3) return std::nullopt;
    LocalHttpsServer::Request request{.method = requestLine[0], .path = requestLine[1], .headers = {}};
    for (qsizetype index = 1; index < lines.size(); ++index) {
        const qsizetype colon = lines[index].indexOf(':');
        if (colon > 0) request.headers[lines[index].left(colon).trimmed().toLower()] = lines[index].mid(colon + 1).trimmed();
    }
    return request;
}

}  // namespace

LocalHttpsServer::LocalHttpsServer() {
    if (!QSslSocket::supportsSsl()) {
        failure_ = "Qt has no TLS backend here";
        return;
    }
    // A key and certificate for this server alone, valid for both of its names.
    QProcess openssl;
    openssl.setWorkingDirectory(folder_.path());
    openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                              "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1",
                              "-days", "1", "-keyout", "key.pem", "-out", "cert.pem"});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
        failure_ = "openssl could not make a test certificate";
        return;
    }
    const auto certificates = QSslCertificate::fromPath(folder_.filePath("cert.pem"));
    QFile keyFile(folder_.filePath("key.pem"));
    if (certificates.isEmpty() || !keyFile.open(QIODevice::ReadOnly)) {
        failure_ = "the test certificate could not be read";
        return;
    }
    certificate_ = certificates.first();
    key_ = QSslKey(&keyFile, QSsl::Ec);

    server_ = new QSslServer;
    server_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, server_, &QObject::deleteLater);
    thread_.start();
    QMetaObject::invokeMethod(
        server_,
        [this] {
            QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
            tls.setLocalCertificate(certificate_);
            tls.setPrivateKey(key_);
            tls.setPeerVerifyMode(QSslSocket::VerifyNone);
            server_->setSslConfiguration(tls);
            QObject::connect(server_, &QTcpServer::pendingConnectionAvailable, server_, [this] { serve(); });
            if (server_->listen(QHostAddress::LocalHost)) port_ = server_->serverPort();
        },
        Qt::BlockingQueuedConnection);
    if (port_ == 0) failure_ = "the test server could not listen on 127.0.0.1";
}

LocalHttpsServer::~LocalHttpsServer() {
    thread_.quit();
    thread_.wait();
}

std::string LocalHttpsServer::url(const std::string& path, const std::string& host) const {
    return "https://" + host + ":" + std::to_string(port_) + path;
}

void LocalHttpsServer::answer(Answer answer) {
    const std::lock_guard lock(mutex_);
    answer_ = std::move(answer);
}

std::vector<LocalHttpsServer::Request> LocalHttpsServer::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

void LocalHttpsServer::serve() {
    while (server_->hasPendingConnections()) {
        auto* socket = qobject_cast<QSslSocket*>(server_->nextPendingConnection());
        if (socket == nullptr) continue;
        auto received = std::make_shared<QByteArray>();
        QObject::connect(socket, &QSslSocket::readyRead, socket, [this, socket, received] {
            *received += socket->readAll();
            const qsizetype end = received->indexOf("\r\n\r\n");
            if (end < 0) return;
            const auto request = parsedRequest(received->left(end));
            received->clear();
            Answer answer;
            {
                const std::lock_guard lock(mutex_);
                if (request) requests_.push_back(*request);
                answer = answer_;
            }
            if (answer.status == 0) return;
            QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.status) + " " + reason(answer.status) + "\r\n";
            for (const auto& [name, value] : answer.headers) reply += name + ": " + value + "\r\n";
            reply += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n\r\n";
            socket->write(reply + answer.body);
            socket->disconnectFromHost();
        });
    }
}

}  // namespace kestrix::desktop::test
