// Hostile input against a running server: XML that would exhaust the stack or the processor,
// framing that would smuggle a large body past the size limit, pipelined large requests, and
// connections that stay idle or send too slowly. Each must be refused or closed while ordinary
// calls go on being answered.
#include "SoapTestClient.h"
#include "TestServer.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpSocket>
#include <QTest>

#include <memory>

namespace {

using RawHttp::serviceHead;
using RawHttp::serviceRequest;

// A yanzheng envelope whose username element is given whole, so it can hold anything.
QByteArray yanzhengWith(const QByteArray &usernameElement)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
           "<yanzheng xmlns=\"http://tempuri.org/\">"
        + usernameElement + "<userpass>demo123</userpass></yanzheng></soap:Body></soap:Envelope>";
}

// The hqSys_pz envelope padded with blanks to about `size` bytes.
QByteArray paddedBody(qsizetype size)
{
    QByteArray body = SoapTestClient::envelope(QStringLiteral("hqSys_pz"), {});
    body.insert(body.indexOf("<soap:Body>"), QByteArray(size - body.size(), ' '));
    return body;
}

// Reads from the socket until `done` says the answer is in, the peer closes, or 10 s pass.
QByteArray readUntil(QTcpSocket &socket, const std::function<bool(const QByteArray &)> &done)
{
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (!done(answer) && clock.elapsed() < 10000) {
        if (socket.waitForReadyRead(100))
            answer += socket.readAll();
        else if (socket.state() != QAbstractSocket::ConnectedState)
            break;
    }
    return answer + socket.readAll();
}

QList<int> statusesOf(const QByteArray &answers)
{
    QList<int> statuses;
    for (qsizetype at = answers.indexOf("HTTP/1."); at >= 0;
         at = answers.indexOf("HTTP/1.", at + 1))
        statuses.append(RawHttp::statusOf(answers.mid(at)));
    return statuses;
}

bool closedByPeer(QTcpSocket &socket)
{
    socket.waitForReadyRead(0); // notices an end of stream
    socket.readAll();
    return socket.state() != QAbstractSocket::ConnectedState;
}

std::unique_ptr<QTcpSocket> connectTo(int port)
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
    if (!socket->waitForConnected(5000))
        QTest::qFail("cannot connect to the server", __FILE__, __LINE__);
    return socket;
}

} // namespace

class TestServerHostile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void deepNestingIsRefused();
    void nestedTextWithinTheLimitsIsRead();
    void manyAttributesAreRefusedAtOnce();
    void ambiguousFramingIsRefused_data();
    void ambiguousFramingIsRefused();
    void pipelinedLargeRequestsAreAllAnswered();
    void pipelinedSmallRequestsAreAllAnswered();
    void idleAndSlowConnectionsAreClosed();
    void connectionCapKeepsServing();

private:
    void verifyStillServing(TestServer &server);

    std::unique_ptr<TestServer> m_server;
};

void TestServerHostile::initTestCase()
{
    m_server = std::make_unique<TestServer>();
    QVERIFY2(m_server->isRunning(), qPrintable(m_server->errorText()));
}

void TestServerHostile::verifyStillServing(TestServer &server)
{
    QVERIFY(server.isRunning());
    SoapTestClient client(server.baseUrl());
    QCOMPARE(client.result(QStringLiteral("addition"),
                           {{QStringLiteral("i"), QStringLiteral("1")},
                            {QStringLiteral("j"), QStringLiteral("2")}}),
             QStringLiteral("3"));
}

void TestServerHostile::deepNestingIsRefused()
{
    const int depth = 50000;
    const QByteArray nested =
        QByteArray("<a>").repeated(depth) + "demo" + QByteArray("</a>").repeated(depth);
    const QByteArray answer = RawHttp::exchange(
        quint16(m_server->port()),
        serviceRequest("yanzheng", yanzhengWith("<username>" + nested + "</username>")), 10000);
    QCOMPARE(RawHttp::statusOf(answer), 400);
    verifyStillServing(*m_server);
}

void TestServerHostile::nestedTextWithinTheLimitsIsRead()
{
    // A parameter's text is all the text inside it, child elements included.
    const QByteArray answer = RawHttp::exchange(
        quint16(m_server->port()),
        serviceRequest("yanzheng", yanzhengWith("<username><b>de<i>m</i></b>o</username>")));
    QCOMPARE(RawHttp::statusOf(answer), 200);
    QCOMPARE(SoapTestClient::resultOf(RawHttp::bodyOf(answer), QStringLiteral("yanzheng")),
             QStringLiteral("True"));
}

void TestServerHostile::manyAttributesAreRefusedAtOnce()
{
    // ~130,000 distinct attributes on one element in a body just under 1 MiB.
    const QByteArray letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QByteArray attributes;
    attributes.reserve(130000 * 7);
    for (int n = 0; n < 130000; ++n) {
        attributes += ' ';
        attributes += letters.at(n % 52);
        attributes += letters.at(n / 52 % 52);
        attributes += letters.at(n / (52 * 52) % 52);
        attributes += "=''";
    }
    const QByteArray body = yanzhengWith("<username" + attributes + ">demo</username>");
    QVERIFY(body.size() < 1024 * 1024);

    auto hostile = connectTo(m_server->port());
    hostile->write(serviceRequest("yanzheng", body));
    QVERIFY(hostile->waitForBytesWritten(5000));
    // Another caller is answered meanwhile (within the client's generous 15 s), and the hostile
    // request gets its refusal.
    verifyStillServing(*m_server);
    const QByteArray answer =
        readUntil(*hostile, [](const QByteArray &a) { return a.contains("\r\n\r\n"); });
    QCOMPARE(RawHttp::statusOf(answer), 400);
}

void TestServerHostile::ambiguousFramingIsRefused_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("status");

    const QByteArray body = SoapTestClient::envelope(QStringLiteral("hqSys_pz"), {});
    const QByteArray length = "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    // Blank lines are what a lenient guard skips between requests while the HTTP layer keeps
    // them as body.
    QTest::newRow("two lengths, the last small")
        << serviceHead("hqSys_pz", "Content-Length: 200000000\r\nContent-Length: 10\r\n")
            + QByteArray("\r\n").repeated(300000)
        << 400;
    QTest::newRow("two equal lengths") << serviceHead("hqSys_pz", length + length) + body << 400;
    QTest::newRow("folded transfer encoding")
        << serviceHead("hqSys_pz", "Transfer-Encoding:\r\n chunked\r\n")
            + QByteArray::number(body.size(), 16) + "\r\n" + body + "\r\n0\r\n\r\n"
        << 400;
    QTest::newRow("folded other header")
        << serviceHead("hqSys_pz", length + "X-Note: a\r\n\tb\r\n") + body << 400;
    QTest::newRow("length and transfer encoding")
        << serviceHead("hqSys_pz", length + "Transfer-Encoding: chunked\r\n") + body << 411;
    QTest::newRow("signed length")
        << serviceHead("hqSys_pz", "Content-Length: +" + QByteArray::number(body.size()) + "\r\n")
            + body
        << 400;
    QTest::newRow("blank before the colon")
        << serviceHead("hqSys_pz", "Content-Length : " + QByteArray::number(body.size()) + "\r\n")
            + body
        << 400;
    QTest::newRow("line without a colon")
        << serviceHead("hqSys_pz", length + "garbage\r\n") + body << 400;
    QTest::newRow("blank lines before a request count as head")
        << QByteArray("\r\n").repeated(40000) + serviceHead("hqSys_pz", length) + body << 431;
    QTest::newRow("plain request") << serviceHead("hqSys_pz", length) + body << 200;
}

void TestServerHostile::ambiguousFramingIsRefused()
{
    QFETCH(QByteArray, request);
    QFETCH(int, status);
    const QByteArray answer = RawHttp::exchange(quint16(m_server->port()), request, 10000);
    QCOMPARE(RawHttp::statusOf(answer), status);
    verifyStillServing(*m_server);
}

void TestServerHostile::pipelinedLargeRequestsAreAllAnswered()
{
    auto socket = connectTo(m_server->port());
    socket->write(serviceRequest("hqSys_pz", paddedBody(300 * 1024))
                  + serviceRequest("hqSys_pz", paddedBody(700 * 1024))
                  + serviceRequest("hqSys_pz", paddedBody(500 * 1024)));
    const QByteArray answers =
        readUntil(*socket, [](const QByteArray &a) { return a.count("</soap:Envelope>") == 3; });
    QCOMPARE(statusesOf(answers), QList<int>({200, 200, 200}));
}

void TestServerHostile::pipelinedSmallRequestsAreAllAnswered()
{
    const int count = 300;
    const QByteArray one =
        serviceRequest("ifchangetable",
                       SoapTestClient::envelope(QStringLiteral("ifchangetable"),
                                                {{QStringLiteral("userdj"), QStringLiteral("1")}}));
    auto socket = connectTo(m_server->port());
    socket->write(one.repeated(count));
    const QByteArray answers = readUntil(
        *socket, [&](const QByteArray &a) { return a.count("</soap:Envelope>") == count; });
    QCOMPARE(statusesOf(answers), QList<int>(count, 200));
}

void TestServerHostile::idleAndSlowConnectionsAreClosed()
{
    TestServer server(true, {QStringLiteral("--idle-timeout"), QStringLiteral("1")});
    QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
    auto idle = connectTo(server.port());
    auto slowHead = connectTo(server.port());
    slowHead->write("POST /qzWebService.asmx HTTP/1.1\r\nHost: x\r\n");
    auto slowBody = connectTo(server.port());
    slowBody->write(serviceHead("hqSys_pz", "Content-Length: 500\r\n") + "<soap:");
    auto afterAnswer = connectTo(server.port());
    afterAnswer->write(
        serviceRequest("hqSys_pz", SoapTestClient::envelope(QStringLiteral("hqSys_pz"), {})));
    const QByteArray answer =
        readUntil(*afterAnswer, [](const QByteArray &a) { return a.contains("</soap:Envelope>"); });
    QCOMPARE(RawHttp::statusOf(answer), 200);

    for (QTcpSocket *socket : {idle.get(), slowHead.get(), slowBody.get(), afterAnswer.get()}) {
        QTRY_VERIFY_WITH_TIMEOUT(closedByPeer(*socket), 10000);
    }
    verifyStillServing(server);
}

void TestServerHostile::connectionCapKeepsServing()
{
    TestServer server(true, {QStringLiteral("--max-connections"), QStringLiteral("20")});
    QVERIFY2(server.isRunning(), qPrintable(server.errorText()));
    const QByteArray call =
        serviceRequest("hqSys_pz", SoapTestClient::envelope(QStringLiteral("hqSys_pz"), {}));
    const auto answeredOnce = [](const QByteArray &a) { return a.contains("</soap:Envelope>"); };
    // A client that has been answered once keeps its connection for the next call.
    auto regular = connectTo(server.port());
    regular->write(call);
    QCOMPARE(RawHttp::statusOf(readUntil(*regular, answeredOnce)), 200);

    std::vector<std::unique_ptr<QTcpSocket>> hogs;
    for (int i = 0; i < 60; ++i) {
        hogs.push_back(connectTo(server.port()));
        if (i % 2)
            hogs.back()->write("POST /qzWebService.asmx HTTP/1.1\r\nHost: x\r\n");
    }
    // Each new caller takes the place of the one that has waited longest.
    verifyStillServing(server);
    const auto open = [&] {
        int connected = 0;
        for (const auto &hog : hogs)
            connected += !closedByPeer(*hog);
        return connected;
    };
    QTRY_VERIFY_WITH_TIMEOUT(open() < 20, 10000);
    verifyStillServing(server);

    regular->write(call);
    QCOMPARE(RawHttp::statusOf(readUntil(*regular, answeredOnce)), 200);
}

QTEST_GUILESS_MAIN(TestServerHostile)
#include "tst_server_hostile.moc"
