// Hostile traffic for bench/server_load: idle connections, slow senders and oversize bodies
// against a server on 127.0.0.1, for a bounded time, reopening whatever the server closes.
//
//   bench_server_load_hostile PORT SECONDS [IDLE [SLOW [OVERSIZE]]]
//
// Prints what it did and how often the server closed each kind of connection.
//
//   bench_server_load_hostile PORT --password-flood COUNT
//
// Fails ten password checks (the server's back-off then delays checks from this address), then
// sends COUNT checks of almost 1 MiB each, 50 connections at a time, closing each connection
// once its request is sent; prints how many were answered before their connection closed.
#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>

namespace {

enum class Kind { Idle, Slow, Oversize };

struct Tally
{
    int opened = 0;
    int closedByServer = 0;
};

const QByteArray SlowHead = "POST /qzWebService.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                            "Content-Type: text/xml; charset=\"utf-8\"\r\n"
                            "SOAPAction: \"http://tempuri.org/ifchangetable\"\r\n"
                            "X-Slow: ";
const QByteArray OversizeHead = "POST /qzWebService.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                "Content-Type: text/xml; charset=\"utf-8\"\r\n"
                                "Content-Length: 4000000\r\n\r\n";

class HostileClients final : public QObject
{
public:
    HostileClients(quint16 port, int seconds) : m_port(port)
    {
        QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
        // Slow senders trickle one byte of an endless header every 200 ms.
        connect(&m_trickle, &QTimer::timeout, this, [this] {
            for (QTcpSocket *socket : std::as_const(m_slow))
                socket->write("x");
        });
        m_trickle.start(200);
    }

    void open(Kind kind)
    {
        auto *socket = new QTcpSocket(this);
        ++m_tally[int(kind)].opened;
        connect(socket, &QTcpSocket::connected, socket, [socket, kind] {
            if (kind == Kind::Slow)
                socket->write(SlowHead);
            if (kind == Kind::Oversize)
                socket->write(OversizeHead + QByteArray(256 * 1024, ' '));
        });
        connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket, kind] {
            ++m_tally[int(kind)].closedByServer;
            m_slow.removeOne(socket);
            socket->deleteLater();
            open(kind); // keep the pressure up
        });
        if (kind == Kind::Slow)
            m_slow.append(socket);
        socket->connectToHost(QHostAddress::LocalHost, m_port);
    }

    void report() const
    {
        const char *names[] = {"idle", "slow sender", "oversize body"};
        for (int k = 0; k < 3; ++k)
            std::printf("hostile %s connections: %d opened, %d closed by the server\n", names[k],
                        m_tally[k].opened, m_tally[k].closedByServer);
    }

private:
    quint16 m_port;
    QTimer m_trickle;
    QList<QTcpSocket *> m_slow;
    Tally m_tally[3];
};

QByteArray passwordCheck(const QByteArray &name)
{
    const QByteArray body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
        "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><yanzheng "
        "xmlns=\"http://tempuri.org/\"><username>"
        + name + "</username><userpass>guess</userpass></yanzheng></soap:Body></soap:Envelope>";
    return "POST /qzWebService.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\n"
           "Content-Type: text/xml; charset=\"utf-8\"\r\n"
           "SOAPAction: \"http://tempuri.org/yanzheng\"\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// Sends the request and waits for the answer (true) or the connection's end.
bool exchange(quint16 port, const QByteArray &request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
        return false;
    socket.write(request);
    QByteArray answer;
    while (!answer.contains("</soap:Envelope>") && socket.waitForReadyRead(10000))
        answer += socket.readAll();
    return answer.contains("</soap:Envelope>");
}

int passwordFlood(quint16 port, int count)
{
    for (int failure = 0; failure < 10; ++failure) {
        if (!exchange(port, passwordCheck("nobody")))
            return 1;
    }
    const QByteArray flood = passwordCheck(QByteArray(1000 * 1000, 'x'));
    int answered = 0;
    for (int sent = 0; sent < count;) {
        QList<QTcpSocket *> batch;
        for (int i = 0; i < 50 && sent < count; ++i, ++sent) {
            auto *socket = new QTcpSocket;
            socket->connectToHost(QHostAddress::LocalHost, port);
            batch.append(socket);
        }
        for (QTcpSocket *socket : std::as_const(batch)) {
            if (socket->waitForConnected(5000))
                socket->write(flood);
        }
        for (QTcpSocket *socket : std::as_const(batch)) {
            while (socket->bytesToWrite() > 0 && socket->waitForBytesWritten(5000)) { }
            answered += socket->waitForReadyRead(0) && socket->readAll().contains("HTTP/1.1 200");
            socket->abort();
            delete socket;
        }
    }
    std::printf("password flood: %d checks of 1 MB sent, %d answered before their connection "
                "closed\n",
                count, answered);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(2) == u"--password-flood")
        return passwordFlood(quint16(args.at(1).toUInt()), qBound(1, args.at(3).toInt(), 100000));
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s PORT SECONDS [IDLE [SLOW [OVERSIZE]]]\n", argv[0]);
        return 2;
    }
    const auto count = [&](int index, int fallback) {
        return qBound(0, args.value(index, QString::number(fallback)).toInt(), 2000);
    };
    HostileClients clients(quint16(args.at(1).toUInt()), qBound(1, args.at(2).toInt(), 600));
    for (int i = 0; i < count(3, 300); ++i)
        clients.open(Kind::Idle);
    for (int i = 0; i < count(4, 50); ++i)
        clients.open(Kind::Slow);
    for (int i = 0; i < count(5, 4); ++i)
        clients.open(Kind::Oversize);
    const int status = app.exec();
    clients.report();
    return status;
}
