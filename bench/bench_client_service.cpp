// Client-side figures of the service layer:
//  1. result-document parse throughput on a 10,000-row alert answer (MB/s of answer text);
//  2. per-call overhead on loopback against a peer that answers at once with a canned envelope
//     (median and 90th percentile), i.e. the client's own cost per call.
#include "service/ResultDocument.h"
#include "service/ServiceSettings.h"
#include "service/WebService.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {
QString alertAnswer(int rows)
{
    QString text = QStringLiteral("<NewDataSet>\r\n");
    for (int i = rows; i > 0; --i) {
        text += QStringLiteral(
                    "  <Table>\r\n    <id>%1</id>\r\n    <XinXiDJ>3</XinXiDJ>\r\n"
                    "    <nowtime>2026-12-08T09:%2:%3.517+08:00</nowtime>\r\n"
                    "    <gupiaodaima>60%4</gupiaodaima>\r\n    <jg>%5.88</jg>\r\n"
                    "    <czfs>买入</czfs>\r\n    "
                    "<czly>放量突破年线，主力资金连续三日净流入，短线关注</czly>\r\n  </Table>\r\n")
                    .arg(i)
                    .arg(i % 60, 2, 10, QLatin1Char('0'))
                    .arg(i % 60, 2, 10, QLatin1Char('0'))
                    .arg(i % 10000, 4, 10, QLatin1Char('0'))
                    .arg(10 + i % 90);
    }
    return text + QStringLiteral("</NewDataSet>");
}

void benchParse()
{
    const QString answer = alertAnswer(10000);
    const double megabytes = answer.toUtf8().size() / 1e6;
    QList<double> seconds;
    int rows = 0;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer clock;
        clock.start();
        const ResultDocument doc = ResultDocument::parse(answer);
        rows = doc.rowCount();
        seconds << clock.nsecsElapsed() / 1e9;
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("result document parse: %d rows, %.2f MB (UTF-8), median %.1f ms -> %.0f MB/s\n",
                rows, megabytes, seconds[seconds.size() / 2] * 1000,
                megabytes / seconds[seconds.size() / 2]);
}

// Answers every request at once with the same envelope, from its own thread.
class InstantPeer : public QThread
{
public:
    quint16 port = 0;
    QAtomicInt ready = 0;

    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        port = server.serverPort();
        ready = 1;
        const QByteArray body =
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
            "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
            "<soap:Body><hqdlsjResponse xmlns=\"http://tempuri.org/\"><hqdlsjResult>2026-12-08 "
            "09:30:00.000</hqdlsjResult>"
            "</hqdlsjResponse></soap:Body></soap:Envelope>";
        const QByteArray response =
            "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: "
            + QByteArray::number(body.size()) + "\r\n\r\n" + body;
        while (!isInterruptionRequested()) {
            if (!server.waitForNewConnection(100))
                continue;
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                QByteArray request;
                while (socket->waitForReadyRead(1000)) {
                    request += socket->readAll();
                    const qsizetype end = request.indexOf("\r\n\r\n");
                    if (end >= 0
                        && request.size() >= end + 4
                                + request.mid(request.indexOf("Content-Length:") + 15, 8)
                                      .trimmed()
                                      .split('\r')
                                      .first()
                                      .toInt())
                        break;
                }
                socket->write(response);
                socket->waitForBytesWritten(1000);
                socket->disconnectFromHost();
                if (socket->state() != QAbstractSocket::UnconnectedState)
                    socket->waitForDisconnected(1000);
                delete socket;
            }
        }
    }
};

void benchCallOverhead()
{
    InstantPeer peer;
    peer.start();
    while (!peer.ready)
        QThread::msleep(1);
    ServiceSettings settings;
    settings.baseAddress = QStringLiteral("http://127.0.0.1:%1/").arg(peer.port);
    settings.serviceNamespace = QStringLiteral("http://tempuri.org/");
    RegisterWebServiceSoap(settings);

    QList<double> ms;
    for (int i = 0; i < 1100; ++i) {
        QElapsedTimer clock;
        clock.start();
        NewServiceProxy()->hqdlsj(QStringLiteral("1"));
        if (i >= 100) // the first calls warm up the network stack
            ms << clock.nsecsElapsed() / 1e6;
    }
    peer.requestInterruption();
    peer.wait();
    std::sort(ms.begin(), ms.end());
    std::printf("call overhead on loopback: %lld calls, median %.3f ms, p90 %.3f ms\n",
                qlonglong(ms.size()), ms[ms.size() / 2], ms[ms.size() * 9 / 10]);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchParse();
    benchCallOverhead();
    return 0;
}
