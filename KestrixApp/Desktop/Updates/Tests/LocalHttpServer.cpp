#include "LocalHttpServer.h"

#include <QTcpSocket>
#include <QTimer>

LocalHttpServer::LocalHttpServer() {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (auto* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl LocalHttpServer::url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
}

void LocalHttpServer::serve(QTcpSocket* socket) {
    if (!socket->canReadLine()) return;
    const auto requestLine = QString::fromLatin1(socket->readLine()).trimmed().split(u' ');
    if (requestLine.size() < 2) return socket->disconnectFromHost();
    socket->readAll();
    const auto& method = requestLine[0];
    const auto& path = requestLine[1];
    requests_.append(method + u' ' + path);

    const auto found = answers_.constFind(path);
    const Answer answer = found == answers_.constEnd() ? Answer{.status = 404} : *found;
    if (answer.silent) return;
    const bool head = method == u"HEAD";
    const int status = head ? answer.headStatus.value_or(answer.status) : answer.status;
    QByteArray response = "HTTP/1.1 " + QByteArray::number(status) + " Answer\r\nContent-Type: application/xml\r\n"
                          "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n\r\n";
    if (head || answer.dripMilliseconds == 0) {
        if (!head) response += answer.body;
        socket->write(response);
        socket->disconnectFromHost();
        return;
    }
    socket->write(response);
    auto* drip = new QTimer(socket);
    connect(drip, &QTimer::timeout, socket, [socket, drip, body = answer.body, sent = qsizetype{0}]() mutable {
        if (sent == body.size()) {
            drip->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(body.mid(sent++, 1));
    });
    drip->start(answer.dripMilliseconds);
}
