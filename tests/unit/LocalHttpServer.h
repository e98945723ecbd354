#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

// A tiny HTTP/1.1 server on 127.0.0.1 for tests. The handler turns a method and
// a path into a whole raw answer; an empty one means never answering. Answers
// wait delayMs, so that requests overlap; `load` counts the requests waiting
// for their answer, and forgets those whose client hung up; lastHead keeps the
// request line and headers of the latest request.
class LocalHttpServer : public QTcpServer
{
public:
    using Handler = std::function<QByteArray(const QByteArray &method, const QByteArray &path)>;
    struct Load
    {
        int now = 0, most = 0;
    };

    LocalHttpServer(Handler handler, Load *load, int delayMs = 0)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [=, this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [=, this] {
                    const qsizetype end =
                        socket->peek(socket->bytesAvailable()).indexOf("\r\n\r\n");
                    if (end < 0)
                        return;
                    lastHead = socket->read(end + 4);
                    const QList<QByteArray> words = lastHead.split(' ');
                    waiting(socket, load, 1);
                    QTimer::singleShot(delayMs, socket, [=] {
                        const QByteArray answer = handler(words.value(0), words.value(1));
                        if (!answer.isEmpty() && socket->write(answer) > 0)
                            waiting(socket, load, -1);
                    });
                });
                connect(socket, &QTcpSocket::disconnected, socket, [=] {
                    waiting(socket, load, -socket->property("waiting").toInt());
                    socket->deleteLater();
                });
            }
        });
    }
    QString url(const char *path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(QLatin1String(path));
    }
    QByteArray lastHead;

private:
    static void waiting(QTcpSocket *socket, Load *load, int change)
    {
        socket->setProperty("waiting", socket->property("waiting").toInt() + change);
        load->most = qMax(load->most, load->now += change);
    }
};
