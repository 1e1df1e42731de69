#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

/// A small HTTP server on 127.0.0.1 for download tests: it answers each path with a canned
/// answer, an unknown path with 404, and a TLS handshake with plain HTTP.
class HttpTestServer : public QObject
{
public:
    struct Answer
    {
        QByteArray head; ///< status line and headers, without the blank line after them
        QByteArray body;
        qsizetype sent = -1; ///< bytes of the body sent; -1 for all
        bool hold = false;   ///< the connection stays open after them
    };

    HttpTestServer()
    {
        if (!m_server.listen(QHostAddress::LocalHost))
            qFatal("test server: %s", qPrintable(m_server.errorString()));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }

    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }

    void serve(const QString &path, const Answer &answer) { m_answers[path] = answer; }

    /// 200 with the length announced.
    static Answer ok(const QByteArray &body)
    {
        return {"HTTP/1.1 200 OK\r\nContent-Type: application/zip\r\nContent-Length: " +
                    QByteArray::number(body.size()) + "\r\nConnection: close",
                body};
    }
    /// 200 without a length: the body ends where the connection closes.
    static Answer unannounced(const QByteArray &body)
    {
        return {"HTTP/1.1 200 OK\r\nContent-Type: application/zip\r\nConnection: close", body};
    }
    static Answer status(int code, const QByteArray &reason)
    {
        const QByteArray body = "<html>" + reason + "</html>";
        return {"HTTP/1.1 " + QByteArray::number(code) + ' ' + reason +
                    "\r\nContent-Type: text/html\r\nContent-Length: " +
                    QByteArray::number(body.size()) + "\r\nConnection: close",
                body};
    }
    static Answer redirect(const QByteArray &location)
    {
        return {"HTTP/1.1 302 Found\r\nLocation: " + location +
                    "\r\nContent-Length: 0\r\nConnection: close",
                {}};
    }

    int requests() const { return m_requests; }

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &request = m_pending[socket];
        request += socket->readAll();
        // A TLS handshake gets a plain answer, as from a server that speaks no TLS.
        if (request.startsWith('\x16')) {
            socket->write("HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            m_pending.remove(socket);
            return;
        }
        if (!request.contains("\r\n\r\n"))
            return;
        ++m_requests;
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        const Answer a = m_answers.value(path, status(404, "Not Found"));
        socket->write(a.head + "\r\n\r\n" + (a.sent < 0 ? a.body : a.body.left(a.sent)));
        m_pending.remove(socket);
        if (a.hold)
            socket->flush();
        else
            socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QMap<QString, Answer> m_answers;
    QMap<QTcpSocket *, QByteArray> m_pending;
    int m_requests = 0;
};
